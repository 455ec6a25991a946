#!/usr/bin/env bash
# Runs the client's window against a private copy of the lab: the real
# daemon and the test program in the lab's client namespace, in private mount
# and pid namespaces with tmpfs over the daemon's fixed paths and a temporary
# file over /etc/resolv.conf, an X server of their own, and a throw-away home.
# Nothing on the host changes; every process started here ends with the pid
# namespace, and the private lab goes down after the run.
# The fake service offers a newer version; the daemon's update job then runs
# with stand-ins for dpkg, systemctl and su, which only write down how they
# were called, and for loginctl, which puts a user in front, on the run's X
# display.
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
    command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"
    work=$(mktemp -d /tmp/kv-pages-e2e.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    # The package the service offers: a real one of the right name.
    mkdir -p "$work/pkg/DEBIAN"
    printf 'Package: kestrova\nVersion: 9.9.9\nArchitecture: all\nMaintainer: lab <lab@lab.test>\nDescription: lab update\n' \
        >"$work/pkg/DEBIAN/control"
    dpkg-deb --build "$work/pkg" "$work/kestrova_9.9.9_all.deb" >/dev/null
    status=0
    KV_PAGES_E2E_STAGE=lab \
        KESTROVA_LAB_SERVICE_ARGS="--update-version 9.9.9 --update-file $work/kestrova_9.9.9_all.deb" \
        bash "$root/tests/lab/private-lab.sh" bash "$0" "$(readlink -f "$1")" "$(readlink -f "$2")" "${@:3}" ||
        status=$?
    exit $status
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
cp "$daemon" "$program" /run/kv-pages/bin/
# OpenVPN's up/down script hands its work to kestrova-dns, built beside the
# daemon.
install -D -m 0755 "$(dirname "$daemon")/dns/kestrova-dns" /run/kv-pages/libexec/kestrova/kestrova-dns
daemon=/run/kv-pages/bin/$(basename "$daemon")
program=/run/kv-pages/bin/$(basename "$program")
# The command line, which the test runs as a user at a terminal would.
cli=""
if [ -n "${KV_PAGES_E2E_CLI:-}" ]; then
    cp "$KV_PAGES_E2E_CLI" /run/kv-pages/bin/kestrova-cli
    # The front (status, and a connect's wait for its new session) and the
    # whole program, which kestrova-cli becomes.
    for part in kestrova-cli kestrova-cli-front; do
        install -D -m 0755 "$(dirname "$KV_PAGES_E2E_CLI")/../libexec/kestrova/$part" \
            /run/kv-pages/libexec/kestrova/$part
    done
    cli=/run/kv-pages/bin/kestrova-cli
fi
mount -t tmpfs -o mode=1777 kv-pages-e2e /tmp
if [ ! -d /usr/share/kestrova ]; then
    mkdir -p /run/kv-overlay/upper /run/kv-overlay/work
    mount -t overlay overlay -o lowerdir=/usr/share,upperdir=/run/kv-overlay/upper,workdir=/run/kv-overlay/work \
        /usr/share
    mkdir -p /usr/share/kestrova
fi
mount -t tmpfs kv-pages-e2e /usr/share/kestrova
mkdir -p /usr/share/kestrova/script
ln -s /usr/libexec/kestrova/kestrova-dns /usr/share/kestrova/script/update-resolv-conf.sh
mkdir -p /run/kv-pages/libexec-work
mount -t overlay overlay -o lowerdir=/usr/libexec,upperdir=/run/kv-pages/libexec,workdir=/run/kv-pages/libexec-work \
    /usr/libexec
printf 'nameserver 203.0.113.53\n' >/run/kv-pages/resolv.conf
mount --bind /run/kv-pages/resolv.conf /etc/resolv.conf
mount --bind /dev/null /dev/console
ip link set lo up

# Stand-ins for what the update job runs; the rest is the real system's.
stubs=/run/kv-pages/stubs
mkdir -p $stubs
for tool in dpkg systemctl su; do
    printf '#!/bin/sh\necho "%s $*" >>/run/kv-pages/stub.log\n' "$tool" >$stubs/$tool
done
# The desktop's user on the X server of this run, as logind would report
# the active session: the job starts the client for nobody else.
cat >$stubs/loginctl <<'EOS'
#!/bin/sh
case "$1 $3" in
    "show-seat --property=ActiveSession") echo c1 ;;
    "show-session --property=Name") echo tester ;;
    "show-session --property=Display") echo :7 ;;
esac
EOS
chmod 0755 $stubs/*

# A daemon whose parent is process 1 does not detach; start it from a shell.
PATH=$stubs:$PATH bash -c '"$0"; true' "$daemon"
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
    KESTROVA_CA_FILE=/run/kv-pages/ca.crt KESTROVA_CLI="$cli" \
    "$program" "$@" || status=$?

# A benchmark run through this harness takes no update.
[ "${KV_PAGES_E2E_NO_UPDATE:-}" != 1 ] || exit $status
# The client has handed the package over and quit; the job starts 5 s later.
for _ in $(seq 150); do
    grep -q '^su .*kestrova' /run/kv-pages/stub.log 2>/dev/null && break
    sleep 0.1
done
echo "== update job:"
cat /run/kv-pages/stub.log 2>/dev/null || true
grep -q '^dpkg -i "\?/usr/share/kestrova/update/kestrova-update.deb' /run/kv-pages/stub.log 2>/dev/null || {
    echo "FAIL: the update job did not install the handed-over package"
    status=1
}
# Started for the desktop's user.
grep -q '^su -l tester -c kestrova' /run/kv-pages/stub.log 2>/dev/null || {
    echo "FAIL: the update job did not start the client again"
    status=1
}
exit $status
