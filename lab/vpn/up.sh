#!/usr/bin/env bash
# Lab hook: real OpenVPN servers (UDP and TCP on every server address of the
# account file) and a stunnel stealth endpoint in front of the TCP ones, all
# in the internet namespace, with certificates from the lab CA.
set -euo pipefail
source "$(dirname "$0")/../pki/labenv.sh"
dir=$lab_run/vpn
accounts=${KESTROVA_LAB_ACCOUNTS:-$lab_dir/service/accounts.json}
lab_ns_exists "$lab_net_ns" || {
    echo "vpn/up.sh: namespace $lab_net_ns missing (run lab/lab.sh up)" >&2
    exit 1
}
bash "$lab_dir/pki/pki.sh" init
mkdir -p "$dir"
chmod +x "$lab_dir/vpn/verify.py"
mapfile -t instances < <("$lab_python" "$lab_dir/vpn/genconf.py" "$accounts" "$lab_run/pki" "$dir")
ip netns exec "$lab_net_ns" sysctl -qw net.ipv4.ip_forward=1

started=()
for line in "${instances[@]}"; do
    read -r name proto address port pool <<<"$line"
    [ "$name" = stunnel ] && continue
    lab_ensure_address "$address"
    # What leaves the server towards the outside world carries the server's
    # address, as at a commercial service; the hosts on kv-net itself still
    # see the tunnel address, which is how tests tell the path.
    nat=(POSTROUTING -s "$pool" -o kv-n0 -j MASQUERADE)
    ip netns exec "$lab_net_ns" iptables -t nat -C "${nat[@]}" 2>/dev/null ||
        ip netns exec "$lab_net_ns" iptables -t nat -A "${nat[@]}"
    if ! lab_pid_alive "$dir/$name.pid" "$dir/$name.conf"; then
        rm -f "$dir/$name.pid" "$dir/$name.log"
        ip netns exec "$lab_net_ns" openvpn --daemon "$name" --config "$dir/$name.conf"
        started+=("$name")
    fi
done
if ! lab_pid_alive "$dir/stunnel.pid" "$dir/stunnel.conf"; then
    rm -f "$dir/stunnel.pid"
    ip netns exec "$lab_net_ns" stunnel4 "$dir/stunnel.conf"
fi

# Bounded wait: every new server has finished its start, stunnel has its pid file.
for name in "${started[@]}"; do
    ok=0
    for i in $(seq 100); do
        if grep -q "Initialization Sequence Completed" "$dir/$name.log" 2>/dev/null; then
            ok=1
            break
        fi
        sleep 0.1
    done
    if [ $ok = 0 ]; then
        echo "vpn/up.sh: OpenVPN server $name did not start, see $dir/$name.log" >&2
        exit 1
    fi
done
if ! lab_wait_file "$dir/stunnel.pid" 10; then
    echo "vpn/up.sh: stunnel did not start, see $dir/stunnel.log" >&2
    exit 1
fi
