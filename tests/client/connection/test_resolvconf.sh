#!/usr/bin/env bash
# Runs the tunnel's up/down script in a private mount namespace: a temporary
# file is bind-mounted over /etc/resolv.conf and tmpfs over /run and
# /usr/local/sbin (where fake resolvectl and resolvconf programs go), so the
# host's name resolution is never touched.
set -euo pipefail
script=$(readlink -f "$1")

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: needs root for a private mount namespace"
    exit 77
fi
if [ -z "${KESTROVA_PRIVATE_MOUNTS:-}" ]; then
    exec env KESTROVA_PRIVATE_MOUNTS=1 unshare --mount --propagation private -- bash "$0" "$@"
fi

work=$(mktemp -d)
cleanup() {
    umount /etc/resolv.conf 2>/dev/null || true
    umount "$work" 2>/dev/null || true
    rmdir "$work" 2>/dev/null || true
}
trap cleanup EXIT
mount -t tmpfs tmpfs "$work"
mount -t tmpfs tmpfs /run
mount -t tmpfs tmpfs /usr/local/sbin
printf '# the machine own\nnameserver 192.0.2.1\noptions edns0\n' >"$work/original"
cp "$work/original" "$work/resolv.conf"
mount --bind "$work/resolv.conf" /etc/resolv.conf
# Refuse to go on unless /etc/resolv.conf really is the temporary file.
if [ "$(stat -c %d:%i /etc/resolv.conf)" != "$(stat -c %d:%i "$work/resolv.conf")" ]; then
    echo "FAIL: /etc/resolv.conf is not the private copy"
    exit 1
fi

failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "PASS: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
same() { diff -u "$1" "$2"; }
run() {
    # OpenVPN hands the script a small environment of its own.
    local type=$1
    shift
    env -i dev=tun0 script_type="$type" "$@" "$script"
}
pushed=(foreign_option_1="dhcp-option DNS 203.0.113.53"
    foreign_option_2="dhcp-option DOMAIN lab.test"
    foreign_option_3="dhcp-option DNS6 2001:db8:2::53"
    foreign_option_4="dhcp-option DNS 203.0.113.54;reboot"
    foreign_option_5="dhcp-option DOMAIN \$(id).lab.test")
reset_state() {
    cp "$work/original" /etc/resolv.conf
    rm -rf /run/kestrova /run/systemd /usr/local/sbin/*
}

# Neither systemd-resolved nor resolvconf: the file itself.
if command -v resolvconf >/dev/null 2>&1 && [ "$(command -v resolvconf)" != /usr/local/sbin/resolvconf ]; then
    echo "SKIP: resolvconf is installed on this machine; file case not run"
else
    reset_state
    run up "${pushed[@]}"
    printf '# Written by Kestrova while the VPN tunnel tun0 is up\nnameserver 203.0.113.53\nnameserver 2001:db8:2::53\nsearch lab.test\n' >"$work/want"
    check "up writes only the valid pushed servers and domains" same "$work/want" /etc/resolv.conf
    check "up keeps the machine's own copy" same "$work/original" /run/kestrova/resolv.conf.saved
    run up "${pushed[@]}"
    run down
    check "a restart's second up does not replace the saved copy" same "$work/original" /etc/resolv.conf
    check "down removes the saved copy" test ! -e /run/kestrova/resolv.conf.saved
    check "the mount is still the private file" test "$(stat -c %i /etc/resolv.conf)" = "$(stat -c %i "$work/resolv.conf")"
    run down
    check "down without up changes nothing" same "$work/original" /etc/resolv.conf

    reset_state
    run up foreign_option_1="dhcp-option DOMAIN lab.test"
    check "no servers pushed leaves resolv.conf alone" same "$work/original" /etc/resolv.conf

    reset_state
    check "a device name with a slash is refused" bash -c "! env -i dev=../x script_type=up '$script' 2>/dev/null"
fi

# systemd-resolved running: a fake resolvectl records its calls.
reset_state
cat >/usr/local/sbin/resolvectl <<FAKE
#!/bin/sh
echo "\$*" >>"$work/resolvectl.log"
FAKE
chmod +x /usr/local/sbin/resolvectl
mkdir -p /run/systemd/resolve
python3 -c 'import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' /run/systemd/resolve/io.systemd.Resolve
: >"$work/resolvectl.log"
run up "${pushed[@]}"
printf 'status\ndns tun0 203.0.113.53 2001:db8:2::53\ndomain tun0 ~. lab.test\ndefault-route tun0 yes\n' >"$work/want"
check "resolved: servers on the tunnel with routing domain ~." same "$work/want" "$work/resolvectl.log"
check "resolved: resolv.conf untouched" same "$work/original" /etc/resolv.conf
: >"$work/resolvectl.log"
run down
printf 'status\nrevert tun0\n' >"$work/want"
check "resolved: down reverts the tunnel's setting" same "$work/want" "$work/resolvectl.log"

# No resolved, resolvconf installed.
reset_state
cat >/usr/local/sbin/resolvconf <<FAKE
#!/bin/sh
echo "args: \$*" >>"$work/resolvconf.log"
[ "\$1" != -a ] || cat >>"$work/resolvconf.log"
FAKE
chmod +x /usr/local/sbin/resolvconf
: >"$work/resolvconf.log"
run up "${pushed[@]}"
run down
printf 'args: -a tun0.kestrova\nnameserver 203.0.113.53\nnameserver 2001:db8:2::53\nsearch lab.test\nargs: -d tun0.kestrova\n' >"$work/want"
check "resolvconf: record added on up and removed on down" same "$work/want" "$work/resolvconf.log"
check "resolvconf: resolv.conf untouched" same "$work/original" /etc/resolv.conf

[ "$failures" -eq 0 ]
