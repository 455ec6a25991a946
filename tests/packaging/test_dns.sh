#!/usr/bin/env bash
# Name resolution on a real desktop: a Debian 12 root with NetworkManager
# 1.42 (and, per variant, systemd-resolved 252 or resolvconf 1.91) booted
# under systemd in a container, the package installed, and a real OpenVPN
# tunnel through the installed up/down script to a server outside the
# container, which pushes "redirect-gateway def1" and its own resolver.
#   test_dns.sh PACKAGE_DIR networkmanager|nm-resolved|resolvconf [ROUNDS] [killswitch]
#
# Outside the container (this script's network namespace): the LAN, with
# its router, DHCP and two resolvers (198.51.100.1 answers every name with
# 198.51.100.201, 198.51.100.3 with 198.51.100.203), the VPN server
# (198.51.100.2) and the tunnel's resolver (203.0.113.1, answering
# 203.0.113.99). Every round, while a probe in the container looks up a
# fresh name every 0.1 s and port 53 is captured on the LAN link:
#   - connect; re-activate the LAN connection (resolvconf: the DHCP
#     client's record again); change the LAN's resolver and renew; SIGHUP
#     OpenVPN and let it reconnect: no query reaches a LAN resolver and
#     every answer comes through the tunnel;
#   - stop OpenVPN (SIGTERM in odd rounds, SIGKILL in even ones): within 2 s
#     names resolve through the LAN's current resolver, with no kestrova-dns
#     process and no file under /run/kestrova left.
# With "killswitch", the daemon's kill switch is on (with "allow LAN", DNS
# closed as the client keeps it once connected) from the connect to the
# stop; the round then has no re-activation or renewal, as DHCP cannot pass.
set -euo pipefail
export KV_BOOTSTRAP_FLAVOUR=dns KV_PKGTEST_TIMEOUT=${KV_PKGTEST_TIMEOUT:-600}
source "$(dirname "$0")/rootlib.sh"
command -v systemd-nspawn >/dev/null || { echo "SKIP: systemd-nspawn is not installed"; exit 77; }
for tool in dnsmasq tcpdump openvpn openssl; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
enter_namespaces "$@"

packages=$(cd "$1" && pwd)
variant=$2
rounds=${3:-3}
killswitch=${4:-}
case "$variant" in networkmanager | nm-resolved | resolvconf) ;; *) fail "unknown variant $variant" ;; esac

W=$KV_WORK
ROOT=$W/root
mkdir -p "$W/upper" "$W/wd" "$ROOT"
mount -t overlay overlay -o "lowerdir=$KV_CACHE_ROOT,upperdir=$W/upper,workdir=$W/wd" "$ROOT"
rm -f "$ROOT/usr/sbin/policy-rc.d"
mkdir -p "$ROOT/mnt/packages"
cp "$packages"/kestrova_3.6.9_amd64.deb "$ROOT/mnt/packages/"
if [ "$variant" = resolvconf ]; then
    # A desktop without NetworkManager: the DHCP client's hook hands the
    # LAN's resolver to resolvconf.
    ln -sf /dev/null "$ROOT/etc/systemd/system/NetworkManager.service"
fi

step "the LAN, the VPN server and the tunnel's resolver"
ip link set lo up
ip link add kvlan type veth peer name lan0
ip addr add 198.51.100.1/24 dev kvlan
ip addr add 198.51.100.2/24 dev kvlan
ip addr add 198.51.100.3/24 dev kvlan
ip link set kvlan up
lan_dns=198.51.100.1
start_lan() {
    [ ! -s "$W/dhcp.pid" ] || kill "$(cat "$W/dhcp.pid")" 2>/dev/null || true
    sleep 0.1
    dnsmasq --conf-file=/dev/null --bind-interfaces --listen-address=198.51.100.1 \
        --no-resolv --no-hosts --address=/#/198.51.100.201 \
        --dhcp-range=198.51.100.50,198.51.100.99,255.255.255.0,2m --dhcp-option=option:router,198.51.100.1 \
        --dhcp-option=option:dns-server,$lan_dns --dhcp-leasefile="$W/leases" --pid-file="$W/dhcp.pid" \
        --log-facility="$W/dnsmasq-lan.log" --user=root
}
start_lan
dnsmasq --conf-file=/dev/null --listen-address=198.51.100.3 --bind-interfaces --no-resolv --no-hosts \
    --address=/#/198.51.100.203 --pid-file="$W/lan2.pid" --log-facility="$W/dnsmasq-lan2.log" --user=root

export KESTROVA_LAB_RUN=$W/lab
bash "$KV_TEST_DIR/../../lab/pki/pki.sh" client dnstest >/dev/null
pki=$W/lab/pki
openvpn --daemon --log "$W/server.log" --writepid "$W/server.pid" --dev kvsrv0 --dev-type tun \
    --local 198.51.100.2 --port 1194 --proto udp --server 203.0.113.0 255.255.255.0 --topology subnet \
    --ca "$pki/ca.crt" --cert "$pki/vpn-server.crt" --key "$pki/vpn-server.key" --dh none \
    --push "redirect-gateway def1" --push "dhcp-option DNS 203.0.113.1" --keepalive 2 10 --verb 3
for _ in $(seq 50); do ip -4 addr show kvsrv0 2>/dev/null | grep -q 203.0.113.1 && break; sleep 0.1; done
dnsmasq --conf-file=/dev/null --listen-address=203.0.113.1 --bind-interfaces --no-resolv --no-hosts \
    --address=/#/203.0.113.99 --pid-file="$W/tunnel-dns.pid" --user=root

step "boot the root ($variant)"
systemd-nspawn -D "$ROOT" --private-network -b --register=no --keep-unit --console=passive \
    >"$W/console.log" 2>&1 &
nspawn=$!
init=""
for _ in $(seq 100); do
    init=$(awk '$1 == "NSpid:" && NF == 3 && $3 == 1 {split(FILENAME, p, "/"); print p[3]}' \
        /proc/[0-9]*/status 2>/dev/null | head -n 1) || init=
    # nspawn's own child is process 1 there for a moment before it becomes systemd.
    [ -n "$init" ] && [ "$(cat "/proc/$init/comm" 2>/dev/null)" = systemd ] && break
    sleep 0.1
done
[ -n "$init" ] || { cat "$W/console.log" >&2; fail "the container's systemd did not start"; }
ip link set lan0 netns "$init"
box() {
    nsenter -t "$init" -a env -i PATH="$ROOT_PATH" LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
state=""
for _ in $(seq 300); do
    state=$(box systemctl is-system-running --wait 2>&1) && break
    # "offline": systemd has not made /run/systemd/system yet.
    case "$state" in *bus* | offline) sleep 0.2 ;; *) break ;; esac
done
case "$state" in running | degraded) ;; *) cat "$W/console.log" >&2; fail "the container's system is $state" ;; esac

# The container's current LAN resolver answers with this.
lan_answer() { [ "$lan_dns" = 198.51.100.1 ] && echo 198.51.100.201 || echo 198.51.100.203; }
resolves_to() { # name address
    [ "$(box getent ahostsv4 "$1" 2>/dev/null | awk 'NR == 1 {print $1}')" = "$2" ]
}
within() { # tenths command...
    local n=$1 i
    shift
    for ((i = 0; i < n; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}
renew_lan() { # re-activation or renewal, as the variant's owner does it
    if [ "$variant" = resolvconf ]; then
        echo "nameserver $lan_dns" | box resolvconf -a lan0.dhclient
    else
        box nmcli connection up "$(box nmcli -g NAME,DEVICE connection show --active | awk -F: '$2 == "lan0" {print $1}')" \
            >/dev/null
    fi
}

step "install the package and the resolver owner"
case "$variant" in
    nm-resolved)
        box sh -c 'dpkg -i /opt/kv-debs/systemd-resolved/*.deb' >/dev/null || fail "installing systemd-resolved failed"
        # The bus learns the new service's policy only on a reload.
        box systemctl reload dbus.service
        box systemctl enable systemd-resolved.service >/dev/null 2>&1
        box systemctl restart systemd-resolved.service
        box systemctl restart NetworkManager.service
        ;;
    resolvconf)
        box sh -c 'dpkg -i /opt/kv-debs/resolvconf/*.deb' >/dev/null || fail "installing resolvconf failed"
        box ip link set lan0 up
        box ip addr add 198.51.100.60/24 dev lan0
        box ip route add default via 198.51.100.1
        renew_lan
        ;;
esac
# What the client's window links is packaging.install's business; the daemon
# and the resolver program need none of it.
box timeout 120 dpkg -i --force-depends /mnt/packages/kestrova_3.6.9_amd64.deb >"$W/dpkg.log" 2>&1 ||
    { cat "$W/dpkg.log" >&2; fail "dpkg -i kestrova failed"; }
within 100 resolves_to lan.test "$(lan_answer)" || {
    box sh -c 'ls -l /etc/resolv.conf; cat /etc/resolv.conf; resolvectl status' >&2 || true
    fail "the LAN's resolver does not answer in the container"
}

# The client's profile, and OpenVPN started as the daemon starts it.
{
    printf 'client\ndev tun\nproto udp\nremote 198.51.100.2 1194\nnobind\npersist-key\npersist-tun\n'
    printf 'remote-cert-tls server\nverb 3\n'
    printf '<ca>\n%s\n</ca>\n<cert>\n%s\n</cert>\n<key>\n%s\n</key>\n' "$(cat "$pki/ca.crt")" \
        "$(cat "$pki/clients/dnstest.crt")" "$(cat "$pki/clients/dnstest.key")"
} >"$ROOT/root/client.ovpn"
script=/usr/share/kestrova/script/update-resolv-conf.sh
connect() {
    box rm -f /run/kv-ovpn.log
    box openvpn --daemon --log /run/kv-ovpn.log --writepid /run/kv-ovpn.pid --config /root/client.ovpn \
        --script-security 2 --up "$script" --down "$script"
}
completed() { # count
    [ "$(box grep -c "Initialization Sequence Completed" /run/kv-ovpn.log 2>/dev/null)" -ge "$1" ]
}
ovpn_pid() { box cat /run/kv-ovpn.pid; }
cat >"$ROOT/usr/local/bin/kv-probe" <<'PROBE'
#!/bin/sh
# A fresh name every 0.1 s; the answer (or "-") per line.
i=0
while [ ! -e /run/kv-probe.stop ]; do
    i=$((i + 1))
    a=$(getent ahostsv4 "p$i-$$.probe.test" | awk 'NR == 1 {print $1}')
    echo "${a:--}" >>/run/kv-probe.log
    sleep 0.1
done
PROBE
chmod 755 "$ROOT/usr/local/bin/kv-probe"
killswitch_on() {
    # As the connect page sets it: the server allowed, the LAN allowed, DNS
    # closed.
    [ "$(nsenter -t "$init" -n python3 "$KV_TEST_DIR/kvcommand.py" 1 --ips "127.0.0.1;198.51.100.2" \
        --iface tun0 --flags 10101)" = 1 ] || fail "the kill switch did not go on"
}

for round in $(seq "$rounds"); do
    step "round $round: connect"
    [ -z "$killswitch" ] || killswitch_on
    connect
    within 150 completed 1 || { box cat /run/kv-ovpn.log >&2; fail "the tunnel did not come up"; }
    within 30 resolves_to up.test 203.0.113.99 || {
        box sh -c 'cat /etc/resolv.conf; resolvectl status; nmcli device; journalctl -t kestrova-dns --no-pager | tail; getent ahostsv4 up.test' >&2 || true
        fail "names do not resolve through the tunnel after up"
    }
    timeout 120 tcpdump -i kvlan -n -U -w "$W/lan53.pcap" 'port 53' 2>/dev/null &
    dump=$!
    box rm -f /run/kv-probe.log /run/kv-probe.stop
    box sh -c 'setsid kv-probe </dev/null >/dev/null 2>&1 &'
    sleep 0.5

    step "round $round: re-activate, renew with another resolver, SIGHUP"
    mark() { echo "$(date +%T.%N | cut -c1-12) $*" >>"$W/events"; }
    : >"$W/events"
    if [ -z "$killswitch" ]; then
        mark re-activate
        renew_lan
        sleep 1
        lan_dns=$([ "$lan_dns" = 198.51.100.1 ] && echo 198.51.100.3 || echo 198.51.100.1)
        start_lan
        mark renew
        renew_lan
        sleep 1
    fi
    mark SIGHUP
    box kill -HUP "$(ovpn_pid)"
    within 150 completed 2 || { box cat /run/kv-ovpn.log >&2; fail "the tunnel did not come back after SIGHUP"; }
    within 30 resolves_to hup.test 203.0.113.99 || fail "names do not resolve through the tunnel after SIGHUP"
    sleep 1
    box touch /run/kv-probe.stop
    sleep 0.3
    kill -INT "$dump" 2>/dev/null || true
    wait "$dump" 2>/dev/null || true
    leaks=$(tcpdump -r "$W/lan53.pcap" -n 'dst port 53 and (dst host 198.51.100.1 or dst host 198.51.100.3)' 2>/dev/null | wc -l)
    answers=$(box cat /run/kv-probe.log)
    through_lan=$(grep -c '^198\.51\.100\.' <<<"$answers" || true)
    through_tunnel=$(grep -c '^203\.0\.113\.99$' <<<"$answers" || true)
    failed=$(grep -c '^-$' <<<"$answers" || true)
    echo "   queries to the LAN's resolvers: $leaks; lookups: $through_tunnel through the tunnel," \
        "$through_lan through the LAN, $failed unanswered"
    if [ "$leaks" != 0 ]; then
        cat "$W/events"
        tcpdump -r "$W/lan53.pcap" -n -tttt 'dst port 53' 2>/dev/null
    fi
    [ "$leaks" = 0 ] || fail "round $round: $leaks queries reached the LAN's resolvers"
    [ "$through_lan" = 0 ] || fail "round $round: $through_lan lookups were answered by the LAN"
    [ "$through_tunnel" -gt 0 ] || fail "round $round: no lookup answered through the tunnel"

    if ((round % 2)); then
        step "round $round: stop (SIGTERM)"
        box kill -TERM "$(ovpn_pid)"
    else
        step "round $round: OpenVPN killed (SIGKILL)"
        box kill -KILL "$(ovpn_pid)"
    fi
    if [ -n "$killswitch" ]; then
        # Names go nowhere while the kill switch holds; the client switches
        # it off after the tunnel.
        [ "$(nsenter -t "$init" -n python3 "$KV_TEST_DIR/kvcommand.py" 2)" = 1 ] || fail "the kill switch did not go off"
    fi
    within 20 resolves_to down.test "$(lan_answer)" ||
        fail "round $round: the machine does not resolve through the LAN's current resolver within 2 s"
    within 10 bash -c '! nsenter -t "$0" -a pgrep -x kestrova-dns >/dev/null' "$init" ||
        fail "round $round: kestrova-dns still runs"
    [ -z "$(box ls -A /run/kestrova 2>/dev/null)" ] || fail "round $round: left in /run/kestrova: $(box ls -A /run/kestrova)"
    box pkill -x openvpn 2>/dev/null || true
    within 50 bash -c '! nsenter -t "$0" -a pgrep -x openvpn >/dev/null' "$init" || true
done

# Under resolved the links are set over the bus, not by resolvectl behind it.
journal=$(box journalctl -t kestrova-dns --no-pager)
if [ "$variant" = nm-resolved ]; then
    grep -q "resolves through the tunnel (resolved)" <<<"$journal" || fail "no up under resolved in the journal"
fi
if refused=$(grep "resolved's bus refused" <<<"$journal"); then
    fail "resolved's bus refused what kestrova-dns asked: $refused"
fi

box systemctl poweroff >/dev/null 2>&1 || true
for _ in $(seq 100); do
    kill -0 "$nspawn" 2>/dev/null || break
    sleep 0.1
done
echo "PASS ($variant, $rounds rounds${killswitch:+, kill switch on}): no query to the LAN's resolvers"
