#!/usr/bin/env bash
# Runs a page test against the real daemon, both in fresh network, mount and
# pid namespaces: only loopback, tmpfs over the daemon's fixed paths, and
# every process started here ends with the pid namespace. The host's network,
# firewall and files are untouched.
#   run_with_daemon.sh KESTROVAD TEST_PROGRAM [PROGRAM ARGS...]
set -euo pipefail
skip() {
    echo "SKIP: $*"
    exit 77
}

if [ -z "${KV_WITH_DAEMON_INSIDE:-}" ]; then
    [ "$(id -u)" -eq 0 ] || skip "needs root"
    [ -x "$1" ] || skip "kestrovad is not built ($1)"
    KV_WITH_DAEMON_INSIDE=1 exec unshare --net --mount --propagation private --pid --fork --mount-proc \
        bash "$0" "$(readlink -f "$1")" "$(readlink -f "$2")" "${@:3}"
fi

# Process 1 of the new pid namespace.
mount -t tmpfs kv-with-daemon /run
mkdir -p /run/kv/bin
# The build may live under /tmp, which is hidden next.
cp "$1" "$2" /run/kv/bin/
daemon=/run/kv/bin/$(basename "$1")
program=/run/kv/bin/$(basename "$2")
shift 2
mount -t tmpfs -o mode=1777 kv-with-daemon /tmp
if [ ! -d /usr/share/kestrova ]; then
    mkdir -p /run/kv/overlay/upper /run/kv/overlay/work
    mount -t overlay overlay \
        -o lowerdir=/usr/share,upperdir=/run/kv/overlay/upper,workdir=/run/kv/overlay/work /usr/share
    mkdir -p /usr/share/kestrova
fi
mount -t tmpfs kv-with-daemon /usr/share/kestrova
mount --bind /dev/null /dev/console
ip link set lo up

# A daemon whose parent is process 1 does not detach; start it from a shell.
bash -c '"$0"; true' "$daemon"
for _ in $(seq 100); do
    (exec 3<>/dev/tcp/127.0.0.1/23589) 2>/dev/null && break
    sleep 0.1
done
"$program" "$@"
