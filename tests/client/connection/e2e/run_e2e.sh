#!/usr/bin/env bash
# Runs the connection engine against the real daemon and the lab's VPN
# servers: in the lab's client namespace, in private mount and pid namespaces
# with tmpfs over the daemon's fixed paths and a temporary file over
# /etc/resolv.conf, so nothing on the host changes and every process started
# here (daemon, openvpn, stunnel) ends with the pid namespace.
#   run_e2e.sh KESTROVAD TEST_PROGRAM [PROGRAM ARGS...]
# The test program runs first without a daemon (its function noDaemon), then
# with the daemon running (the other functions, or those given).
set -euo pipefail
daemon=$(readlink -f "$1")
program=$(readlink -f "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)

skip() {
    echo "SKIP: $*"
    exit 77
}
[ "$(id -u)" -eq 0 ] || skip "needs root"
[ -x "$daemon" ] || skip "kestrovad is not built ($daemon)"
[ -f "$root/lab/lab.sh" ] || skip "lab/lab.sh is missing"
[ -f "$root/lab/vpn/up.sh" ] || skip "the lab has no VPN servers"
ip netns list | awk '{print $1}' | grep -qx kv-client || skip "the lab is not up (lab/lab.sh up)"

if [ "${KV_CONNECTION_E2E_INSIDE:-}" != 1 ]; then
    work=$(mktemp -d /tmp/kv-connection-e2e.XXXXXX)
    # The kill switch works on kv-client's own tables: whatever a failed run
    # leaves there is put back as it was.
    ip netns exec kv-client iptables-save >"$work/rules4"
    ip netns exec kv-client ip6tables-save >"$work/rules6"
    finish() {
        ip netns exec kv-client iptables-restore <"$work/rules4" || true
        ip netns exec kv-client ip6tables-restore <"$work/rules6" || true
        rm -rf "$work"
    }
    trap finish EXIT
    ip netns exec kv-client python3 "$here/fetch_account.py" "$work"
    status=0
    KV_CONNECTION_E2E_INSIDE=1 KV_E2E_DATA="$work" ip netns exec kv-client \
        unshare --mount --propagation private --pid --fork --mount-proc \
        bash "$0" "$daemon" "$program" "$@" || status=$?
    exit $status
fi

# Inside: process 1 of a fresh pid namespace.
mount -t tmpfs kv-e2e /run
mkdir -p /run/kv-e2e
cp -a "$KV_E2E_DATA/." /run/kv-e2e/
export KV_E2E_DATA=/run/kv-e2e
# The build or source folder may itself be under /tmp, which is hidden next:
# keep copies of what runs from there.
mkdir -p /run/kv-e2e/bin
cp "$daemon" "$program" /run/kv-e2e/bin/
# OpenVPN's up/down script is kestrova-dns, built beside the daemon, linked
# by the script's name as the package installs it.
install -D -m 0755 "$(dirname "$daemon")/dns/kestrova-dns" /run/kv-e2e/libexec/kestrova/kestrova-dns
daemon=/run/kv-e2e/bin/$(basename "$daemon")
program=/run/kv-e2e/bin/$(basename "$program")
mount -t tmpfs -o mode=1777 kv-e2e /tmp
if [ ! -d /usr/share/kestrova ]; then
    mkdir -p /run/kv-overlay/upper /run/kv-overlay/work
    mount -t overlay overlay -o lowerdir=/usr/share,upperdir=/run/kv-overlay/upper,workdir=/run/kv-overlay/work /usr/share
    mkdir -p /usr/share/kestrova
fi
mount -t tmpfs kv-e2e /usr/share/kestrova
mkdir -p /usr/share/kestrova/script
ln -s /usr/libexec/kestrova/kestrova-dns /usr/share/kestrova/script/update-resolv-conf.sh
mkdir -p /run/kv-e2e/libexec-work
mount -t overlay overlay -o lowerdir=/usr/libexec,upperdir=/run/kv-e2e/libexec,workdir=/run/kv-e2e/libexec-work /usr/libexec
printf 'nameserver 203.0.113.53\n' >/run/kv-e2e/resolv.conf
mount --bind /run/kv-e2e/resolv.conf /etc/resolv.conf
mount --bind /dev/null /dev/console
ip link set lo up

echo "== without a daemon"
status=0
"$program" noDaemon || status=1

echo "== with the daemon"
# Started from a shell that is not process 1: a daemon whose parent is
# process 1 does not detach and serves nothing.
bash -c '"$0"; true' "$daemon"
for _ in $(seq 100); do
    if (exec 3<>/dev/tcp/127.0.0.1/23589) 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [ $# -gt 0 ]; then
    "$program" "$@" || status=1
else
    "$program" || status=1
fi
pkill_pid=$(cat /var/run/kestrovad.pid 2>/dev/null || true)
[ -z "$pkill_pid" ] || kill "$pkill_pid" 2>/dev/null || true
exit $status
