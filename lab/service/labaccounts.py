"""The lab's account file: sign-in accounts, VPN logins, servers and exit timezones.

Read by the fake service (lab/service/fakeservice.py) and by the VPN servers'
password check (lab/vpn/verify.py), so both always agree on the logins.
"""

import ipaddress
import json
import re

KINDS = ("full", "lite", "nosub")
LOGIN_RE = re.compile(r"^[A-Za-z0-9][A-Za-z0-9._-]{0,63}$")


class AccountError(ValueError):
    pass


class Accounts:
    def __init__(self, data):
        self.refused_versions = list(data.get("refused_versions", []))
        self.accounts = data.get("accounts", {})
        self.logins = data.get("logins", {})
        self.servers = {s["name"]: s for s in data.get("servers", [])}
        self.server_order = [s["name"] for s in data.get("servers", [])]
        self.buy_link = data.get("buy_link", "https://www.lab.test/buy?login=%1")
        self.timezones = []
        for net, tz in data.get("timezones", {}).items():
            self.timezones.append((ipaddress.ip_network(net, strict=False), tz))
        for server in self.servers.values():
            for key in ("pool_udp", "pool_tcp"):
                if server.get(key):
                    self.timezones.append(
                        (ipaddress.ip_network(server[key], strict=False), server.get("timezone", "N/A")))
        self._check()

    @classmethod
    def load(cls, path):
        with open(path, encoding="utf-8") as f:
            return cls(json.load(f))

    def _check(self):
        for name, account in self.accounts.items():
            if account.get("kind", "full") not in KINDS:
                raise AccountError("account %s: unknown kind %r" % (name, account.get("kind")))
            logins = account.get("logins", [])
            for login in logins:
                if login not in self.logins:
                    raise AccountError("account %s: unknown VPN login %s" % (name, login))
                # A client drops the previous VPN login's subscription when a
                # login without servers is followed by another one.
                if not self.logins[login].get("servers") and len(logins) > 1:
                    raise AccountError("VPN login %s has no servers" % login)
        for login, entry in self.logins.items():
            if not LOGIN_RE.match(login):
                raise AccountError("VPN login %r is not a plain name" % login)
            for server in entry.get("servers", []):
                if server not in self.servers:
                    raise AccountError("VPN login %s: unknown server %s" % (login, server))

    def account(self, name, password):
        """The account when name and password match, else None."""
        account = self.accounts.get(name)
        if account is None or account.get("password") != password:
            return None
        return account

    def vpn_login_ok(self, login, password):
        entry = self.logins.get(login)
        return entry is not None and entry.get("password") == password

    def timezone_for(self, address):
        """Timezone of the exit address a request came from; the narrowest match wins."""
        try:
            ip = ipaddress.ip_address(address)
        except ValueError:
            return "N/A"
        if ip.version == 6 and ip.ipv4_mapped:
            ip = ip.ipv4_mapped
        best = None
        for net, tz in self.timezones:
            if ip.version == net.version and ip in net:
                if best is None or net.prefixlen > best[0].prefixlen:
                    best = (net, tz)
        return best[1] if best else "N/A"

    def double_table(self):
        return [(s["name"], int(s.get("double_ms", 0))) for s in
                (self.servers[n] for n in self.server_order) if int(s.get("group", 1)) == 2]
