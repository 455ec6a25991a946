#!/usr/bin/env bash
# The lab network: two network namespaces on this machine that stand in for the
# user's computer and for the internet, so that the daemon, the kill switch and
# the client can be tested against real traffic without touching the host.
#
#   kv-client  kv-c0 198.51.100.2/25  2001:db8:1::2/64, default routes via kv-net
#   kv-net     kv-n0 198.51.100.1/25  2001:db8:1::1/64, forwarding on
#              on its loopback: target 203.0.113.10, 203.0.113.11, 2001:db8:2::10
#              (TCP/UDP echo on 7, HTTP on 8080, ICMP), resolver 203.0.113.53
#              (zone lab.test, the "ISP's"), resolver 203.0.113.54 (the same
#              zone, answering only through a VPN tunnel), VPN servers
#              192.0.2.10-12, double-hop entry 192.0.2.20, service API 192.0.2.100
#
# Usage: lab.sh up|down|status. Every step is idempotent. Runtime files go to
# $KESTROVA_LAB_RUN (default lab/run/). After the base network, "up" runs
# lab/<x>/up.sh for x in pki service vpn when present; "down" runs their
# down.sh in reverse order first. Nothing here touches the host's own
# interfaces, routes, firewall or resolver: every network command names a
# namespace.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
run=${KESTROVA_LAB_RUN:-$here/run}
# Other names build a second copy of the lab (e.g. in a private mount
# namespace with its own /run/netns).
CLIENT_NS=${KESTROVA_LAB_CLIENT_NS:-kv-client}
NET_NS=${KESTROVA_LAB_NET_NS:-kv-net}
# The kernel of the lab machines has no dummy interfaces: the hosts of "the
# internet" live on kv-net's loopback.
HOSTS_IF=lo
HOST_ADDRS=(203.0.113.10/32 203.0.113.11/32 203.0.113.53/32 203.0.113.54/32 192.0.2.10/32 192.0.2.11/32 192.0.2.12/32
    192.0.2.20/32 192.0.2.100/32 2001:db8:2::10/128)
TARGET_ADDRS=(203.0.113.10 203.0.113.11 2001:db8:2::10)
RESOLVER=203.0.113.53
TUNNEL_RESOLVER=203.0.113.54
HOOKS=(pki service vpn)

export KESTROVA_LAB_RUN=$run

log() { echo "lab: $*" >&2; }

ns_exists() { ip netns list | awk '{print $1}' | grep -qx "$1"; }
in_client() { ip netns exec "$CLIENT_NS" "$@"; }
in_net() { ip netns exec "$NET_NS" "$@"; }

# A process we started is alive when its pid file names a live process whose
# command line still carries the marker; a stale pid file is never trusted.
pid_alive() {
    local pidfile=$1 marker=$2 pid
    [ -s "$pidfile" ] || return 1
    pid=$(cat "$pidfile")
    [[ "$pid" =~ ^[0-9]+$ ]] || return 1
    [ -r "/proc/$pid/cmdline" ] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "$marker"
}

stop_pid() {
    local pidfile=$1 marker=$2 pid i
    if pid_alive "$pidfile" "$marker"; then
        pid=$(cat "$pidfile")
        kill "$pid" 2>/dev/null || true
        for i in $(seq 50); do
            [ -d "/proc/$pid" ] || break
            sleep 0.1
        done
        [ -d "/proc/$pid" ] && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$pidfile"
}

base_up() {
    mkdir -p "$run" "$run/hosts.d"
    ns_exists "$CLIENT_NS" || ip netns add "$CLIENT_NS"
    ns_exists "$NET_NS" || ip netns add "$NET_NS"

    if ! ip -n "$CLIENT_NS" link show kv-c0 >/dev/null 2>&1; then
        ip -n "$NET_NS" link del kv-n0 2>/dev/null || true
        ip -n "$CLIENT_NS" link add kv-c0 type veth peer name kv-n0 netns "$NET_NS"
    fi

    # No duplicate address detection: the addresses must answer at once.
    for ns in "$CLIENT_NS" "$NET_NS"; do
        ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0
        ip -n "$ns" link set lo up
    done
    in_net sysctl -qw net.ipv4.ip_forward=1 net.ipv6.conf.all.forwarding=1

    ip -n "$CLIENT_NS" addr replace 198.51.100.2/25 dev kv-c0
    ip -n "$CLIENT_NS" addr replace 2001:db8:1::2/64 dev kv-c0 nodad
    ip -n "$NET_NS" addr replace 198.51.100.1/25 dev kv-n0
    ip -n "$NET_NS" addr replace 2001:db8:1::1/64 dev kv-n0 nodad
    local a
    for a in "${HOST_ADDRS[@]}"; do
        if [[ $a == *:* ]]; then
            ip -n "$NET_NS" addr replace "$a" dev "$HOSTS_IF" nodad
        else
            ip -n "$NET_NS" addr replace "$a" dev "$HOSTS_IF"
        fi
    done
    ip -n "$CLIENT_NS" link set kv-c0 up
    ip -n "$NET_NS" link set kv-n0 up
    ip -n "$CLIENT_NS" route replace default via 198.51.100.1 dev kv-c0
    ip -n "$CLIENT_NS" -6 route replace default via 2001:db8:1::1 dev kv-c0
    # The VPN's resolver is out of reach from the outside link: a query that
    # bypasses the tunnel gets no answer, as at a commercial service.
    local drop=(INPUT -i kv-n0 -d "$TUNNEL_RESOLVER" -j DROP)
    in_net iptables -C "${drop[@]}" 2>/dev/null || in_net iptables -A "${drop[@]}"

    # Programs in kv-client started through "ip netns exec" see this file as
    # their /etc/resolv.conf; the host's own file is never touched.
    mkdir -p "/etc/netns/$CLIENT_NS"
    [ -f "/etc/netns/$CLIENT_NS/resolv.conf" ] ||
        printf 'nameserver %s\nsearch lab.test\n' "$RESOLVER" >"/etc/netns/$CLIENT_NS/resolv.conf"

    # A copy of lab.sh in another worktree may have started the services
    # already: whatever answers on their address counts as running.
    if ! pid_alive "$run/hosts.pid" "$here/net/hosts.py" && ! in_net nc -z -w 1 203.0.113.10 7 2>/dev/null; then
        rm -f "$run/hosts.pid"
        in_net setsid -f /usr/bin/python3 "$here/net/hosts.py" --pidfile "$run/hosts.pid" \
            "${TARGET_ADDRS[@]}" </dev/null >"$run/hosts.log" 2>&1
    fi
    if ! pid_alive "$run/dnsmasq.pid" "$run/dnsmasq.pid" && ! in_net nc -z -w 1 "$RESOLVER" 53 2>/dev/null; then
        rm -f "$run/dnsmasq.pid"
        # Serves lab.test only: no upstream servers, no host files, no config file.
        in_net dnsmasq --conf-file=/dev/null --no-resolv --no-hosts --no-poll \
            --listen-address="$RESOLVER" --listen-address="$TUNNEL_RESOLVER" --bind-interfaces \
            --local=/lab.test/ --domain-needed --bogus-priv \
            --addn-hosts="$here/net/lab.hosts" --hostsdir="$run/hosts.d" \
            --pid-file="$run/dnsmasq.pid" --log-facility="$run/dnsmasq.log" --user=root
    fi
    wait_ready
}

# Bounded wait until the target host and the resolver answer (checked from
# kv-net, so a rule left in kv-client cannot fail the start).
wait_ready() {
    local i
    for i in $(seq 50); do
        if in_net nc -z -w 1 203.0.113.10 7 2>/dev/null &&
            in_net nc -z -w 1 2001:db8:2::10 8080 2>/dev/null &&
            in_net nc -z -w 1 "$RESOLVER" 53 2>/dev/null &&
            in_net nc -z -w 1 "$TUNNEL_RESOLVER" 53 2>/dev/null; then
            return 0
        fi
        sleep 0.1
    done
    log "target host or resolver did not come up (see $run)"
    return 1
}

# Whatever still runs inside a lab namespace belongs to the lab (a service
# started from another worktree, a daemon a test left behind): it is stopped by
# its process id before the namespace goes, or it would keep a hidden copy of
# the namespace and its addresses alive.
stop_namespace_pids() {
    local ns=$1 pids pid i
    ns_exists "$ns" || return 0
    mapfile -t pids < <(ip netns pids "$ns" 2>/dev/null)
    [ ${#pids[@]} -gt 0 ] || return 0
    log "stopping ${#pids[@]} process(es) left in $ns: ${pids[*]}"
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for i in $(seq 50); do
        [ -z "$(ip netns pids "$ns" 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null || true; done
}

base_down() {
    stop_pid "$run/hosts.pid" "$here/net/hosts.py"
    stop_pid "$run/dnsmasq.pid" "$run/dnsmasq.pid"
    stop_namespace_pids "$CLIENT_NS"
    stop_namespace_pids "$NET_NS"
    ! ns_exists "$CLIENT_NS" || ip netns del "$CLIENT_NS"
    ! ns_exists "$NET_NS" || ip netns del "$NET_NS"
    rm -f "/etc/netns/$CLIENT_NS/resolv.conf"
    rmdir "/etc/netns/$CLIENT_NS" 2>/dev/null || true
}

hooks() {
    local action=$1 x
    local order=("${HOOKS[@]}")
    if [ "$action" = down ]; then
        order=()
        for ((i = ${#HOOKS[@]} - 1; i >= 0; i--)); do order+=("${HOOKS[$i]}"); done
    fi
    for x in "${order[@]}"; do
        if [ -f "$here/$x/$action.sh" ]; then
            log "$x $action"
            if [ "$action" = down ]; then
                bash "$here/$x/$action.sh" || log "$x down failed, going on"
            else
                bash "$here/$x/$action.sh"
            fi
        fi
    done
}

status() {
    local ok=0
    for ns in "$CLIENT_NS" "$NET_NS"; do
        if ns_exists "$ns"; then echo "namespace $ns: up"; else echo "namespace $ns: down"; ok=1; fi
    done
    if pid_alive "$run/hosts.pid" "$here/net/hosts.py"; then echo "target host: running"; else echo "target host: stopped"; ok=1; fi
    if pid_alive "$run/dnsmasq.pid" "$run/dnsmasq.pid"; then echo "resolver: running"; else echo "resolver: stopped"; ok=1; fi
    return $ok
}

case "${1:-}" in
up)
    base_up
    hooks up
    ;;
down)
    hooks down
    base_down
    ;;
status)
    status
    ;;
*)
    echo "usage: $0 up|down|status" >&2
    exit 2
    ;;
esac
