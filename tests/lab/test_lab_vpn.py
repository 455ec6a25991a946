#!/usr/bin/python3
"""The lab's VPN end to end, by hand: sign in at the fake service, write the
profile from its template as the client does, run openvpn (and stunnel for
stealth) in the client namespace, and prove traffic goes through the tunnel.

Runs inside the client namespace (ip netns exec kv-client ...), as root, with
the lab up. Every wait is bounded.
"""

import ipaddress
import os
import socket
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import labclient  # noqa: E402

NET_NS = os.environ.get("KESTROVA_LAB_NET_NS", "kv-net")
SERVICE_URL = os.environ.get("KESTROVA_LAB_SERVICE_URL", "https://192.0.2.100")
TARGET = "203.0.113.10"
TUNNEL_RESOLVER = "203.0.113.54"
WAIT = 20


def pool_of(address, proto):
    """The tunnel pool of the server instance at that address."""
    last = int(address.split(".")[-1])
    base = {10: 128, 11: 160, 12: 192, 20: 224}[last] + (16 if proto == "tcp" else 0)
    return ipaddress.ip_network("198.51.100.%d/28" % base)


class LabVpnTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ca = os.path.join(labclient.run_dir(), "pki", "ca.crt")
        cls.service = labclient.Service(SERVICE_URL, cls.ca)
        cls.single = labclient.Account(cls.service.signin("single", "single-pass"))
        cls.multi = labclient.Account(cls.service.signin("multi", "multi+pass word"))

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="kv-labtest-")
        self.addCleanup(self.tmp.cleanup)

    def start(self, account, login, name, transport, password=None):
        """openvpn for that server and transport; returns it once the tunnel is up."""
        server = account.server(login, name)
        base, cert, key = account.config, account.certs[login], account.keys[login]
        if transport == "stealth":
            local = labclient.free_port()
            pid_file = os.path.join(self.tmp.name, "stunnel.pid")
            conf = os.path.join(self.tmp.name, "stunnel.conf")
            labclient.write_private(conf, labclient.stunnel_client_config(
                pid_file, server["sni"], local, server["ip"], int(server["ssl"])))
            stunnel = labclient.Stunnel(conf, pid_file)
            self.addCleanup(stunnel.stop)
            self.assertTrue(stunnel.wait_listening(local), "client stunnel does not listen")
            profile = labclient.stealth_profile(local, server["ip"], base, cert, key)
        else:
            ports = [p for p in server[transport].split(",") if p and p != "0"]
            self.assertTrue(ports, "server announces no %s port" % transport)
            profile = labclient.direct_profile(server["ip"], ports, transport, base, cert, key)
        profile_path = os.path.join(self.tmp.name, "profile.ovpn")
        creds = os.path.join(self.tmp.name, "creds")
        labclient.write_private(profile_path, profile)
        labclient.write_private(creds, "%s\n%s\n" % (login, password or account.passwords[login]))
        vpn = labclient.OpenVpn(profile_path, creds, self.tmp.name)
        self.addCleanup(vpn.stop)
        return server, vpn

    def assert_through_tunnel(self, server, proto, timezone):
        pool = pool_of(server["ip"], proto)
        with socket.create_connection((TARGET, 7), 5) as s:
            source = s.getsockname()[0]
            self.assertIn(ipaddress.ip_address(source), pool, "traffic to the target left outside the tunnel")
            s.sendall(b"kestrova lab\n")
            self.assertEqual(s.recv(100), b"kestrova lab\n")
            # The target's side of the connection names the tunnel address.
            seen = subprocess.run(["ip", "netns", "exec", NET_NS, "ss", "-tnH", "state", "established",
                                   "( sport = :7 )"], capture_output=True, text=True, timeout=10).stdout
            self.assertIn("%s:%d" % (source, s.getsockname()[1]), seen)
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as u:
            u.settimeout(5)
            u.sendto(b"udp echo", (TARGET, 7))
            self.assertEqual(u.recvfrom(100)[0], b"udp echo")
        # The pushed resolver answers through the tunnel.
        source, answers = labclient.dns_query_a(TUNNEL_RESOLVER, "target.lab.test")
        self.assertIn(ipaddress.ip_address(source), pool)
        self.assertEqual(answers, [TARGET])
        # The service sees the exit address as well, and answers its timezone.
        reply = self.service.connect("single", "single-pass", "time")
        self.assertEqual(reply.first("timezone")[1], timezone)

    def connected(self, vpn):
        seen = vpn.wait_for(["Initialization Sequence Completed", "AUTH_FAILED", "Exiting due to fatal error"],
                            WAIT)
        self.assertEqual(seen, "Initialization Sequence Completed", vpn.output())

    def check(self, account, login, name, transport, proto, timezone):
        server, vpn = self.start(account, login, name, transport)
        self.connected(vpn)
        self.assert_through_tunnel(server, proto, timezone)

    def test_udp(self):
        self.check(self.single, "kv1001", "Amsterdam", "udp", "udp", "Europe/Amsterdam")

    def test_tcp(self):
        self.check(self.single, "kv1001", "New York", "tcp", "tcp", "America/New_York")

    def test_stealth_through_client_stunnel(self):
        # Reykjavik announces no TCP port of its own, yet its stealth endpoint
        # works; its exit address has no known timezone. The server's pushed
        # default route would swallow stunnel's own connection: the profile's
        # host route keeps it on the outside link, and its route-up takes away
        # the route OpenVPN made for its loopback "remote".
        self.check(self.single, "kv1001", "Reykjavik", "stealth", "tcp", "N/A")
        routes = subprocess.run(["ip", "-4", "route", "show", "table", "main"], capture_output=True, text=True,
                                timeout=10).stdout
        self.assertIn("192.0.2.12 via 198.51.100.1 dev kv-c0", routes)
        self.assertNotIn("127.0.0.1", routes)

    def test_double_hop_entry_with_a_password_of_blanks_quotes_and_backslash(self):
        self.check(self.multi, "kv2002", "Amsterdam - New York", "udp", "udp", "America/New_York")

    def test_password_given_over_the_management_port(self):
        # The way the desktop client drives openvpn: no password file, the
        # management interface asks and the answer is quoted and escaped.
        login, name = "kv2002", "Reykjavik"
        server = self.multi.server(login, name)
        profile = labclient.direct_profile(server["ip"], [server["udp"]], "udp", self.multi.config,
                                           self.multi.certs[login], self.multi.keys[login])
        path = os.path.join(self.tmp.name, "profile.ovpn")
        labclient.write_private(path, profile)
        port = labclient.free_port()
        proc = subprocess.Popen(["openvpn", "--config", path, "--management", "127.0.0.1", str(port),
                                 "--management-query-passwords", "--script-security", "2"],
                                cwd=self.tmp.name, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (proc.poll() is None and proc.kill(), proc.wait(10)))
        mgmt = labclient.Management(port, WAIT)
        self.addCleanup(mgmt.close)
        mgmt.send("state on")
        self.assertIsNotNone(mgmt.wait_for(">PASSWORD:Need 'Auth' username/password"))
        mgmt.send('username "Auth" %s' % labclient.management_quote(login))
        self.assertIsNotNone(mgmt.wait_for("'Auth' username entered, but not yet verified"))
        mgmt.send('password "Auth" %s' % labclient.management_quote(self.multi.passwords[login]))
        self.assertIsNotNone(mgmt.wait_for(",CONNECTED,SUCCESS,"), "\n".join(mgmt.lines[-20:]))
        self.assert_through_tunnel(server, "udp", "N/A")
        mgmt.send("signal SIGTERM")
        self.assertEqual(proc.wait(10), 0)

    def test_wrong_vpn_password_is_refused(self):
        # The client recognises the refusal by this exact, case-sensitive text.
        refused = "AUTH: Received control message: AUTH_FAILED"
        _, vpn = self.start(self.single, "kv1001", "Amsterdam", "udp", password="not-the-password")
        self.assertEqual(vpn.wait_for([refused, "Initialization Sequence Completed"], WAIT), refused, vpn.output())

    def test_without_tunnel_the_target_sees_the_client_address(self):
        # The control for the tunnel checks above.
        with socket.create_connection((TARGET, 7), 5) as s:
            self.assertEqual(s.getsockname()[0], "198.51.100.2")
        self.assertEqual(labclient.dns_query_a("203.0.113.53", "target.lab.test")[1], [TARGET])
        with self.assertRaises(socket.timeout):
            labclient.dns_query_a(TUNNEL_RESOLVER, "target.lab.test", timeout=1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
