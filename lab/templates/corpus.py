"""The lab's corpus of profile templates as real services ship them, and the
server each one needs.

Every template NAME.ovpn here has one OpenVPN server in the lab (started by
lab/vpn/up.sh) on CORPUS_ADDRESS at its own port, configured as that service
would be (tls-auth, tls-crypt, fragment, compression framing). "{{ca}}",
"{{tls-auth}}" and "{{tls-crypt}}" stand for the lab's CA and its static keys,
inlined by render() as a service inlines its own.
"""

import ipaddress
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS_ADDRESS = "192.0.2.30"
POOLS = ipaddress.ip_network("203.0.113.128/25")

# name: (transport, port, server options beyond the lab's usual ones)
TEMPLATES = {
    "udp-tls-auth": ("udp", 1201, ["tls-auth {tls-auth} 0", "auth SHA512", "comp-lzo no"]),
    "tcp-tls-auth": ("tcp", 1202, ["tls-auth {tls-auth} 0", "auth SHA512", "comp-lzo no"]),
    "udp-tls-crypt": ("udp", 1203, ["tls-crypt {tls-crypt}"]),
    "tcp-tls-crypt": ("tcp", 1204, ["tls-crypt {tls-crypt}"]),
    "udp-fragment": ("udp", 1205, ["tun-mtu 1500", "fragment 1300", "mssfix 1300"]),
    "udp-windows-first": ("udp", 1206, []),
    "udp-compat": ("udp", 1207, ["comp-lzo no"]),
    "tcp-plain": ("tcp", 1208, []),
}

KEYS = {"tls-auth": "ta.key", "tls-crypt": "tc.key"}


def ensure_keys(pki):
    """The static keys, made once next to the lab CA."""
    for name in KEYS.values():
        path = os.path.join(pki, name)
        if not os.path.exists(path):
            subprocess.run(["openvpn", "--genkey", "secret", path + ".new"], check=True,
                           stdout=subprocess.DEVNULL)
            os.chmod(path + ".new", 0o600)
            os.replace(path + ".new", path)


def key_paths(pki):
    return {k: os.path.join(pki, v) for k, v in KEYS.items()}


def servers(pki):
    """(name, transport, port, pool, options) for every template's server."""
    pools = POOLS.subnets(new_prefix=28)
    for name in sorted(TEMPLATES):
        transport, port, options = TEMPLATES[name]
        paths = key_paths(pki)
        yield (name, transport, port, str(next(pools)),
               [o.replace("{tls-auth}", paths["tls-auth"]).replace("{tls-crypt}", paths["tls-crypt"])
                for o in options])


def render(name, pki):
    with open(os.path.join(HERE, name + ".ovpn"), encoding="ascii") as f:
        text = f.read()
    for placeholder, path in [("ca", os.path.join(pki, "ca.crt"))] + sorted(key_paths(pki).items()):
        with open(path, encoding="ascii") as f:
            text = text.replace("{{%s}}" % placeholder, f.read().strip())
    return text
