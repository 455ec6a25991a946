#!/usr/bin/env bash
# The package's postrm on its own, in a private network and mount namespace:
# it takes away exactly the kill-switch rules a stopped daemon left (from the
# files in /usr/share/kestrova, given here by a private mount), puts back the
# user's policies and IPv6 filter table, and touches nothing when no kill
# switch was on or the state file is not the daemon's.
#   test_postrm_firewall.sh PATH-TO-postrm
set -euo pipefail
if [ "${KV_POSTRM_INSIDE:-}" != 1 ]; then
    [ "$(id -u)" = 0 ] || { echo "SKIP: needs root"; exit 77; }
    exec env KV_POSTRM_INSIDE=1 unshare --mount --propagation private --net bash "$0" "$@"
fi
postrm=$(realpath "$1")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
dir=/usr/share/kestrova
# Private /run, /tmp and /usr/share: postrm also removes the daemon's pid
# and socket-id files there. (A private, empty /usr/share/kestrova even where
# the folder does not exist.)
script=$(cat "$postrm")
mount -t tmpfs kv-postrm /run
mount -t tmpfs kv-postrm /tmp
mount -t tmpfs kv-postrm /usr/share
postrm=/run/postrm
printf '%s\n' "$script" >"$postrm"
mkdir -p "$dir"

user_rules() {
    iptables -w -F
    ip6tables -w -F
    iptables -w -P INPUT ACCEPT
    iptables -w -P OUTPUT ACCEPT
    iptables -w -P FORWARD DROP # the user's own choice, to be kept
    iptables -w -A INPUT -s 203.0.113.7 -j DROP
    ip6tables -w -P INPUT ACCEPT
    ip6tables -w -P OUTPUT ACCEPT
    ip6tables -w -P FORWARD ACCEPT
    ip6tables -w -A INPUT -s 2001:db8:5::/48 -j DROP
}

# The daemon's files as it leaves them with everything on.
kill_switch_files() {
    iptables-save >"$dir/iptables.rules"
    ip6tables-save >"$dir/ip6tables.rules"
    cat >"$dir/fw.sh" <<'EOS'
#!/bin/sh
exec iptables-restore --noflush <<'RULES'
*filter
:KESTROVA-DNS - [0:0]
-A KESTROVA-DNS -o lo -j RETURN
-A KESTROVA-DNS -o tun0 -j RETURN
-A KESTROVA-DNS -j DROP
-A FORWARD -i lo -j ACCEPT
-A INPUT -i lo -j ACCEPT
-A OUTPUT -o lo -j ACCEPT
-A FORWARD -i tun0 -j ACCEPT
-A INPUT -i tun0 -j ACCEPT
-A OUTPUT -o tun0 -j ACCEPT
-A OUTPUT -p udp --dport 53 -j KESTROVA-DNS
-A OUTPUT -p tcp --dport 53 -j KESTROVA-DNS
-A OUTPUT -d 192.0.2.10 -j ACCEPT
-A INPUT -s 192.0.2.10 -j ACCEPT
#other drop
:INPUT DROP [0:0]
:OUTPUT DROP [0:0]
:FORWARD DROP [0:0]
COMMIT
RULES
EOS
    cat >"$dir/fw_dns.sh" <<'EOS'
#!/bin/sh
# Enable DNS
exec iptables-restore --noflush <<'RULES'
*filter
:KESTROVA-DNS - [0:0]
#dhcp
-A OUTPUT -p udp --sport 68 --dport 67 -j ACCEPT
-A INPUT -p udp --sport 67 --dport 68 -j ACCEPT
# dns server ports ##
-A OUTPUT -p udp --dport 53 -j ACCEPT
-A INPUT -p udp --sport 53 -j ACCEPT
-A OUTPUT -p tcp --dport 53 -j ACCEPT
-A INPUT -p tcp --sport 53 -j ACCEPT
COMMIT
RULES
EOS
    cat >"$dir/fw_local_devs.sh" <<'EOS'
#!/bin/sh
exec iptables-restore --noflush <<'RULES'
*filter
-A INPUT -s 192.168.0.0/16 -j ACCEPT
-A OUTPUT -d 192.168.0.0/16 -j ACCEPT
COMMIT
RULES
EOS
    sh "$dir/fw.sh" && sh "$dir/fw_dns.sh" && sh "$dir/fw_local_devs.sh"
    printf '*filter\n:INPUT DROP [0:0]\n:FORWARD DROP [0:0]\n:OUTPUT DROP [0:0]\nCOMMIT\n' | ip6tables-restore -w
}

state() { # ipv4 ipv6 lan dns-opened
    printf 'kestrova-firewall-state 1\nipv4Blocked %s\nipv6Blocked %s\nlocalDevicesAllowed %s\ndnsBlocked 0\ndnsOpened %s\ninterface tun0\naddresses 192.0.2.10\n' \
        "$1" "$2" "$3" "$4" >"$dir/firewall.state"
}

echo "== everything on, then removal"
user_rules
kill_switch_files
state 1 1 1 1
# A rule the user added while the kill switch was on stays too.
iptables -w -A OUTPUT -d 203.0.113.99 -j REJECT
# The guard of a management port, whose openvpn ended with the service.
printf '*raw\n:KESTROVA-MGMT - [0:0]\n-A KESTROVA-MGMT -p tcp --dport 41000 --syn -j DROP\nCOMMIT\n' |
    iptables-restore -w --noflush
iptables -w -t raw -I OUTPUT 1 -o lo -p tcp -j KESTROVA-MGMT
sh "$postrm" remove
[ "$(iptables -w -t raw -S)" = "$(printf -- '-P PREROUTING ACCEPT\n-P OUTPUT ACCEPT')" ] ||
    fail "management port guards left: $(iptables -w -t raw -S)"
v4=$(iptables -w -S)
v6=$(ip6tables -w -S)
[ "$(grep -c -- '^-A' <<<"$v4")" = 2 ] || fail "expected only the user's two IPv4 rules: $v4"
! grep -q -- 'KESTROVA-DNS' <<<"$v4" || fail "the DNS chain was left: $v4"
grep -q -- '-A INPUT -s 203.0.113.7/32 -j DROP' <<<"$v4" || fail "user's rule lost: $v4"
grep -q -- '-A OUTPUT -d 203.0.113.99/32 -j REJECT' <<<"$v4" || fail "rule added later lost: $v4"
grep -q -- '-P INPUT ACCEPT' <<<"$v4" && grep -q -- '-P OUTPUT ACCEPT' <<<"$v4" || fail "policies: $v4"
grep -q -- '-P FORWARD DROP' <<<"$v4" || fail "the user's FORWARD policy was not put back: $v4"
grep -q -- '-A INPUT -s 2001:db8:5::/48 -j DROP' <<<"$v6" || fail "user's IPv6 table not put back: $v6"
grep -q -- '-P OUTPUT ACCEPT' <<<"$v6" || fail "IPv6 policies: $v6"
[ ! -e "$dir/firewall.state" ] || fail "state file kept: a second run would act again"

echo "== a second run changes nothing"
iptables -w -P FORWARD ACCEPT
sh "$postrm" purge
iptables -w -S | grep -q -- '-P FORWARD ACCEPT' || fail "a later run touched the policies"
[ ! -e "$dir" ] || fail "purge left $dir"
mkdir -p "$dir"

echo "== no kill switch on: nothing is touched"
user_rules
kill_switch_files
state 0 0 0 0
before=$(iptables -w -S; ip6tables -w -S)
sh "$postrm" remove
[ "$(iptables -w -S; ip6tables -w -S)" = "$before" ] || fail "rules changed with the kill switch off"

echo "== a state file that is not the daemon's: nothing is touched"
echo "something else" >"$dir/firewall.state"
sh "$postrm" remove
[ "$(iptables -w -S; ip6tables -w -S)" = "$before" ] || fail "rules changed for a foreign state file"
echo PASS
