#!/usr/bin/python3
"""The fake service on loopback: every account's reply, the misbehaviours the
client tests rely on, the request log, and the certificates it hands out."""

import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import labclient  # noqa: E402

sys.path.insert(0, os.path.join(labclient.LAB_DIR, "service"))
import labaccounts  # noqa: E402

SERVICE = os.path.join(labclient.LAB_DIR, "service", "fakeservice.py")
ACCOUNTS = os.path.join(labclient.LAB_DIR, "service", "accounts.json")
PYTHON = sys.executable


def die_with_parent():
    # A test killed on its time-out must not leave its services behind.
    import ctypes
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, 15)


class Running:
    """One fake service on 127.0.0.1 with a private run directory."""

    def __init__(self, run, *args):
        self.rundir = run
        self.port_file = os.path.join(run, "port-%d" % time.monotonic_ns())
        self.log_path = os.path.join(run, "requests-%d.log" % time.monotonic_ns())
        env = dict(os.environ, KESTROVA_LAB_RUN=run)
        self.proc = subprocess.Popen([PYTHON, SERVICE, "--listen", "127.0.0.1:0", "--port-file", self.port_file,
                                      "--log", self.log_path] + list(args),
                                     env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     preexec_fn=die_with_parent)
        deadline = time.monotonic() + 20
        while not os.path.exists(self.port_file):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("fake service did not start: %s" % self.proc.stderr.read().decode())
            time.sleep(0.05)
        with open(self.port_file) as f:
            self.port = int(f.read())
        self.url = "https://127.0.0.1:%d" % self.port
        self.ca = os.path.join(run, "pki", "ca.crt")
        self.client = labclient.Service(self.url, self.ca)

    def log(self):
        with open(self.log_path) as f:
            return [json.loads(line) for line in f]

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.proc.stderr.close()


def openssl(*args, data=None):
    return subprocess.run(["openssl"] + list(args), input=data, capture_output=True, check=True).stdout


class FakeServiceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.rundir = tempfile.mkdtemp(prefix="kv-fakeservice-")
        cls.svc = Running(cls.rundir)
        with open(ACCOUNTS) as f:
            cls.accounts = json.load(f)

    @classmethod
    def tearDownClass(cls):
        cls.svc.stop()
        shutil.rmtree(cls.rundir, ignore_errors=True)

    def signin(self, name, version=labclient.CLIENT_VERSION):
        return self.svc.client.signin(name, self.accounts["accounts"][name]["password"], version=version)

    # --- sign-in replies ---------------------------------------------------

    def test_full_accounts_carry_each_login_before_its_servers(self):
        for name in ("single", "multi"):
            with self.subTest(account=name):
                reply = self.signin(name)
                ver = reply.first("ver")
                self.assertEqual(ver, ({"type": "full"}, "true"))
                self.assertEqual(reply.first("auth")[1], "true")
                self.assertIsNone(reply.first("error"))
                logins = self.accounts["accounts"][name]["logins"]
                self.assertEqual([a["user"] for a, _ in reply.all("file")], logins)
                # Walk as the client does: a "file" after the first "vpn" must not be
                # needed to know a server's password, and each login must own servers.
                known, seen_vpn = set(), False
                for tag, attrs, _ in reply.children:
                    if tag == "file":
                        known.add(attrs["user"])
                    elif tag == "vpn":
                        seen_vpn = True
                        self.assertIn(attrs["user"], known, "server before its login's password")
                self.assertTrue(seen_vpn)
                for login in logins:
                    entry = self.accounts["logins"][login]
                    files = [a for a, _ in reply.all("file") if a["user"] == login]
                    self.assertEqual(files, [{"user": login, "pass": entry["password"],
                                              "exp": str(entry["expires"])}])
                    names = [a["name"] for a, _ in reply.all("vpn") if a["user"] == login]
                    self.assertEqual(names, entry["servers"])

    def test_server_attributes(self):
        servers = {a["name"]: a for a, _ in self.signin("single").all("vpn")}
        self.assertEqual(servers["Amsterdam"], {
            "name": "Amsterdam", "ip": "192.0.2.10", "tcp": "1194", "udp": "1194", "ssl": "443", "flag": "nl",
            "user": "kv1001", "dns": "203.0.113.53", "group": "1", "sni": "www.lab.test"})
        self.assertEqual(servers["Reykjavik"]["tcp"], "0")
        self.assertEqual(servers["Amsterdam - New York"]["group"], "2")
        self.assertEqual(servers["Amsterdam - New York"]["ip"], "192.0.2.20")

    def test_lite_nosub_refused_and_wrong_credentials(self):
        lite = self.signin("lite")
        self.assertEqual(lite.first("ver"), ({"type": "lite"}, "true"))
        self.assertTrue(lite.all("vpn"))

        nosub = self.signin("nosub")
        self.assertEqual(nosub.tags(), ["ver", "auth", "error"])
        self.assertEqual(nosub.first("error")[1], "nosub")

        refused = self.signin("oldclient")
        self.assertEqual(refused.first("ver")[1], "false")
        self.assertEqual(refused.tags(), ["ver", "auth"])
        old = self.signin("single", version="3.6.0")
        self.assertEqual(old.first("ver")[1], "false")
        self.assertNotIn("vpn", old.tags())

        for login, password in (("single", "wrong"), ("nobody", "x"), ("", "")):
            with self.subTest(login=login):
                wrong = self.svc.client.signin(login, password)
                self.assertEqual(wrong.tags(), ["ver", "auth"])
                self.assertEqual(wrong.first("auth")[1], "false")

    def test_password_is_decoded_as_a_form_value(self):
        # "multi+pass word": a bare "+" in the query would read as a blank.
        raw = "/connect?ver=3.6.9&login=multi&pass=multi+pass%20word&act=wizardsetup"
        bare_plus = labclient.Reply(self.raw_get(raw))
        self.assertEqual(bare_plus.first("auth")[1], "false")
        self.assertEqual(self.signin("multi").first("auth")[1], "true")

    def raw_get(self, path):
        with urllib.request.urlopen(self.svc.url + path, context=self.svc.client.context, timeout=10) as r:
            return r.read()

    # --- the handed-out profile and credentials -----------------------------

    def test_template_has_the_transport_lines_and_the_lab_ca(self):
        config = labclient.Account(self.signin("single")).config
        lines = config.split("\n")
        self.assertFalse(lines[0].startswith("#"), "the first line is never activated")
        for prefix in ("#udp ", "#tcp ", "#stealth "):
            self.assertTrue(any(l.startswith(prefix) for l in lines[1:]), prefix)
        self.assertIn("auth-user-pass", lines)
        self.assertFalse(any(l.startswith("remote ") for l in lines))
        with open(self.svc.ca) as f:
            self.assertIn(f.read().strip(), config)

    def test_certificates_are_from_the_lab_ca_and_match_their_keys(self):
        account = labclient.Account(self.signin("multi"))
        for login in ("kv2001", "kv2002"):
            with self.subTest(login=login):
                cert, key = account.certs[login], account.keys[login]
                with tempfile.NamedTemporaryFile("w", suffix=".crt") as f:
                    f.write(cert)
                    f.flush()
                    out = subprocess.run(["openssl", "verify", "-CAfile", self.svc.ca, "-purpose", "sslclient",
                                          f.name], capture_output=True, text=True)
                    self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
                subject = openssl("x509", "-noout", "-subject", "-nameopt", "sep_multiline",
                                  data=cert.encode()).decode()
                self.assertIn("CN=%s" % login, subject)
                self.assertEqual(openssl("x509", "-noout", "-pubkey", data=cert.encode()),
                                 openssl("pkey", "-pubout", data=key.encode()))
        self.assertNotEqual(account.keys["kv2001"], account.keys["kv2002"])
        # The same login keeps its credentials from one sign-in to the next.
        self.assertEqual(labclient.Account(self.signin("multi")).certs, account.certs)

    def test_unknown_ca_certificate_is_not_trusted(self):
        rogue = os.path.join(self.rundir, "pki", "rogue.crt")
        out = subprocess.run(["openssl", "verify", "-CAfile", self.svc.ca, rogue], capture_output=True)
        self.assertNotEqual(out.returncode, 0)
        svc = Running(self.rundir, "--cert", rogue, "--key", os.path.join(self.rundir, "pki", "rogue.key"))
        try:
            with self.assertRaises(urllib.error.URLError) as e:
                svc.client.signin("single", "single-pass")
            self.assertIsInstance(e.exception.reason, ssl.SSLCertVerificationError)
        finally:
            svc.stop()

    # --- the other requests ---------------------------------------------------

    def test_timezone_buy_link_double_table_and_unknown_requests(self):
        self.assertEqual(self.svc.client.connect("single", "x", "time").first("timezone")[1], "Europe/Amsterdam")
        buy = self.svc.client.connect("single", "single-pass", "buy",
                                      extra=[("loginvpn", "kv1001"), ("os", "linux-debian")])
        self.assertEqual(buy.first("link")[1], "https://www.lab.test/buy?login=kv1001")
        status, body = self.svc.client.get("/upd/double.xml", [])
        double = labclient.Reply(body)
        self.assertEqual(double.children, [("p", {"p": "35"}, "Amsterdam - New York")])
        self.assertEqual(self.svc.client.connect("single", "single-pass", "what").first("error")[1],
                         "unknown action")
        with self.assertRaises(urllib.error.HTTPError) as e:
            self.svc.client.get("/nothing", [])
        self.assertEqual(e.exception.code, 404)

    def test_timezone_by_exit_address(self):
        a = labaccounts.Accounts.load(ACCOUNTS)
        self.assertEqual(a.timezone_for("198.51.100.130"), "Europe/Amsterdam")
        self.assertEqual(a.timezone_for("198.51.100.210"), "N/A")
        self.assertEqual(a.timezone_for("198.51.100.2"), "Europe/Lisbon")
        self.assertEqual(a.timezone_for("::ffff:127.0.0.1"), "Europe/Amsterdam")
        self.assertEqual(a.timezone_for("192.0.2.1"), "N/A")
        self.assertEqual(a.timezone_for("not an address"), "N/A")

    def test_request_log_keeps_order_and_hides_the_password(self):
        self.svc.client.connect("single", "single-pass", "wizardsetup", extra=[("os", "linux-debian")])
        entry = self.svc.log()[-1]
        self.assertEqual(entry["query"], [["ver", "3.6.9"], ["login", "single"], ["pass", "*****"],
                                          ["os", "linux-debian"], ["act", "wizardsetup"]])
        self.assertEqual((entry["path"], entry["status"], entry["reply"], entry["client"]),
                         ("/connect", 200, "full", "127.0.0.1"))
        with open(self.svc.log_path) as f:
            self.assertNotIn("single-pass", f.read())

    # --- misbehaviour on purpose ------------------------------------------------

    def test_hang_slow_and_fail_paths(self):
        raw = socket.create_connection(("127.0.0.1", self.svc.port), 5)
        with self.svc.client.context.wrap_socket(raw, server_hostname="127.0.0.1") as tls:
            tls.settimeout(1.5)
            tls.sendall(b"GET /hang/connect?act=time HTTP/1.1\r\nHost: x\r\n\r\n")
            with self.assertRaises(socket.timeout):
                tls.recv(100)
        start = time.monotonic()
        status, body = self.svc.client.get("/slow/400/connect", [("act", "time")])
        self.assertGreaterEqual(time.monotonic() - start, 0.4)
        self.assertEqual(labclient.Reply(body).first("timezone")[1], "Europe/Amsterdam")
        with self.assertRaises(urllib.error.HTTPError) as e:
            self.svc.client.get("/fail/connect", [("act", "time")])
        self.assertEqual(e.exception.code, 503)
        self.assertEqual([x["reply"] for x in self.svc.log()[-3:]], ["hang", "timezone Europe/Amsterdam", "fail"])

    def test_fail_first_then_answer_and_forced_timezone(self):
        svc = Running(self.rundir, "--fail-first", "2", "--timezone", "N/A")
        try:
            for _ in range(2):
                with self.assertRaises(urllib.error.HTTPError):
                    svc.client.connect("single", "x", "time")
            self.assertEqual(svc.client.connect("single", "x", "time").first("timezone")[1], "N/A")
        finally:
            svc.stop()

    def test_extra_servers_for_large_lists(self):
        svc = Running(self.rundir, "--extra-servers", "2000")
        try:
            reply = svc.client.signin("multi", "multi+pass word")
        finally:
            svc.stop()
        for login in ("kv2001", "kv2002"):
            servers = [a for a, _ in reply.all("vpn") if a["user"] == login]
            made = servers[len(self.accounts["logins"][login]["servers"]):]
            self.assertEqual(len(made), 2000)
            self.assertEqual(len({a["name"] for a in made}), 2000)
            self.assertEqual(sum(a["group"] == "2" for a in made), 200)
            self.assertEqual(made[-1]["tcp"].split(","), ["1194", "443"])

    def test_update_announced_and_served(self):
        package = os.path.join(self.rundir, "kestrova_3.7.0_amd64.deb")
        payload = bytes(range(256)) * 300
        with open(package, "wb") as f:
            f.write(payload)
        svc = Running(self.rundir, "--update-version", "3.7.0", "--update-file", package)
        try:
            reply = svc.client.connect("single", "single-pass", "wizardsetup", extra=[("os", "linux-debian")])
            upgrade = reply.first("upgrade")[1]
            self.assertEqual(upgrade["ver"], "3.7.0")
            self.assertEqual(upgrade["link"], "https://127.0.0.1:%d/download/kestrova_3.7.0_amd64.deb" % svc.port)
            # A refused version still learns of the update.
            self.assertEqual(svc.client.signin("oldclient", "oldclient-pass").first("upgrade")[1]["ver"], "3.7.0")
            status, body = svc.client.get(upgrade["link"][len(svc.url):], [])
            self.assertEqual(body, payload)
        finally:
            svc.stop()
        self.assertIsNone(self.signin("single").first("upgrade"))


class PkiTest(unittest.TestCase):
    def test_parallel_requests_for_one_login_give_one_certificate(self):
        run = tempfile.mkdtemp(prefix="kv-pki-")
        self.addCleanup(shutil.rmtree, run, True)
        script = os.path.join(labclient.LAB_DIR, "pki", "pki.sh")
        env = dict(os.environ, KESTROVA_LAB_RUN=run)
        procs = [subprocess.Popen(["bash", script, "client", "kv1001"], env=env, stdout=subprocess.PIPE)
                 for _ in range(4)]
        outputs = [p.communicate(timeout=30)[0] for p in procs]
        self.assertEqual([p.returncode for p in procs], [0] * 4)
        self.assertEqual(len(set(outputs)), 1)
        crt, key = outputs[0].decode().split()
        subprocess.run(["openssl", "verify", "-CAfile", os.path.join(run, "pki", "ca.crt"), crt], check=True,
                       capture_output=True)
        self.assertEqual(os.stat(key).st_mode & 0o077, 0, "a private key readable by others")

    def test_login_names_that_are_not_plain_are_refused(self):
        run = tempfile.mkdtemp(prefix="kv-pki-")
        self.addCleanup(shutil.rmtree, run, True)
        script = os.path.join(labclient.LAB_DIR, "pki", "pki.sh")
        for login in ("../x", "a b", "-rf", ""):
            with self.subTest(login=login):
                out = subprocess.run(["bash", script, "client", login], capture_output=True,
                                     env=dict(os.environ, KESTROVA_LAB_RUN=run))
                self.assertNotEqual(out.returncode, 0)
        self.assertFalse(os.path.exists(os.path.join(run, "x.crt")))


class AccountFileTest(unittest.TestCase):
    def test_inconsistent_account_files_are_refused(self):
        with open(ACCOUNTS) as f:
            good = json.load(f)
        bad_cases = {
            "unknown login": lambda d: d["accounts"]["single"]["logins"].append("kv9999"),
            "unknown server": lambda d: d["logins"]["kv1001"]["servers"].append("Atlantis"),
            "login not a plain name": lambda d: d["logins"].update({"../x": {"password": "p", "servers": []}}),
            "unknown kind": lambda d: d["accounts"]["single"].update({"kind": "gold"}),
            "login without servers among several": lambda d: d["logins"]["kv2001"].update({"servers": []}),
        }
        labaccounts.Accounts(good)
        for what, spoil in bad_cases.items():
            with self.subTest(what):
                data = json.loads(json.dumps(good))
                spoil(data)
                with self.assertRaises(labaccounts.AccountError):
                    labaccounts.Accounts(data)


if __name__ == "__main__":
    unittest.main(verbosity=2)
