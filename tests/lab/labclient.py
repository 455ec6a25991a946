"""What the lab tests need of a client: talk to the fake service, write the
OpenVPN profile and the stunnel configuration the way the desktop client
does, and run openvpn and stunnel by hand with bounded waits."""

import base64
import os
import select
import signal
import socket
import ssl
import subprocess
import time
import urllib.parse
import urllib.request
import xml.etree.ElementTree as ET

LAB_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "lab"))
CLIENT_VERSION = "3.6.9"


def run_dir():
    return os.path.abspath(os.environ.get("KESTROVA_LAB_RUN", os.path.join(LAB_DIR, "run")))


def decode(text):
    return base64.b64decode(text or "").decode("utf-8")


class Reply:
    """A service reply: its children in order, with Base64 values decoded."""

    PLAIN_ATTRS = {("ver", "type"), ("p", "p")}
    PLAIN_TEXT = {"p"}

    def __init__(self, body):
        self.root = ET.fromstring(body)
        self.children = []
        for child in self.root:
            attrs = {k: (v if (child.tag, k) in self.PLAIN_ATTRS else decode(v)) for k, v in child.attrib.items()}
            if child.tag == "upgrade":
                text = {c.tag: decode(c.text) for c in child}
            elif child.tag in self.PLAIN_TEXT:
                text = child.text or ""
            else:
                text = decode(child.text)
            self.children.append((child.tag, attrs, text))

    def tags(self):
        return [tag for tag, _, _ in self.children]

    def first(self, tag):
        for t, attrs, text in self.children:
            if t == tag:
                return attrs, text
        return None

    def all(self, tag):
        return [(attrs, text) for t, attrs, text in self.children if t == tag]


class Service:
    def __init__(self, base_url, ca_file):
        self.base_url = base_url.rstrip("/")
        self.context = ssl.create_default_context(cafile=ca_file)

    def get(self, path, items, timeout=10):
        url = self.base_url + path
        if items:
            url += "?" + urllib.parse.urlencode(items, quote_via=urllib.parse.quote)
        with urllib.request.urlopen(url, context=self.context, timeout=timeout) as r:
            return r.status, r.read()

    def connect(self, login, password, act, extra=(), version=CLIENT_VERSION):
        items = [("ver", version), ("login", login), ("pass", password)] + list(extra) + [("act", act)]
        status, body = self.get("/connect", items)
        if status != 200:
            raise RuntimeError("service answered %d" % status)
        return Reply(body)

    def signin(self, login, password, version=CLIENT_VERSION):
        return self.connect(login, password, "wizardsetup", version=version)


class Account:
    """The parts of a sign-in reply that a connection needs."""

    def __init__(self, reply):
        self.config = reply.first("config")[1]
        self.passwords = {a["user"]: a["pass"] for a, _ in reply.all("file")}
        self.certs = {a["user"]: t for a, t in reply.all("cert")}
        self.keys = {a["user"]: t for a, t in reply.all("key")}
        self.servers = [a for a, _ in reply.all("vpn")]

    def server(self, login, name):
        for s in self.servers:
            if s["user"] == login and s["name"] == name:
                return s
        raise KeyError((login, name))


def activate(base, prefix):
    # A transport line counts only after a line feed, never on the first line.
    return base.replace("\n" + prefix, "\n")


def blocks(cert, key):
    return "\r\n<cert>\r\n" + cert + "\r\n</cert>\r\n" + "\r\n<key>\r\n" + key + "\r\n</key>\r\n"


def direct_profile(host, ports, proto, base, cert, key):
    text = "".join("remote %s %s %s\r\n" % (host, port, proto) for port in ports)
    return text + activate(base, "#%s " % proto) + blocks(cert, key)


def stealth_profile(local_port, host, base, cert, key):
    text = "proto tcp\r\nremote 127.0.0.1 %d\r\n" % local_port
    text += activate(activate(base, "#tcp "), "#stealth ") + blocks(cert, key)
    text += "\r\nroute %s 255.255.255.255 net_gateway" % host
    text += '\r\nroute-up "/bin/ip route del 127.0.0.1"'
    return text


def stunnel_client_config(pid_file, sni, local_port, host, port):
    lines = ["sslVersion = all", "socket = l:TCP_NODELAY=1", "socket = r:TCP_NODELAY=1", "pid =%s" % pid_file,
             "[openvpn]", "client = yes", "sni = %s" % sni, "accept = 127.0.0.1:%d" % local_port,
             "connect = %s:%d" % (host, port)]
    return "".join(line + "\r\n" for line in lines)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def write_private(path, text):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
    with os.fdopen(fd, "w", newline="") as f:
        f.write(text)


class OpenVpn:
    """openvpn --config started by hand; its output is read until a marker."""

    def __init__(self, profile, creds, workdir):
        self.lines = []
        self.proc = subprocess.Popen(
            ["openvpn", "--config", profile, "--auth-user-pass", creds, "--script-security", "2",
             "--connect-retry-max", "3"],
            cwd=workdir, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def wait_for(self, markers, seconds=20):
        """The first of the markers seen in the output, or None after the time."""
        deadline = time.monotonic() + seconds
        buf = b""
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.proc.stdout], [], [], max(0.0, deadline - time.monotonic()))
            if not ready:
                break
            chunk = os.read(self.proc.stdout.fileno(), 65536)
            if not chunk:
                break
            buf += chunk
            *done, buf = buf.split(b"\n")
            for raw in done:
                line = raw.decode("utf-8", "replace")
                self.lines.append(line)
                for m in markers:
                    if m in line:
                        return m
        return None

    def output(self):
        return "\n".join(self.lines[-40:])

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(5)
        self.proc.stdout.close()


class Stunnel:
    """The client-side stunnel of stealth mode, stopped through its pid file."""

    def __init__(self, config_path, pid_file):
        self.pid_file = pid_file
        subprocess.run(["stunnel4", config_path], check=True, timeout=10,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait_listening(self, port, seconds=10):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            try:
                socket.create_connection(("127.0.0.1", port), 1).close()
                return True
            except OSError:
                time.sleep(0.1)
        return False

    def stop(self):
        try:
            with open(self.pid_file) as f:
                pid = int(f.read().strip() or "0")
        except (OSError, ValueError):
            return
        if pid > 0 and os.path.exists("/proc/%d" % pid):
            with open("/proc/%d/cmdline" % pid, "rb") as f:
                if b"stunnel" not in f.read():
                    return
            os.kill(pid, signal.SIGTERM)
            for _ in range(50):
                if not os.path.exists("/proc/%d" % pid):
                    break
                time.sleep(0.1)


def management_quote(value):
    """A value as OpenVPN's management interface reads a quoted argument."""
    return '"%s"' % value.replace("\\", "\\\\").replace('"', '\\"')


class Management:
    """A line reader on OpenVPN's management port, connected within a bound time."""

    def __init__(self, port, seconds):
        self.lines = []
        self.buf = b""
        self.deadline = time.monotonic() + seconds
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), 1)
                break
            except OSError:
                if time.monotonic() > self.deadline:
                    raise
                time.sleep(0.1)

    def send(self, line):
        self.sock.sendall(line.encode("utf-8") + b"\n")

    def wait_for(self, text):
        """The first line holding text, or None when the time is up."""
        while time.monotonic() < self.deadline:
            self.sock.settimeout(max(0.05, self.deadline - time.monotonic()))
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                return None
            if not chunk:
                return None
            self.buf += chunk
            *done, self.buf = self.buf.split(b"\n")
            for raw in done:
                line = raw.decode("utf-8", "replace").rstrip("\r")
                self.lines.append(line)
                if text in line:
                    return line
        return None

    def close(self):
        self.sock.close()


def dns_query_a(server, name, timeout=5):
    """(source address used, IPv4 answers) of one plain DNS query for name's A records."""
    import struct
    qid = 0x4b56
    question = b"".join(bytes([len(label)]) + label.encode("ascii") for label in name.split(".")) + b"\0"
    packet = struct.pack(">HHHHHH", qid, 0x0100, 1, 0, 0, 0) + question + struct.pack(">HH", 1, 1)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.settimeout(timeout)
        s.connect((server, 53))
        source = s.getsockname()[0]
        s.send(packet)
        reply = s.recv(4096)
    rid, flags, qd, an = struct.unpack(">HHHH", reply[:8])
    if rid != qid or flags & 0x000F:
        return source, []
    pos = 12 + len(question) + 4
    answers = []
    for _ in range(an):
        if reply[pos] & 0xC0 == 0xC0:
            pos += 2
        else:
            while reply[pos]:
                pos += reply[pos] + 1
            pos += 1
        rtype, _, _, length = struct.unpack(">HHIH", reply[pos:pos + 10])
        pos += 10
        if rtype == 1 and length == 4:
            answers.append(socket.inet_ntoa(reply[pos:pos + 4]))
        pos += length
    return source, answers
