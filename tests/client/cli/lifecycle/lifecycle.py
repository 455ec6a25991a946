#!/usr/bin/python3
"""Randomized lifecycle test: seeded sequences of what a user, the network and
the system do to a connection, against the real daemon, kestrova-cli's
background session, real OpenVPN and stunnel, with a capture on the outer
link. After every step the invariants are checked; a failing sequence is
shrunk to the shortest one that still fails, re-run each time from a clean
state, and printed with its seed.

Runs as process 1's child in a pid namespace inside the lab's client
namespace (run_lifecycle.sh sets that up). Every wait is bounded.
"""

import argparse
import fcntl
import ipaddress
import os
import random
import re
import signal
import socket
import struct
import subprocess
import sys
import threading
import time

W = os.environ.get("KV_LIFECYCLE_DIR", "/run/kv-life")
OUTER_IF = "kv-c0"
TARGET = "203.0.113.10"
TARGET6 = "2001:db8:2::10"
LAN_RESOLVER = "203.0.113.53"
TUNNEL_POOL = ipaddress.ip_network("198.51.100.128/25")
ORIGINAL_RESOLV = "nameserver 203.0.113.53\n"
ORIGINAL_ZONE = "Etc/UTC"
LOCATIONS = ["Amsterdam", "New York", "Reykjavik", "Amsterdam - New York"]
PROTOCOLS = ["udp", "tcp", "stealth"]
TOGGLES = {"killswitch": "killswitch", "lan": "lan", "ipv6": "ipv6-block", "timezone": "timezone"}
OUTER_ADDRESSES = ["198.51.100.%d" % n for n in range(2, 10)]
# What the kill switch lets out on purpose: the VPN transport to the
# servers (UDP and TCP 1194, stealth on 443, and the ICMP errors about it),
# and the service API; they all live in 192.0.2.0/24, which the prober
# never aims at.
TRANSPORT = "dst net 192.0.2.0/24"
SETTLED = ("idle", "connected", "failed")
BUSY = ("preparing", "connecting", "connected", "reconnecting", "stopping")
CLIENT_LOG = os.path.join(W, "home/.local/share/VKMT/Kestrova/log.txt")
CLI_TIMEOUT = 200

# Steps after which the kill switch may rightly be off: no leak is counted
# from their start until a check sees it on again.
SWITCH_OFF_STEPS = {"killswitch-off", "quit", "sign-out", "restart-client", "restart-daemon"}


def log(*parts):
    print(time.strftime("%H:%M:%S"), *parts, flush=True)


class Failure(Exception):
    def __init__(self, invariant, detail):
        super().__init__("%s: %s" % (invariant, detail))
        self.invariant = invariant
        self.detail = detail


# --- Steps and sequences -------------------------------------------------

class Step:
    def __init__(self, op, arg=None, wait=0.0):
        self.op, self.arg, self.wait = op, arg, wait

    def __str__(self):
        text = self.op if self.arg is None else "%s=%s" % (self.op, self.arg)
        return "%s@%.2f" % (text, self.wait)

    @staticmethod
    def parse(text):
        body, _, wait = text.strip().partition("@")
        op, _, arg = body.partition("=")
        return Step(op, arg or None, float(wait or 0))


def format_sequence(steps):
    return ", ".join(str(s) for s in steps)


def parse_sequence(text):
    return [Step.parse(t) for t in text.split(",") if t.strip()]


def generate(seed, min_steps, max_steps, max_wait):
    rng = random.Random(seed)
    ops = [("connect", 6), ("disconnect", 3), ("reconnect", 2), ("press-twice", 2), ("change-server", 2),
           ("protocol", 2), ("killswitch", 2), ("lan", 1), ("ipv6", 1), ("timezone", 1), ("kill-openvpn", 1),
           ("kill-stunnel", 1), ("kill-worker", 1), ("restart-daemon", 1), ("outer-address", 1),
           ("link-bounce", 1), ("sign-out", 1), ("restart-client", 1)]
    names = [o for o, _ in ops]
    weights = [w for _, w in ops]
    steps = []
    for _ in range(rng.randint(min_steps, max_steps)):
        op = rng.choices(names, weights)[0]
        arg = None
        if op in ("connect", "change-server"):
            op, arg = "connect", rng.choice(LOCATIONS)
        elif op == "protocol":
            arg = rng.choice(PROTOCOLS)
        elif op in TOGGLES:
            op = "%s-%s" % (op, rng.choice(["on", "off"]))
        elif op == "outer-address":
            arg = rng.choice(OUTER_ADDRESSES[1:])
        elif op == "link-bounce":
            arg = "%.2f" % rng.uniform(0, 2)
        steps.append(Step(op, arg, round(rng.uniform(0, max_wait), 2)))
    return steps


# --- The system as it is -------------------------------------------------

def run(argv, timeout=30, check=False):
    p = subprocess.run(argv, capture_output=True, text=True, timeout=timeout)
    if check and p.returncode != 0:
        raise RuntimeError("%s: %s" % (" ".join(argv), p.stderr.strip()))
    return p


def processes(names):
    """Pids of the processes of this pid namespace whose name is one of names."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % entry) as f:
                comm = f.read().strip()
        except OSError:
            continue
        if comm in names:
            found.append(int(entry))
    return found


def read_pid(path):
    try:
        with open(path) as f:
            return int(f.read().strip() or "0")
    except (OSError, ValueError):
        return 0


def parent(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return int(f.read().rpartition(")")[2].split()[1])
    except (OSError, ValueError, IndexError):
        return 0


def daemon_worker():
    """The worker the monitor keeps: its pid file names the monitor alone."""
    monitor = read_pid("/run/kestrovad.pid")
    workers = [pid for pid in processes({"kestrovad"}) if monitor and parent(pid) == monitor]
    return workers[0] if workers else 0


def alive(pid):
    return pid > 0 and os.path.exists("/proc/%d" % pid)


def kill(pid, sig=signal.SIGKILL):
    try:
        os.kill(pid, sig)
    except ProcessLookupError:
        pass


def has_tunnel_device():
    return os.path.exists("/sys/class/net/tun0")


def tunnel_carries_traffic():
    """An echo through the target host that leaves from a tunnel address."""
    try:
        with socket.create_connection((TARGET, 7), 1.5) as s:
            source = ipaddress.ip_address(s.getsockname()[0])
            s.settimeout(1.5)
            s.sendall(b"lifecycle\n")
            return source in TUNNEL_POOL and s.recv(64) == b"lifecycle\n"
    except OSError:
        return False


def daemon_answers(timeout=1.0):
    """The daemon answers command 5 (firewall supported) within the time."""
    packet = struct.pack("<i", 5) + bytes(64001)
    deadline = time.monotonic() + timeout
    try:
        with socket.create_connection(("127.0.0.1", 23589), timeout) as s:
            s.sendall(packet)
            reply = b""
            while len(reply) < 9:
                s.settimeout(max(0.01, deadline - time.monotonic()))
                chunk = s.recv(9 - len(reply))
                if not chunk:
                    break
                reply += chunk
            return len(reply) == 9 and reply[0] == 1 and time.monotonic() <= deadline
    except OSError:
        return False


def ipv6_route():
    """The outer link has a route to the IPv6 target (a link taken down
    loses its IPv6 addresses for a while)."""
    p = run(["ip", "-6", "route", "get", TARGET6], timeout=10)
    return p.returncode == 0 and ("dev " + OUTER_IF) in p.stdout


def iptables(tool):
    return run([tool, "-w", "-S"], timeout=20).stdout


def readable(text):
    """Text a person can read: words, no placeholders, no code names."""
    text = text.strip()
    return (len(text) >= 8 and " " in text and all(line.isprintable() for line in text.splitlines()) and
            "%1" not in text and
            not re.search(r"\b(QString|Failure::|State::|nullptr|\(null\))", text))


class Capture:
    """Every IP packet leaving on the outer link but the VPN transport, with
    its time; tcpdump is started again when the link's going down ends it."""

    def __init__(self):
        self.lines = []
        self.lock = threading.Lock()
        self.stop = False
        self.proc = None
        self.thread = threading.Thread(target=self.loop, daemon=True)
        self.ready = threading.Event()
        self.thread.start()
        self.ready.wait(10)

    def loop(self):
        while not self.stop:
            self.proc = subprocess.Popen(
                ["tcpdump", "-i", OUTER_IF, "-Q", "out", "-n", "-l", "-tt", "-p",
                 "(ip or ip6) and not (%s)" % TRANSPORT],
                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            threading.Thread(target=self.wait_listening, args=(self.proc,), daemon=True).start()
            for line in self.proc.stdout:
                stamp, _, rest = line.partition(" ")
                try:
                    when = float(stamp)
                except ValueError:
                    continue
                with self.lock:
                    self.lines.append((when, rest.strip()))
            self.proc.wait()
            time.sleep(0.2)

    def wait_listening(self, proc):
        for line in proc.stderr:
            if "listening on" in line:
                self.ready.set()

    def between(self, start, end):
        with self.lock:
            return [(t, l) for t, l in self.lines if start <= t <= end]

    def trim(self, before):
        with self.lock:
            self.lines = [(t, l) for t, l in self.lines if t >= before]

    def close(self):
        self.stop = True
        if self.proc:
            self.proc.terminate()


class Prober:
    """Traffic that must never leave outside the tunnel while the kill switch
    is on: UDP and TCP to the target, over IPv4 and IPv6, and name lookups
    at the LAN's resolver."""

    def __init__(self):
        self.stop = False
        self.thread = threading.Thread(target=self.loop, daemon=True)
        self.thread.start()

    def loop(self):
        query = bytes.fromhex("4c490100000100000000000006746172676574036c6162047465737400" "00010001")
        while not self.stop:
            for family, host, port, payload in ((socket.AF_INET, TARGET, 7, b"probe"),
                                                (socket.AF_INET6, TARGET6, 7, b"probe"),
                                                (socket.AF_INET, LAN_RESOLVER, 53, query)):
                try:
                    with socket.socket(family, socket.SOCK_DGRAM) as s:
                        s.sendto(payload, (host, port))
                except OSError:
                    pass
            try:
                with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
                    s.setblocking(False)
                    s.connect_ex((TARGET, 8080))
            except OSError:
                pass
            time.sleep(0.3)


# --- The world the steps act on --------------------------------------------

class Lab:
    def __init__(self, daemon, cli):
        self.daemon, self.cli = daemon, cli
        self.pending = []  # (step text, Popen) of commands still running
        self.finished = []  # (step text, argv, code, out, err)
        self.signed_in = False

    # kestrova-cli
    def cli_run(self, *args, timeout=CLI_TIMEOUT, stdin=None):
        p = subprocess.run([self.cli] + list(args), input=stdin, capture_output=True, text=True, timeout=timeout)
        self.finished.append((" ".join(args), p.returncode, p.stdout, p.stderr))
        return p

    def cli_start(self, *args):
        p = subprocess.Popen([self.cli] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.pending.append((" ".join(args), p))
        return p

    def reap(self, wait=0.0):
        deadline = time.monotonic() + wait
        still = []
        for text, p in self.pending:
            try:
                out, err = p.communicate(timeout=max(0.0, deadline - time.monotonic()) if wait else 0.001)
            except subprocess.TimeoutExpired:
                still.append((text, p))
                continue
            self.finished.append((text, p.returncode, out, err))
        self.pending = still

    def status(self):
        p = subprocess.run([self.cli, "status", "--json"], capture_output=True, text=True, timeout=30)
        if p.returncode != 0:
            raise Failure("status answers", "status exited %d: %s" % (p.returncode, p.stderr.strip()))
        import json
        return json.loads(p.stdout)

    def setting(self, name, value):
        p = self.cli_run("set", name, value, timeout=60)
        return p.returncode

    def login(self):
        p = self.cli_run("login", "single", "--password-stdin", stdin="single-pass\n", timeout=60)
        self.signed_in = p.returncode == 0
        return p

    # the daemon
    def start_daemon(self):
        subprocess.run(["bash", "-c", '"$0"; true', self.daemon], timeout=30)
        for _ in range(100):
            if daemon_answers():
                return True
            time.sleep(0.1)
        return False

    def stop_daemon(self):
        # Every kestrovad of this pid namespace is this lab's, a worker
        # whose monitor is gone included.
        monitor = read_pid("/run/kestrovad.pid")
        if alive(monitor):
            kill(monitor, signal.SIGTERM)
        for _ in range(50):
            if not processes({"kestrovad"}):
                break
            time.sleep(0.1)
        for pid in processes({"kestrovad"}):
            kill(pid)

    # the outer link
    @staticmethod
    def outer(address):
        run(["ip", "-4", "addr", "flush", "dev", OUTER_IF], check=True)
        run(["ip", "addr", "add", address + "/25", "dev", OUTER_IF], check=True)
        run(["ip", "route", "replace", "default", "via", "198.51.100.1", "dev", OUTER_IF], check=True)

    @staticmethod
    def link(up):
        run(["ip", "link", "set", OUTER_IF, "up" if up else "down"], check=True)
        if up:
            run(["ip", "route", "replace", "default", "via", "198.51.100.1", "dev", OUTER_IF])
            run(["ip", "-6", "route", "replace", "default", "via", "2001:db8:1::1", "dev", OUTER_IF])


# --- The test ------------------------------------------------------------------

class Lifecycle:
    def __init__(self, lab, capture, settle):
        self.lab = lab
        self.capture = capture
        self.settle = settle
        self.settings = {}
        self.guard_since = None  # the kill switch holds from then on

    # clean state
    def reset(self):
        lab = self.lab
        for _, p in lab.pending:
            p.kill()
            p.wait()
        lab.pending = []
        if lab.signed_in or True:
            try:
                lab.cli_run("quit", timeout=60)
            except subprocess.TimeoutExpired:
                pass
        for pid in processes({"kestrova-cli"}):
            kill(pid)
        lab.stop_daemon()
        for pid in processes({"openvpn", "stunnel4", "stunnel", "kestrova-dns"}):
            kill(pid)
        Lab.link(True)
        Lab.outer(OUTER_ADDRESSES[0])
        for tool in ("iptables", "ip6tables"):
            run([tool, "-w", "-F"])
            run([tool, "-w", "-X"])
            for chain in ("INPUT", "OUTPUT", "FORWARD"):
                run([tool, "-w", "-P", chain, "ACCEPT"])
        with open("/etc/resolv.conf", "w") as f:
            f.write(ORIGINAL_RESOLV)
        run(["rm", "-rf", "/run/kestrova"])
        open(os.path.join(W, "timezone.log"), "w").close()
        if os.path.exists(CLIENT_LOG):
            open(CLIENT_LOG, "w").close()
        if not lab.start_daemon():
            raise RuntimeError("the daemon does not start")
        if not lab.signed_in:
            p = lab.login()
            if p.returncode != 0:
                raise RuntimeError("sign-in failed: %s" % p.stderr)
        self.settings = {"protocol": "udp", "killswitch": False, "lan": False, "ipv6-block": False,
                         "timezone": False}
        for name, value in self.settings.items():
            lab.setting(name, value if isinstance(value, str) else ("on" if value else "off"))
        lab.finished = []
        self.guard_since = None
        self.capture.trim(time.time())

    # one step
    def do(self, step):
        lab = self.lab
        op = step.op
        if op in SWITCH_OFF_STEPS:
            self.guard_since = None
        if op == "connect":
            lab.cli_start("connect", step.arg)
        elif op == "disconnect":
            lab.cli_start("disconnect")
        elif op == "reconnect":
            lab.cli_start("reconnect")
        elif op == "press-twice":
            state = lab.status().get("state")
            first, second = (("disconnect",), ("connect",)) if state == "connected" else (("connect",),
                                                                                          ("disconnect",))
            lab.cli_start(*first)
            time.sleep(0.2)
            lab.cli_start(*second)
        elif op == "protocol":
            lab.setting("protocol", step.arg)
            self.settings["protocol"] = step.arg
        elif op.rsplit("-", 1)[0] in TOGGLES:
            name, value = op.rsplit("-", 1)
            lab.setting(TOGGLES[name], value)
            self.settings[TOGGLES[name]] = value == "on"
        elif op == "kill-openvpn":
            for pid in processes({"openvpn"}):
                kill(pid)
        elif op == "kill-stunnel":
            for pid in processes({"stunnel4", "stunnel"}):
                kill(pid)
        elif op == "kill-worker":
            worker = daemon_worker()
            if alive(worker):
                kill(worker)
            self.daemon_back()
        elif op == "kill-monitor":
            # Not drawn by the generator: replayed from a sequence.
            kill(read_pid("/run/kestrovad.pid"))
        elif op == "restart-daemon":
            lab.stop_daemon()
            if not lab.start_daemon():
                raise Failure("daemon answers", "the daemon did not start again")
        elif op == "outer-address":
            Lab.outer(step.arg)
        elif op == "link-bounce":
            Lab.link(False)
            time.sleep(float(step.arg or 0))
            Lab.link(True)
        elif op == "sign-out":
            self.quit_engine()
            p = lab.cli_run("logout", timeout=60)
            if p.returncode != 0:
                raise Failure("sign-out", "logout exited %d with the engine gone: %s" % (p.returncode,
                                                                                        p.stderr.strip()))
            self.check_nothing_left("sign-out")
            lab.signed_in = False
            if lab.login().returncode != 0:
                raise Failure("sign-in", "sign-in after sign-out failed")
        elif op == "restart-client":
            self.quit_engine()
            self.check_nothing_left("quit")
            lab.cli_start("connect")
        else:
            raise ValueError("unknown step %s" % op)

    def daemon_back(self):
        for _ in range(50):
            if daemon_answers():
                return
            time.sleep(0.1)

    def quit_engine(self):
        lab = self.lab
        lab.reap(0)
        # A connect still starting its background session would come up
        # after the quit: a user quits what is there, so wait until it is.
        deadline = time.monotonic() + 15
        while (any(text.startswith("connect") for text, _ in lab.pending) and lab.status().get("host") is None
               and time.monotonic() < deadline):
            time.sleep(0.2)
            lab.reap(0)
        p = lab.cli_run("quit", timeout=90)
        if p.returncode != 0:
            raise Failure("quit", "quit exited %d: %s" % (p.returncode, p.stderr.strip()))
        # Returned means done: a script goes on at once.
        if "-P OUTPUT DROP" in iptables("iptables"):
            raise Failure("nothing left after quit", "the kill switch was still on when quit returned")
        lab.reap(60)

    # invariants
    def eventually(self, name, test, detail, seconds):
        deadline = time.monotonic() + seconds
        while True:
            ok = test()
            if ok:
                return
            if time.monotonic() > deadline:
                raise Failure(name, detail() if callable(detail) else detail)
            time.sleep(0.25)

    def check_nothing_left(self, after):
        def left():
            items = []
            for name in ("openvpn", "stunnel4", "kestrova-dns"):
                if processes({name} if name != "stunnel4" else {"stunnel4", "stunnel"}):
                    items.append("%s still runs" % name)
            if has_tunnel_device():
                items.append("tun0 is still there")
            v4, v6 = iptables("iptables"), iptables("ip6tables")
            if "-P OUTPUT DROP" in v4 or "-P INPUT DROP" in v4 or "KESTROVA-DNS" in v4 or " -o tun0 " in v4:
                items.append("kill-switch rules left: %s" % v4.replace("\n", "; "))
            if "DROP" in v6:
                items.append("IPv6 block left")
            with open("/etc/resolv.conf") as f:
                if f.read() != ORIGINAL_RESOLV:
                    items.append("/etc/resolv.conf is not the machine's")
            if os.path.isdir("/run/kestrova") and os.listdir("/run/kestrova"):
                items.append("/run/kestrova holds %s" % os.listdir("/run/kestrova"))
            zones = open(os.path.join(W, "timezone.log")).read().split()
            if zones and zones[-1] != ORIGINAL_ZONE:
                items.append("the timezone is left at %s" % zones[-1])
            return items

        self.eventually("nothing left after " + after, lambda: not left(), lambda: "; ".join(left()), 10)

    def settled_status(self, seconds):
        """The status once it has stayed in a settled state for a moment."""
        deadline = time.monotonic() + seconds
        last = None
        while True:
            self.lab.reap(0)
            status = self.lab.status()
            if status["state"] in SETTLED and last is not None and last["state"] == status["state"]:
                return status
            last = status
            if time.monotonic() > deadline:
                raise Failure("settles", "still %s after %d s" % (status["state"], seconds))
            time.sleep(0.4)

    def check(self, full):
        """The invariants after a step; with full, after the state settled."""
        lab = self.lab
        if not daemon_answers(1.0):
            raise Failure("daemon answers", "no answer within 1 s")
        lab.reap(0)
        self.check_messages()
        if len(processes({"openvpn"})) > 1:
            self.eventually("one tunnel", lambda: len(processes({"openvpn"})) <= 1,
                            "%d openvpn processes" % len(processes({"openvpn"})), 5)
        status = self.settled_status(self.settle) if full else lab.status()
        self.check_truth(status)
        self.check_rules(status)
        self.check_leaks()
        self.check_ipv6(status)

    def check_messages(self):
        for text, code, out, err in self.lab.finished:
            if code not in (0, None) and not readable(err):
                raise Failure("readable failures", "'%s' exited %d with %r" % (text, code, err.strip()))
        self.lab.finished = []

    def check_truth(self, status):
        state = status["state"]
        if state == "connected":
            def agrees():
                s = self.lab.status()
                return s["state"] != "connected" or tunnel_carries_traffic()

            self.eventually("connected means a tunnel carries traffic", agrees,
                            "the client says connected, no traffic passes", 8)
        elif state in ("idle", "failed"):
            def agrees():
                s = self.lab.status()
                return s["state"] not in ("idle", "failed") or not (processes({"openvpn"}) or has_tunnel_device())

            self.eventually("not connected means no tunnel", agrees,
                            lambda: "the client says %s, openvpn %s, tun0 %s" % (
                                state, processes({"openvpn"}), has_tunnel_device()), 8)
            if state == "failed" and not readable(status.get("lastError") or ""):
                raise Failure("readable failures", "failed with %r" % status.get("lastError"))

    def read_settings(self):
        p = subprocess.run([self.lab.cli, "get", "--json"], capture_output=True, text=True, timeout=30)
        if p.returncode != 0:
            raise Failure("settings answer", "get exited %d: %s" % (p.returncode, p.stderr.strip()))
        import json
        self.settings = json.loads(p.stdout)

    def expected_switch(self, status):
        return status.get("host") is not None and self.settings["killswitch"]

    def check_rules(self, status):
        def problems():
            # What the settings say now: a sign-out, for one, puts them back
            # to their defaults.
            self.read_settings()
            s = self.lab.status()
            want = self.expected_switch(s)
            # The tunnel carries IPv4 only: with the IPv6 block asked for,
            # IPv6 is blocked while a connection is under way, kill switch
            # or not.
            want6 = want or (s.get("host") is not None and self.settings["ipv6-block"] and
                             s.get("state") in BUSY)
            v4, v6 = iptables("iptables"), iptables("ip6tables")
            on4, on6 = "-P OUTPUT DROP" in v4, "-P OUTPUT DROP" in v6
            found = []
            if s.get("killSwitch") != want:
                found.append("the client reports the kill switch %s" % ("on" if s.get("killSwitch") else "off"))
            if on4 != want or on6 != want6:
                found.append("IPv4 block %s, IPv6 block %s, wanted %s and %s" % (on4, on6, want, want6))
            if want:
                if "-A OUTPUT -o tun0 -j ACCEPT" not in v4:
                    found.append("the tunnel is not let through")
                lan = "-A OUTPUT -d 192.168.0.0/16 -j ACCEPT" in v4
                if lan != self.settings["lan"]:
                    found.append("LAN rules %s with the setting %s" % (lan, self.settings["lan"]))
                if s["state"] in ("connected", "idle") and "-A KESTROVA-DNS -j DROP" not in v4:
                    found.append("name lookups outside the tunnel are open while %s" % s["state"])
            elif "KESTROVA-DNS" in v4 or "192.168.0.0/16" in v4 or " -o tun0 " in v4:
                found.append("kill-switch rules left while off")
            if not found and want and self.guard_since is None:
                self.guard_since = time.time()
            return found

        self.eventually("kill-switch rules follow the settings", lambda: not problems(),
                        lambda: "; ".join(problems()), 5)

    def check_ipv6(self, status):
        """Kill switch off, IPv6 block on: the prober's IPv6 packets do not
        leave on the outer link while connected, and leave again once the
        connection is down (where the link has a route for them)."""
        if self.settings["killswitch"] or not self.settings["ipv6-block"]:
            return
        state = status["state"]
        if state not in ("connected", "idle", "failed"):
            return
        if state != "connected" and not ipv6_route():
            return
        start = time.time()
        time.sleep(1.5)  # the prober sends every 0.3 s; tcpdump prints late
        seen = [line for _, line in self.capture.between(start, time.time()) if TARGET6 in line]
        if self.lab.status()["state"] != state:
            return
        if state == "connected" and seen:
            raise Failure("IPv6 blocked while connected", seen[0])
        if state != "connected" and not seen and not self.settings["killswitch"]:
            raise Failure("IPv6 open once down", "no IPv6 packet left in 1.5 s while %s" % state)

    def check_leaks(self):
        if self.guard_since is None:
            return
        time.sleep(0.3)  # tcpdump prints with a small delay
        leaks = self.capture.between(self.guard_since, time.time())
        if leaks:
            raise Failure("nothing leaves outside the tunnel",
                          "%d packet(s) with the kill switch on, first: %s" % (len(leaks), leaks[0][1]))

    def diagnostics(self, lines=60):
        """What a person needs to see why: routes, addresses, processes, the
        client's log of this sequence."""
        parts = []
        for argv in (["ip", "-4", "route"], ["ip", "-4", "addr"], ["iptables", "-w", "-S"]):
            parts.append("$ %s\n%s" % (" ".join(argv), run(argv).stdout.rstrip()))
        parts.append("processes: %s" % {n: processes({n}) for n in ("openvpn", "stunnel4", "kestrova-dns",
                                                                     "kestrova-cli")})
        try:
            with open(CLIENT_LOG, errors="replace") as f:
                parts.append("client log:\n" + "".join(f.readlines()[-lines:]).rstrip())
        except OSError:
            pass
        return "\n".join(parts)

    def run_sequence(self, steps, verbose=True):
        """None when every invariant held, else (failing step index, Failure)."""
        self.reset()
        self.check(True)
        for i, step in enumerate(steps):
            if verbose:
                log("  step %d: %s" % (i + 1, step))
            try:
                self.do(step)
                time.sleep(step.wait)
                self.check(False)
            except Failure as f:
                if verbose:
                    log("diagnostics:\n" + self.diagnostics())
                return i, f
            except subprocess.TimeoutExpired as e:
                return i, Failure("commands end", "%s did not end" % e.cmd)
        try:
            self.lab.reap(CLI_TIMEOUT)
            if self.lab.pending:
                return len(steps) - 1, Failure("commands end", "%s did not end" % self.lab.pending[0][0])
            self.check(True)
            self.quit_engine()
            self.check_nothing_left("quit")
        except Failure as f:
            return len(steps) - 1, f
        return None


def shrink(test, steps, failure, budget_runs, budget_s):
    """The shortest sub-sequence found that fails the same invariant."""
    best = steps
    start = time.monotonic()
    runs = 0

    def fails(candidate):
        nonlocal runs
        runs += 1
        log("shrink run %d: %d steps: %s" % (runs, len(candidate), format_sequence(candidate)))
        outcome = test.run_sequence(candidate, verbose=False)
        if outcome and outcome[1].invariant == failure.invariant:
            return candidate[:outcome[0] + 1]
        return None

    chunk = max(1, len(best) // 2)
    while chunk >= 1:
        i = 0
        while i < len(best):
            if runs >= budget_runs or time.monotonic() - start > budget_s:
                return best
            candidate = best[:i] + best[i + chunk:]
            shorter = fails(candidate) if candidate else None
            if shorter is not None:
                best = shorter
            else:
                i += chunk
        chunk //= 2
    return best


def queued_seeds(fd):
    """Seeds taken one at a time from a queue several runs share: the file
    behind the inherited descriptor holds "next last". It is opened again for
    every seed, so that each run locks through a description of its own; the
    path it was opened by may be hidden under this run's private mounts."""
    while True:
        with open("/proc/self/fd/%d" % fd, "r+") as f:
            fcntl.flock(f, fcntl.LOCK_EX)
            fields = f.read().split()
            following, last = int(fields[0]), int(fields[1])
            if following > last:
                return
            f.seek(0)
            f.truncate()
            f.write("%d %d\n" % (following + 1, last))
        yield following


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--daemon", required=True)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=1)
    parser.add_argument("--queue-fd", type=int,
                        help="take the seeds from the queue file open on this descriptor instead")
    parser.add_argument("--min-steps", type=int, default=20)
    parser.add_argument("--max-steps", type=int, default=50)
    parser.add_argument("--max-wait", type=float, default=2.0)
    parser.add_argument("--settle", type=float, default=120)
    parser.add_argument("--sequence", action="append", default=[],
                        help="a fixed sequence (op[=arg]@wait, ...), run before the seeds")
    parser.add_argument("--no-shrink", action="store_true")
    parser.add_argument("--shrink-runs", type=int, default=40)
    parser.add_argument("--shrink-seconds", type=float, default=1800)
    args = parser.parse_args()

    lab = Lab(args.daemon, args.cli)
    capture = Capture()
    prober = Prober()
    test = Lifecycle(lab, capture, args.settle)
    fixed = [("fixed %d" % (i + 1), parse_sequence(text)) for i, text in enumerate(args.sequence)]
    seeds = (queued_seeds(args.queue_fd) if args.queue_fd is not None else
             range(args.seed, args.seed + args.count))

    def runs():
        yield from fixed
        for seed in seeds:
            yield "seed %d" % seed, generate(seed, args.min_steps, args.max_steps, args.max_wait)

    failed = []
    ran = 0
    started = time.monotonic()
    for name, steps in runs():
        ran += 1
        log("%s: %d steps: %s" % (name, len(steps), format_sequence(steps)))
        begun = time.monotonic()
        try:
            outcome = test.run_sequence(steps)
        except Exception as e:  # the start or the harness: recorded; the next one starts clean
            failure = e if isinstance(e, Failure) else Failure("harness", repr(e))
            log("%s: FAILED: %s" % (name, failure))
            failed.append((name, failure, steps))
            continue
        if outcome is None:
            log("%s: passed (%.0f s)" % (name, time.monotonic() - begun))
            continue
        index, failure = outcome
        log("%s: FAILED at step %d (%s): %s" % (name, index + 1, steps[index], failure))
        shortest = steps[:index + 1]
        if not args.no_shrink:
            try:
                shortest = shrink(test, shortest, failure, args.shrink_runs, args.shrink_seconds)
            except Exception as e:
                log("%s: shrinking stopped in the harness: %r" % (name, e))
        log("%s: shortest failing sequence (%d steps): %s" % (name, len(shortest), format_sequence(shortest)))
        failed.append((name, failure, shortest))
    try:
        test.reset()
        lab.cli_run("quit", timeout=60)
    finally:
        prober.stop = True
        capture.close()
        lab.stop_daemon()
    print("\n== lifecycle report: %d sequence(s), %d failed, %.0f s" % (ran, len(failed), time.monotonic() - started))
    for name, failure, shortest in failed:
        print("FAIL %s: %s" % (name, failure))
        print("  shortest: --sequence '%s'" % format_sequence(shortest))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
