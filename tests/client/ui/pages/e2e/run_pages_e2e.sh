#!/usr/bin/env bash
# Runs the client's window against a private copy of the lab: the real
# daemon and the test program in the lab's client namespace, in private mount
# and pid namespaces with tmpfs over the daemon's fixed paths and a temporary
# file over /etc/resolv.conf, an X server of their own, and a throw-away home.
# Nothing on the host changes; every process started here ends with the pid
# namespace, and the private lab goes down after the run.
#   run_pages_e2e.sh KESTROVAD TEST_PROGRAM [PROGRAM ARGS...]
set -euo pipefail
skip() {
    echo "SKIP: $*"
    exit 77
}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../../.." && pwd)

if [ -z "${KV_PAGES_E2E_STAGE:-}" ]; then
    [ "$(id -u)" -eq 0 ] || skip "needs root"
    [ -x "$1" ] || skip "kestrovad is not built ($1)"
    [ -f "$root/lab/vpn/up.sh" ] || skip "the lab has no VPN servers"
    command -v Xvfb >/dev/null || skip "Xvfb is not installed"
    command -v stunnel4 >/dev/null || skip "stunnel4 is not installed"
    KV_PAGES_E2E_STAGE=lab exec bash "$root/tests/lab/private-lab.sh" bash "$0" "$(readlink -f "$1")" \
        "$(readlink -f "$2")" "${@:3}"
fi

if [ "$KV_PAGES_E2E_STAGE" = lab ]; then
    # In the private lab's mount namespace, host network: move into kv-client.
    KV_PAGES_E2E_STAGE=client exec ip netns exec kv-client \
        unshare --mount --propagation private --pid --fork --mount-proc bash "$0" "$@"
fi

# Process 1 of a fresh pid namespace in kv-client.
daemon=$1
program=$2
shift 2
ca=$KESTROVA_LAB_RUN/pki/ca.crt
[ -f "$ca" ] || { echo "no lab CA at $ca" >&2; exit 1; }
mount -t tmpfs kv-pages-e2e /run
mkdir -p /run/kv-pages/home /run/kv-pages/bin
chmod 0700 /run/kv-pages
# Copies of what is needed, since the build may live under /tmp.
cp "$ca" /run/kv-pages/ca.crt
cp "$daemon" "$program" "$root/client/connection/update-resolv-conf.sh" /run/kv-pages/bin/
daemon=/run/kv-pages/bin/$(basename "$daemon")
program=/run/kv-pages/bin/$(basename "$program")
mount -t tmpfs -o mode=1777 kv-pages-e2e /tmp
if [ ! -d /usr/share/kestrova ]; then
    mkdir -p /run/kv-overlay/upper /run/kv-overlay/work
    mount -t overlay overlay -o lowerdir=/usr/share,upperdir=/run/kv-overlay/upper,workdir=/run/kv-overlay/work \
        /usr/share
    mkdir -p /usr/share/kestrova
fi
mount -t tmpfs kv-pages-e2e /usr/share/kestrova
mkdir -p /usr/share/kestrova/script
install -m 0755 /run/kv-pages/bin/update-resolv-conf.sh /usr/share/kestrova/script/update-resolv-conf.sh
printf 'nameserver 203.0.113.53\n' >/run/kv-pages/resolv.conf
mount --bind /run/kv-pages/resolv.conf /etc/resolv.conf
mount --bind /dev/null /dev/console
ip link set lo up

# A daemon whose parent is process 1 does not detach; start it from a shell.
bash -c '"$0"; true' "$daemon"
for _ in $(seq 100); do
    if (exec 3<>/dev/tcp/127.0.0.1/23589) 2>/dev/null; then
        break
    fi
    sleep 0.1
done

Xvfb :7 -nolisten tcp -screen 0 1024x768x24 >/run/kv-pages/xvfb.log 2>&1 &
for _ in $(seq 100); do
    [ -e /tmp/.X11-unix/X7 ] && break
    sleep 0.1
done

status=0
env -i PATH="$PATH" HOME=/run/kv-pages/home XDG_CONFIG_HOME=/run/kv-pages/home/.config \
    XDG_DATA_HOME=/run/kv-pages/home/.local/share XDG_RUNTIME_DIR=/run/kv-pages \
    DISPLAY=:7 QT_QPA_PLATFORM=xcb \
    KESTROVA_API_URL=https://192.0.2.100 KESTROVA_SITE_URL=https://www.lab.test \
    KESTROVA_CA_FILE=/run/kv-pages/ca.crt \
    "$program" "$@" || status=$?
exit $status
