#!/usr/bin/env bash
# Installs the package into a throw-away Debian root, runs its service there
# with the kill switch on, and removes and purges it again:
#   - every packaged file is in place, the service is enabled and started by
#     the maintainer scripts, the daemon answers and runs monitor and worker;
#   - upgrading with dpkg -i stops the old daemon first and starts the new one;
#   - a daemon that dies with the kill switch on leaves rules that removal
#     takes away, while the user's own rule stays;
#   - after purge, nothing is left that was not there before.
#   test_install.sh PACKAGE_DIR
set -euo pipefail
source "$(dirname "$0")/rootlib.sh"
enter_namespaces "$@"

packages=$(cd "$1" && pwd)
make_root "$packages"
deb=/mnt/packages/kestrova_3.6.9_amd64.deb

before=$KV_WORK/before.txt
snapshot >"$before"

step "dpkg -i into the throw-away root"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root DEBIAN_FRONTEND=noninteractive \
    dpkg -i "$deb" || fail "dpkg -i failed"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root DEBIAN_FRONTEND=noninteractive \
    apt-get install -f -y -q --no-download >/dev/null || fail "apt-get install -f failed"
[ "$(package_version)" = "installed 3.6.9" ] || fail "package state: $(package_version)"

step "files"
expect_file() { # path mode
    local got
    got=$(stat -c %a "$ROOT$1" 2>/dev/null) || fail "missing $1"
    [ "$got" = "$2" ] || fail "$1 has mode $got, expected $2"
    [ "$(stat -c %U:%G "$ROOT$1")" = root:root ] || fail "$1 is not owned by root"
}
expect_file /usr/bin/kestrova 755
expect_file /usr/bin/kestrova-cli 755
expect_file /usr/share/bash-completion/completions/kestrova-cli 644
expect_file /usr/share/man/man1/kestrova-cli.1.gz 644
expect_file /usr/sbin/kestrovad 755
# OpenVPN's up and down script is the program itself, by a link: no shell
# starts on every connect.
[ "$(readlink "$ROOT/usr/share/kestrova/script/update-resolv-conf.sh")" = ../../../libexec/kestrova/kestrova-dns ] ||
    fail "update-resolv-conf.sh is not a link to kestrova-dns"
expect_file /usr/libexec/kestrova/kestrovad-service 755
expect_file /usr/libexec/kestrova/kestrova-dns 755
expect_file /usr/libexec/kestrova/kestrova-cli 755
expect_file /usr/libexec/kestrova/kestrova-cli-front 755
expect_file /lib/systemd/system/kestrovad.service 644
expect_file /usr/share/applications/net.kestrova.Kestrova.desktop 644
expect_file /usr/share/metainfo/net.kestrova.Kestrova.metainfo.xml 644
expect_file /usr/share/icons/hicolor/scalable/apps/kestrova.svg 644
expect_file /usr/share/man/man1/kestrova.1.gz 644
expect_file /usr/share/man/man8/kestrovad.8.gz 644
in_root dpkg -L kestrova | while read -r path; do
    [ -e "$ROOT$path" ] || fail "dpkg lists $path, which is not there"
done
# Every library the programs need is in the root (the dependencies are right).
for program in /usr/bin/kestrova /usr/bin/kestrova-cli /usr/libexec/kestrova/kestrova-cli \
    /usr/libexec/kestrova/kestrova-cli-front /usr/sbin/kestrovad; do
    if in_root ldd "$program" | grep -q 'not found'; then
        in_root ldd "$program" >&2
        fail "$program misses libraries"
    fi
done
# The command line runs where no display is: no widget library at all.
! in_root ldd /usr/libexec/kestrova/kestrova-cli | grep -q libQt5Widgets || fail "kestrova-cli links Qt Widgets"
# What the user runs loads no library but libc: a connect starts its
# background session before anything else is loaded.
! in_root ldd /usr/bin/kestrova-cli | grep -vE 'linux-vdso|ld-linux|libc\.so' | grep -q . ||
    fail "kestrova-cli loads more than libc: $(in_root ldd /usr/bin/kestrova-cli)"
# Its front answers a status with QtCore alone.
! in_root ldd /usr/libexec/kestrova/kestrova-cli-front | grep -qE 'libQt5Network|libqt5keychain' ||
    fail "kestrova-cli's front loads more than a status needs"
in_root kestrova-cli --version | grep -q '^kestrova-cli ' || fail "kestrova-cli does not run"

step "service enabled and started by postinst"
[ -L "$ROOT/etc/systemd/system/multi-user.target.wants/kestrovad.service" ] || fail "service not enabled"
grep -q 'start kestrovad.service' "$ROOT/run/fake-systemctl.log" || fail "postinst did not start the service"
wait_for_daemon 100 || { cat "$ROOT/run/kestrovad-service.log" >&2; fail "daemon does not answer"; }
monitor=$(monitor_pid) || fail "no live pid in /run/kestrovad.pid"
[ "$(cat "/proc/$monitor/comm")" = kestrovad ] || fail "pid file names $(cat "/proc/$monitor/comm")"
worker=$(pgrep -P "$monitor" -x kestrovad) || fail "the monitor runs no worker"

step "upgrade with dpkg -i while the service runs"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root DEBIAN_FRONTEND=noninteractive \
    dpkg -i /mnt/packages/kestrova_3.6.10_amd64.deb >/dev/null || fail "upgrade failed"
[ "$(package_version)" = "installed 3.6.10" ] || fail "package state after upgrade: $(package_version)"
# The old daemon was stopped before its files were replaced, and a new one runs.
! kill -0 "$monitor" 2>/dev/null || fail "the old daemon outlived the upgrade"
wait_for_daemon 100 || fail "no daemon answers after the upgrade"
monitor=$(monitor_pid) || fail "no monitor after the upgrade"
worker=$(pgrep -P "$monitor" -x kestrovad) || fail "the new monitor runs no worker"

step "kill switch on, then the daemon dies without switching it off"
in_root iptables -w -A INPUT -s 203.0.113.7 -j DROP
[ "$(command_result 1 --ips 192.0.2.10 --iface tun0 --flags 11100)" = 1 ] || fail "kill switch refused"
in_root iptables -S | grep -q -- '-P OUTPUT DROP' || fail "kill switch not in force"
in_root iptables -S | grep -q -- '-A OUTPUT -d 192.0.2.10/32 -j ACCEPT' || fail "server not allowed"
in_root ip6tables -S | grep -q -- '-P OUTPUT DROP' || fail "IPv6 not blocked"
in_root iptables -S | grep -q -- '-A OUTPUT -d 192.168.0.0/16 -j ACCEPT' || fail "LAN not allowed"
kill -KILL "$monitor" "$worker"
i=0
while pgrep -x kestrovad >/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
in_root iptables -S | grep -q -- '-P OUTPUT DROP' || fail "the dead daemon's rules should still be in force"

step "dpkg -r"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root dpkg -r kestrova || fail "dpkg -r failed"
[ "$(package_version)" = "config-files 3.6.10" ] || [ -z "$(package_version)" ] ||
    fail "package state after removal: $(package_version)"
[ ! -e "$ROOT/usr/sbin/kestrovad" ] || fail "kestrovad left after removal"
! pgrep -x kestrovad >/dev/null || fail "a daemon process outlived removal"
rules=$(in_root iptables -S)
grep -q -- '-A INPUT -s 203.0.113.7/32 -j DROP' <<<"$rules" || fail "the user's own rule was removed"
for left in 192.0.2.10 192.168.0.0/16 'dport 53' 'sport 68' '-i lo' '-i tun0'; do
    ! grep -q -- "$left" <<<"$rules" || fail "kill-switch rule ($left) left: $rules"
done
for chain in INPUT OUTPUT FORWARD; do
    grep -q -- "-P $chain ACCEPT" <<<"$rules" || fail "IPv4 $chain policy left closed"
    in_root ip6tables -S | grep -q -- "-P $chain ACCEPT" || fail "IPv6 $chain policy left closed"
done

step "dpkg --purge"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root dpkg --purge kestrova || fail "purge failed"
[ -z "$(package_version)" ] || [ "$(package_version)" = "not-installed " ] ||
    fail "package state after purge: $(package_version)"
[ ! -e "$ROOT/usr/share/kestrova" ] || fail "/usr/share/kestrova left after purge"
ls "$ROOT"/var/lib/dpkg/info/kestrova.* >/dev/null 2>&1 && fail "dpkg info files left"
[ ! -e "$ROOT/run/kestrovad_child.pid" ] || fail "/run/kestrovad_child.pid left"
[ ! -e "$ROOT/tmp/kestrovad-socket.id" ] || fail "/tmp/kestrovad-socket.id left"
left=$(comm -13 "$before" <(snapshot))
[ -z "$left" ] || fail "left behind after purge:
$left"
echo "PASS"
