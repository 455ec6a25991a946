#!/usr/bin/env python3
"""A stand-in for the Kestrova service's HTTPS API, for the lab and the tests.

It answers GET "<base>/connect" (act = wizardsetup, time, buy) and
"<base>/upd/double.xml" with the XML replies the client reads, from the
account file, with real certificates and keys issued by the lab CA.
See README.md in this folder for the options and the accounts.
"""

import argparse
import base64
import http.server
import ipaddress
import json
import os
import re
import socket
import socketserver
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse
from xml.sax.saxutils import escape, quoteattr

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import labaccounts  # noqa: E402

PKI_SCRIPT = os.path.join(HERE, "..", "pki", "pki.sh")
HIDDEN = "*****"
# Query items whose values never reach the request log.
SECRET_ITEMS = ("pass",)
SECRET_RE = re.compile(r"([?&](?:%s)=)[^&\s\"']*" % "|".join(SECRET_ITEMS))


def b64(text):
    if isinstance(text, str):
        text = text.encode("utf-8")
    return base64.b64encode(text).decode("ascii")


def element(tag, text="", **attrs):
    attr_text = "".join(" %s=%s" % (k, quoteattr(v)) for k, v in attrs.items())
    return "<%s%s>%s</%s>" % (tag, attr_text, escape(text), tag)


def hide_secrets(text):
    """The text with the values of secret query items replaced."""
    return SECRET_RE.sub(lambda m: m.group(1) + HIDDEN, text)


def parse_query(query):
    """Query items in the order the client sent them (form decoding, blanks kept)."""
    return urllib.parse.parse_qsl(query, keep_blank_values=True)


class Pki:
    """Certificates of the lab CA, made through lab/pki/pki.sh on first use."""

    def __init__(self):
        self._lock = threading.Lock()
        self.dir = self._run("dir")[0]
        self._run("init")

    def _run(self, *args):
        out = subprocess.run(["bash", PKI_SCRIPT] + list(args), check=True, capture_output=True, text=True)
        return out.stdout.split()

    def path(self, name):
        return os.path.join(self.dir, name)

    def client(self, login):
        with self._lock:
            crt, key = self._run("client", login)
        with open(crt, "rb") as f:
            cert_bytes = f.read()
        with open(key, "rb") as f:
            key_bytes = f.read()
        return cert_bytes, key_bytes


def base_profile(ca_pem):
    """The OpenVPN template every VPN login shares. Lines that start with
    "#udp ", "#tcp " or "#stealth " are switched on by the client for that
    transport; the first line is never one of them."""
    lines = [
        "client",
        "dev tun",
        "nobind",
        "#udp explicit-exit-notify 2",
        "#tcp socket-flags TCP_NODELAY",
        "#stealth server-poll-timeout 10",
        "persist-key",
        "persist-tun",
        "connect-retry 1 5",
        "remote-cert-tls server",
        "verify-x509-name vpn.lab.test name",
        "auth-user-pass",
        "auth-nocache",
        "data-ciphers AES-256-GCM:AES-128-GCM:CHACHA20-POLY1305",
        "verb 3",
        "<ca>",
        ca_pem.strip(),
        "</ca>",
        "",
    ]
    return "\n".join(lines)


class Service:
    def __init__(self, args):
        self.args = args
        self.accounts = labaccounts.Accounts.load(args.accounts)
        self.pki = Pki()
        with open(self.pki.path("ca.crt"), encoding="ascii") as f:
            self.config = base_profile(f.read())
        self.credentials = {}
        for login in self.accounts.logins:
            self.credentials[login] = self.pki.client(login)
        self.log_lock = threading.Lock()
        self.log_file = open(args.log, "a", encoding="utf-8") if args.log else None
        self.fail_left = args.fail_first
        self.fail_lock = threading.Lock()
        self.stopping = threading.Event()

    # --- request log -----------------------------------------------------

    def log(self, client, path, query, status, reply):
        if not self.log_file:
            return
        shown = [[k, HIDDEN if k in SECRET_ITEMS else v] for k, v in query]
        line = json.dumps({"time": round(time.time(), 3), "client": client, "path": path,
                           "query": shown, "status": status, "reply": reply})
        with self.log_lock:
            self.log_file.write(line + "\n")
            self.log_file.flush()

    def take_failure(self):
        with self.fail_lock:
            if self.fail_left > 0:
                self.fail_left -= 1
                return True
            return False

    # --- replies ---------------------------------------------------------

    def upgrade_element(self, host):
        if not self.args.update_version:
            return ""
        link = self.args.update_link
        if not link and self.args.update_file:
            link = "https://%s/download/%s" % (host, urllib.parse.quote(os.path.basename(self.args.update_file)))
        if not link:
            return ""
        return "<upgrade>%s%s</upgrade>" % (element("ver", b64(self.args.update_version)),
                                            element("link", b64(link)))

    def vpn_element(self, login, server):
        s = self.accounts.servers[server]
        return element("vpn", name=b64(s["name"]), ip=b64(s["ip"]), tcp=b64(s.get("tcp", "0")),
                       udp=b64(s.get("udp", "0")), ssl=b64(str(s.get("ssl", 0))), flag=b64(s.get("flag", "")),
                       user=b64(login), dns=b64(s.get("dns", "")), group=b64(str(s.get("group", 1))),
                       sni=b64(s.get("sni", "")))

    def wizardsetup(self, items, host):
        """Sign-in, server-list refresh and update check share this reply.
        Each VPN login comes as its "file", "cert" and "key" followed by its
        servers, so a client that empties its subscriptions before the first
        server keeps every login and finds each server's password."""
        name, password, version = items.get("login", ""), items.get("pass", ""), items.get("ver", "")
        account = self.accounts.account(name, password)
        kind = account.get("kind", "full") if account else "full"
        refused = version in self.accounts.refused_versions or bool(account and account.get("refuse_client"))
        attrs = {"type": "lite"} if kind == "lite" else {"type": "full"}
        parts = [element("ver", b64("false" if refused else "true"), **attrs),
                 element("auth", b64("true" if account else "false"))]
        parts.append(self.upgrade_element(host))
        if refused or not account:
            return parts, "refused" if refused else "wrong-credentials"
        if kind == "nosub" or not account.get("logins"):
            parts.append(element("error", b64("nosub")))
            return parts, "nosub"
        parts.append(element("config", b64(self.config)))
        for login in account["logins"]:
            entry = self.accounts.logins[login]
            cert, key = self.credentials[login]
            parts.append(element("file", user=b64(login), **{"pass": b64(entry["password"])},
                                 exp=b64(str(int(entry["expires"])))))
            parts.append(element("cert", b64(cert), user=b64(login)))
            parts.append(element("key", b64(key), user=b64(login)))
            for server in entry.get("servers", []):
                parts.append(self.vpn_element(login, server))
            parts.extend(self.synthetic_servers(login))
        return parts, kind

    def synthetic_servers(self, login):
        """Made-up servers for large-list tests: addresses cycle through the
        three documentation networks, every tenth one is a double hop."""
        nets = ("192.0.2.%d", "198.51.100.%d", "203.0.113.%d")
        out = []
        for i in range(self.args.extra_servers):
            ip = nets[i % 3] % (1 + (i // 3) % 254)
            out.append(element("vpn", name=b64("Lab %05d" % i), ip=b64(ip), tcp=b64("1194,443"), udp=b64("1194"),
                               ssl=b64("443"), flag=b64("nl"), user=b64(login), dns=b64("203.0.113.53"),
                               group=b64("2" if i % 10 == 9 else "1"), sni=b64("www.lab.test")))
        return out

    def reply(self, path, query, client, host):
        """(status, content type, body bytes, short text for the log)."""
        items = dict(query)
        if path == "/upd/double.xml":
            rows = "".join(element("p", name, p=str(ms)) for name, ms in self.accounts.double_table())
            return 200, "text/xml", ("<double>%s</double>" % rows).encode("utf-8"), "double"
        if path == "/connect":
            act = items.get("act", "")
            if act == "wizardsetup":
                parts, what = self.wizardsetup(items, host)
            elif act == "time":
                tz = self.args.timezone or self.accounts.timezone_for(client)
                parts, what = [element("timezone", b64(tz))], "timezone " + tz
            elif act == "buy":
                link = self.accounts.buy_link.replace("%1", urllib.parse.quote(items.get("loginvpn", ""), safe=""))
                parts, what = [element("link", b64(link))], "buy"
            else:
                parts, what = [element("error", b64("unknown action"))], "unknown-act"
            body = '<?xml version="1.0" encoding="UTF-8"?>\n<response>%s</response>\n' % "".join(parts)
            return 200, "text/xml; charset=utf-8", body.encode("utf-8"), what
        if path.startswith("/download/") and self.args.update_file:
            if urllib.parse.unquote(path[len("/download/"):]) == os.path.basename(self.args.update_file):
                with open(self.args.update_file, "rb") as f:
                    return 200, "application/vnd.debian.binary-package", f.read(), "download"
        return 404, "text/plain", b"not found\n", "not-found"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "KestrovaLab/1"
    sys_version = ""

    def log_message(self, fmt, *args):
        if self.server.service.args.verbose:
            sys.stderr.write("fakeservice: %s\n" % hide_secrets(fmt % args))

    def do_GET(self):
        service = self.server.service
        url = urllib.parse.urlsplit(self.path)
        path, query = url.path, parse_query(url.query)
        client = self.client_address[0]
        # Path prefixes that let a test pick a misbehaviour through the base URL:
        # "/hang/..." never answers, "/slow/<ms>/..." answers late, "/fail/..."
        # always answers 503.
        parts = path.split("/")
        mode, delay = None, 0.0
        if len(parts) > 2 and parts[1] == "hang":
            mode, path = "hang", "/" + "/".join(parts[2:])
        elif len(parts) > 3 and parts[1] == "slow" and parts[2].isdigit():
            delay, path = int(parts[2]) / 1000.0, "/" + "/".join(parts[3:])
        elif len(parts) > 2 and parts[1] == "fail":
            mode, path = "fail", "/" + "/".join(parts[2:])
        if service.args.never_answer or mode == "hang":
            service.log(client, path, query, 0, "hang")
            while not service.stopping.wait(1.0):
                pass
            self.close_connection = True
            return
        if mode == "fail" or service.take_failure():
            service.log(client, path, query, 503, "fail")
            self.send_plain(503, b"service unavailable\n")
            return
        if delay:
            time.sleep(delay)
        host = self.headers.get("Host") or self.server.public_host()
        status, ctype, body, what = service.reply(path, query, client, host)
        service.log(client, path, query, status, what)
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def send_plain(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class TlsServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, family, context, service):
        self.address_family = family
        self.context = context
        self.service = service
        super().__init__(address, Handler)

    def finish_request(self, request, client_address):
        # The TLS handshake runs on the request's own thread, so a client that
        # connects and stays silent cannot hold up the others.
        request.settimeout(30)
        try:
            tls = self.context.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError) as e:
            self.service.log(client_address[0], "", [], 0, "tls-error " + str(e))
            return
        tls.settimeout(None)
        try:
            super().finish_request(tls, client_address)
        finally:
            try:
                tls.close()
            except OSError:
                pass

    def public_host(self):
        host, port = self.server_address[:2]
        return ("[%s]:%d" if ":" in host else "%s:%d") % (host, port)


def parse_listen(text):
    host, sep, port = text.rpartition(":")
    if not sep or not port.isdigit():
        raise argparse.ArgumentTypeError("expected ADDR:PORT, got %r" % text)
    host = host.strip("[]")
    ipaddress.ip_address(host)
    return host, int(port)


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--listen", type=parse_listen, default=("127.0.0.1", 0), metavar="ADDR:PORT",
                   help="address and port to listen on; port 0 picks a free one (default 127.0.0.1:0)")
    p.add_argument("--port-file", help="write the port listened on to this file once ready")
    p.add_argument("--cert", help="server certificate (default: the lab's service certificate)")
    p.add_argument("--key", help="server key (default: the lab's service key)")
    p.add_argument("--accounts", default=os.path.join(HERE, "accounts.json"), help="account file")
    p.add_argument("--log", help="append one JSON line per request here (passwords hidden)")
    p.add_argument("--never-answer", action="store_true", help="accept requests and never answer them")
    p.add_argument("--fail-first", type=int, default=0, metavar="N",
                   help="answer the first N requests with 503")
    p.add_argument("--extra-servers", type=int, default=0, metavar="N",
                   help="add N made-up servers to every VPN login of a sign-in reply")
    p.add_argument("--timezone", help="answer every timezone query with this text (for example N/A)")
    p.add_argument("--update-version", help="announce this version in an \"upgrade\" element")
    p.add_argument("--update-file", help="package served under /download/<its file name>")
    p.add_argument("--update-link", help="link announced with the update (default: the served package)")
    p.add_argument("--verbose", action="store_true", help="print every request to standard error")
    args = p.parse_args(argv)

    try:
        service = Service(args)
    except (OSError, ValueError, subprocess.CalledProcessError) as e:
        sys.stderr.write("fakeservice: %s\n" % e)
        return 1
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert or service.pki.path("service.crt"), args.key or service.pki.path("service.key"))
    family = socket.AF_INET6 if ":" in args.listen[0] else socket.AF_INET
    server = TlsServer(args.listen, family, context, service)
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write("%d\n" % port)
        os.replace(tmp, args.port_file)
    sys.stderr.write("fakeservice: listening on %s\n" % server.public_host())
    sys.stderr.flush()

    import signal

    def stop(*_):
        service.stopping.set()
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        service.stopping.set()
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
