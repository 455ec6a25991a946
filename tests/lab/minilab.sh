#!/usr/bin/env bash
# A private stand-in for the base lab network (two namespaces joined by a
# veth pair, the lab contract's addresses, a target host answering on TCP 7),
# for working on the lab's own parts without touching the shared kv-*
# namespaces. Names come from KESTROVA_LAB_NET_NS / KESTROVA_LAB_CLIENT_NS.
#   minilab.sh up|down
set -euo pipefail
net=${KESTROVA_LAB_NET_NS:?}
client=${KESTROVA_LAB_CLIENT_NS:?}
case ${1:-} in
up)
    ip netns add "$net"
    ip netns add "$client"
    ip link add mlc0 netns "$client" type veth peer name mln0 netns "$net"
    ip -n "$client" addr add 198.51.100.2/25 dev mlc0
    ip -n "$net" addr add 198.51.100.1/25 dev mln0
    for ns in "$net" "$client"; do
        ip -n "$ns" link set lo up
    done
    ip -n "$client" link set mlc0 up
    ip -n "$net" link set mln0 up
    ip -n "$client" route add default via 198.51.100.1
    ip -n "$net" addr add 203.0.113.10/32 dev lo
    ip -n "$net" addr add 203.0.113.53/32 dev lo
    ip netns exec "$net" sysctl -qw net.ipv4.ip_forward=1
    ;;
down)
    ip netns pids "$net" 2>/dev/null | xargs -r kill 2>/dev/null || true
    ip netns pids "$client" 2>/dev/null | xargs -r kill 2>/dev/null || true
    ip netns del "$client" 2>/dev/null || true
    ip netns del "$net" 2>/dev/null || true
    ;;
*)
    echo "usage: $0 up|down" >&2
    exit 2
    ;;
esac
