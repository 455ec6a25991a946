#!/usr/bin/env bash
# README's demo command, headless, against a private copy of the lab: it
# brings up the lab, the daemon and the signed-in client in kv-client without
# touching this machine's /run, and "down" leaves no process or namespace.
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
[ ! -e /run/kestrovad.pid ] || fail "the demo's daemon wrote into this machine's /run"

echo "== demo down"
pids=$(cat "$run/demo/"*.pid)
timeout 60 bash "$root/scripts/demo.sh" down >"$run/down.log" 2>&1 || { cat "$run/down.log" >&2; fail "demo down failed"; }
for pid in $pids; do
    [ ! -d "/proc/$pid" ] || fail "pid $pid ($(cat "/proc/$pid/comm")) outlived demo down"
done
[ -z "$(ip netns list)" ] || fail "namespaces left: $(ip netns list)"
echo PASS
