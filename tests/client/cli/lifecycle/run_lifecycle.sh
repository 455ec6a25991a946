#!/usr/bin/env bash
# Runs the randomized lifecycle test (lifecycle.py) against a private copy of
# the lab: the real daemon, kestrova-cli's background session, real OpenVPN
# and stunnel, in the lab's client namespace, in private mount and pid
# namespaces with tmpfs over the daemon's fixed paths, a temporary file over
# /etc/resolv.conf and a stand-in timedatectl that only writes the zone down.
# Nothing on the host changes; every process started here ends with the pid
# namespace, and the private lab goes down after the run.
#   run_lifecycle.sh KESTROVAD KESTROVA_CLI [lifecycle.py ARGS...]
set -euo pipefail
skip() {
    echo "SKIP: $*"
    exit 77
}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)

if [ -z "${KV_LIFECYCLE_STAGE:-}" ]; then
    [ $# -ge 2 ] || {
        echo "usage: $0 KESTROVAD KESTROVA_CLI [ARGS...]" >&2
        exit 2
    }
    [ "$(id -u)" -eq 0 ] || skip "needs root"
    [ -x "$1" ] || skip "kestrovad is not built ($1)"
    [ -x "$2" ] || skip "kestrova-cli is not built ($2)"
    [ -f "$root/lab/vpn/up.sh" ] || skip "the lab has no VPN servers"
    for tool in openvpn stunnel4 tcpdump iptables; do
        command -v $tool >/dev/null || skip "$tool is not installed"
    done
    status=0
    KV_LIFECYCLE_STAGE=lab bash "$root/tests/lab/private-lab.sh" bash "$0" "$(readlink -f "$1")" \
        "$(readlink -f "$2")" "${@:3}" || status=$?
    exit $status
fi

if [ "$KV_LIFECYCLE_STAGE" = lab ]; then
    # In the private lab's mount namespace, host network: move into kv-client.
    KV_LIFECYCLE_STAGE=client exec ip netns exec kv-client \
        unshare --mount --propagation private --pid --fork --mount-proc bash "$0" "$@"
fi

# Process 1 of a fresh pid namespace in kv-client.
daemon=$1
cli=$2
shift 2
ca=$KESTROVA_LAB_RUN/pki/ca.crt
[ -f "$ca" ] || {
    echo "no lab CA at $ca" >&2
    exit 1
}
w=/run/kv-life
mount -t tmpfs kv-lifecycle /run
mkdir -p $w/home $w/bin $w/state
chmod 0700 $w
cp "$ca" $w/ca.crt
# Copies of what runs, since the build may live under /tmp.
cp "$daemon" "$cli" "$here/lifecycle.py" $w/bin/
install -D -m 0755 "$(dirname "$daemon")/dns/kestrova-dns" $w/libexec/kestrova/kestrova-dns
# The front (status, and a connect's wait for its new session) and the whole
# program, which kestrova-cli becomes.
for part in kestrova-cli kestrova-cli-front; do
    install -D -m 0755 "$(dirname "$cli")/../libexec/kestrova/$part" $w/libexec/kestrova/$part
done
mount -t tmpfs -o mode=1777 kv-lifecycle /tmp
if [ ! -d /usr/share/kestrova ]; then
    mkdir -p $w/overlay/upper $w/overlay/work
    mount -t overlay overlay -o lowerdir=/usr/share,upperdir=$w/overlay/upper,workdir=$w/overlay/work /usr/share
    mkdir -p /usr/share/kestrova
fi
mount -t tmpfs kv-lifecycle /usr/share/kestrova
mkdir -p /usr/share/kestrova/script
ln -s /usr/libexec/kestrova/kestrova-dns /usr/share/kestrova/script/update-resolv-conf.sh
mkdir -p $w/libexec-work
mount -t overlay overlay -o lowerdir=/usr/libexec,upperdir=$w/libexec,workdir=$w/libexec-work /usr/libexec
printf 'nameserver 203.0.113.53\n' >$w/resolv.conf
mount --bind $w/resolv.conf /etc/resolv.conf
mount --bind /dev/null /dev/console
# The daemon sets the zone with timedatectl: here it only writes it down.
printf '#!/bin/sh\n[ "$1" = set-timezone ] && printf "%%s\\n" "$2" >>%s/timezone.log\nexit 0\n' $w >$w/bin/timedatectl
chmod 0755 $w/bin/timedatectl
mount --bind $w/bin/timedatectl "$(command -v timedatectl || echo /usr/bin/timedatectl)"
ip link set lo up

# The build, and so the working folder, may be under the /tmp just hidden.
cd $w
status=0
env -i PATH="$PATH" HOME=$w/home XDG_CONFIG_HOME=$w/home/.config XDG_DATA_HOME=$w/home/.local/share \
    XDG_RUNTIME_DIR=$w KESTROVA_API_URL=https://192.0.2.100 KESTROVA_SITE_URL=https://www.lab.test \
    KESTROVA_CA_FILE=$w/ca.crt KV_LIFECYCLE_DIR=$w \
    python3 $w/bin/lifecycle.py --daemon $w/bin/"$(basename "$daemon")" --cli $w/bin/"$(basename "$cli")" \
    "$@" || status=$?
exit $status
