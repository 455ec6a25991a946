#!/usr/bin/env bash
# README's demo command, headless, against a private copy of the lab: it
# brings up the lab, the daemon and the client in kv-client without touching
# this machine's /run; the client connects by itself with the kill switch on,
# and "down" leaves no process, namespace or rule.
#   test_demo.sh BUILD_DIR
set -euo pipefail
if [ "${KV_DEMO_TEST_INSIDE:-}" != 1 ]; then
    [ "$(id -u)" = 0 ] || { echo "SKIP: needs root"; exit 77; }
    exec env KV_DEMO_TEST_INSIDE=1 unshare --mount --propagation private bash "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -f "$root/lab/lab.sh" ] || { echo "SKIP: no lab in this tree"; exit 77; }
# Fresh namespace names, invisible to the shared lab and other copies.
mkdir -p /run/netns /etc/netns
mount -t tmpfs kv-demo-test /run/netns
mount -t tmpfs kv-demo-test /etc/netns
run=$(mktemp -d /tmp/kv-demo-test.XXXXXX)
build=$(cd "$1" && pwd)
export KESTROVA_LAB_RUN=$run KESTROVA_DEMO_BUILD=$build KESTROVA_DEMO_NO_BUILD=1
unset DISPLAY
finish() {
    timeout 60 bash "$root/scripts/demo.sh" down >/dev/null 2>&1 || true
    rm -rf "$run"
}
trap finish EXIT
[ ! -e /run/kestrovad.pid ] || fail "a kestrovad pid file is already in this machine's /run"

echo "== demo up"
timeout 180 bash "$root/scripts/demo.sh" up >"$run/up.log" 2>&1 || { cat "$run/up.log" >&2; fail "demo up failed"; }
grep -q 'scripts/demo.sh down' "$run/up.log" || fail "no word on how to take it down"
reply=$(ip netns exec kv-client python3 "$here/kvcommand.py" 5) || fail "no daemon answers in kv-client"
[ "$reply" = 1 ] || fail "daemon reply $reply"
status=$(bash "$root/scripts/demo.sh" status)
grep -q '^kestrovad: running' <<<"$status" || fail "status: $status"
grep -q '^kestrova: running' <<<"$status" || fail "status: $status"
# The client signed in with the demo account, from the client namespace.
grep -q '"login", "single"' "$run/service/requests.log" || fail "the client did not sign in"
grep -q '"client": "198.51.100.2"' "$run/service/requests.log" || fail "the sign-in did not come from kv-client"
for shot in 01-signed-in 02-connected; do
    [ -s "$run/demo-screenshots/$shot.png" ] || fail "no screenshot $shot"
done
# Connected by itself: tun0 up in kv-client, the summary names its address,
# and a request to the lab's internet host goes through it.
ip -n kv-client link show tun0 | grep -q 'UP' || fail "no tun0 up in kv-client"
address=$(ip -n kv-client -4 -o addr show dev tun0 | awk '{print $4}')
grep -qF "tunnel address $address on tun0" "$run/up.log" || fail "the summary does not give the tunnel address"
# The command line reached the window's connection.
grep -qF "kestrova-cli status: connected to Amsterdam over udp, tunnel address ${address%/*}, kill switch on" \
    "$run/up.log" || fail "the summary has no kestrova-cli status line of the window's connection"
grep -q 'curl -s http://203.0.113.10:8080/; ip -s link show tun0; iptables -S' "$run/up.log" ||
    fail "the summary gives no command to see the traffic and the rules"
before=$(ip netns exec kv-client cat /sys/class/net/tun0/statistics/tx_bytes)
ip netns exec kv-client curl -s -m 10 http://203.0.113.10:8080/ | grep -q 'lab target' ||
    fail "no answer from the lab's internet host"
after=$(ip netns exec kv-client cat /sys/class/net/tun0/statistics/tx_bytes)
[ "$after" -gt "$before" ] || fail "the request did not go through tun0"
# The kill switch is on: the output policy drops and only tun0 is let out.
rules=$(ip netns exec kv-client iptables -S OUTPUT)
grep -q '^-P OUTPUT DROP' <<<"$rules" || fail "kill switch off: $rules"
grep -q -- '-o tun0 -j ACCEPT' <<<"$rules" || fail "no rule for tun0: $rules"
[ ! -e /run/kestrovad.pid ] || fail "the demo's daemon wrote into this machine's /run"

echo "== demo down"
pids=$(cat "$run/demo/"*.pid)
timeout 60 bash "$root/scripts/demo.sh" down >"$run/down.log" 2>&1 || { cat "$run/down.log" >&2; fail "demo down failed"; }
for pid in $pids; do
    [ ! -d "/proc/$pid" ] || fail "pid $pid ($(cat "/proc/$pid/comm")) outlived demo down"
done
[ -z "$(ip netns list)" ] || fail "namespaces left: $(ip netns list)"
echo PASS
