#!/usr/bin/python3
"""Writes the lab's OpenVPN server and stunnel configurations from the account file.

    genconf.py ACCOUNTS PKI_DIR OUT_DIR

One OpenVPN instance per server address and transport (UDP, TCP), each with
its own tunnel pool, one per template of lab/templates/, and one stunnel with a stealth service per server that
unwraps TLS into the TCP instance. Prints one line per OpenVPN instance:
"<name> <proto> <address> <port> <pool>", then "stunnel <address> <port>" lines.
"""

import ipaddress
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "service"))
sys.path.insert(0, os.path.join(HERE, "..", "templates"))
import corpus  # noqa: E402
import labaccounts  # noqa: E402

# The TCP instance also serves the stealth endpoint, so it runs even where a
# server announces no TCP port ("0").
DEFAULT_PORT = 1194
# As a commercial service: every IPv4 packet into the tunnel (the service's
# API too, so it sees the exit address), and a resolver that answers only
# through the tunnel.
PUSHED = [
    'push "redirect-gateway def1"',
    'push "dhcp-option DNS 203.0.113.54"',
    'push "dhcp-option DOMAIN lab.test"',
]


def first_port(text):
    first = (text or "0").split(",")[0].strip()
    return int(first) if first.isdigit() and int(first) > 0 else DEFAULT_PORT


def server_config(name, proto, address, port, pool, pki, out, accounts_path, extra=()):
    net = ipaddress.ip_network(pool, strict=False)
    lines = [
        "dev %s" % name,
        "dev-type tun",
        "proto %s" % ("udp4" if proto == "udp" else "tcp4-server"),
        "local %s" % address,
        "port %d" % port,
        "topology subnet",
        "server %s %s" % (net.network_address, net.netmask),
        "ca %s" % os.path.join(pki, "ca.crt"),
        "cert %s" % os.path.join(pki, "vpn-server.crt"),
        "key %s" % os.path.join(pki, "vpn-server.key"),
        "dh none",
        "data-ciphers AES-256-GCM:AES-128-GCM:CHACHA20-POLY1305",
        "keepalive 10 60",
        # Tests connect the same VPN login several times at once.
        "duplicate-cn",
        "script-security 2",
        "setenv KESTROVA_LAB_ACCOUNTS %s" % accounts_path,
        "auth-user-pass-verify %s via-file" % os.path.join(HERE, "verify.py"),
        "tmp-dir %s" % os.path.join(out, "tmp"),
        "writepid %s" % os.path.join(out, name + ".pid"),
        "log %s" % os.path.join(out, name + ".log"),
        "status %s 1" % os.path.join(out, name + ".status"),
        "verb 3",
    ] + list(extra) + PUSHED
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    accounts_path, pki, out = (os.path.abspath(a) for a in argv[1:])
    accounts = labaccounts.Accounts.load(accounts_path)
    os.makedirs(os.path.join(out, "tmp"), exist_ok=True)
    stunnel = [
        "foreground = no",
        "pid = %s" % os.path.join(out, "stunnel.pid"),
        "output = %s" % os.path.join(out, "stunnel.log"),
        "socket = l:TCP_NODELAY=1",
        "socket = a:SO_REUSEADDR=1",
    ]
    listed = []
    seen = set()
    for server_name in accounts.server_order:
        s = accounts.servers[server_name]
        address = s["ip"]
        if address in seen:
            continue
        seen.add(address)
        tag = address.split(".")[-1]
        tcp_port = first_port(s.get("tcp"))
        for proto, port, pool in (("udp", first_port(s.get("udp")), s["pool_udp"]),
                                  ("tcp", tcp_port, s["pool_tcp"])):
            name = "kvt%s%s" % (tag, proto[0])
            with open(os.path.join(out, name + ".conf"), "w") as f:
                f.write(server_config(name, proto, address, port, pool, pki, out, accounts_path))
            listed.append("%s %s %s %d %s" % (name, proto, address, port, pool))
        ssl_port = int(s.get("ssl", 0) or 0)
        if ssl_port > 0:
            stunnel += [
                "",
                "[stealth-%s]" % address,
                "accept = %s:%d" % (address, ssl_port),
                "connect = %s:%d" % (address, tcp_port),
                "cert = %s" % os.path.join(pki, "stealth.crt"),
                "key = %s" % os.path.join(pki, "stealth.key"),
            ]
            listed.append("stunnel %s %d" % (address, ssl_port))
    # One server per template of the corpus, each as its service runs it.
    corpus.ensure_keys(pki)
    for template, proto, port, pool, extra in corpus.servers(pki):
        name = "kvc%d" % port
        with open(os.path.join(out, name + ".conf"), "w") as f:
            f.write(server_config(name, proto, corpus.CORPUS_ADDRESS, port, pool, pki, out, accounts_path, extra))
        listed.append("%s %s %s %d %s" % (name, proto, corpus.CORPUS_ADDRESS, port, pool))
    with open(os.path.join(out, "stunnel.conf"), "w") as f:
        f.write("\n".join(stunnel) + "\n")
    print("\n".join(listed))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
