#!/usr/bin/env bash
# The demo: Kestrova against the lab, on one machine, without an account.
#
#   scripts/demo.sh [up]    install what is needed, build, bring up the lab
#                           (fake service, VPN servers, stealth endpoint) and
#                           start the daemon and the client in the lab's
#                           client namespace, signed in with a demo account
#   scripts/demo.sh down    stop the client and the daemon, take the lab down
#   scripts/demo.sh status  what is running
#
# Run as root from anywhere in the tree. The daemon and the client run in the
# network namespace kv-client, inside a private mount namespace with fresh
# /run and /tmp and a writable layer over /usr/share, so the daemon's pid
# files, kill-switch files and the DNS file the VPN rewrites are the demo's
# own: nothing here touches this machine's network, firewall or resolver.
# With a local X display ($DISPLAY with a socket in /tmp/.X11-unix) the client
# shows on it; without one it runs under Xvfb and screenshots are saved.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
export KESTROVA_LAB_RUN=${KESTROVA_LAB_RUN:-$root/lab/run}
mkdir -p "$KESTROVA_LAB_RUN"
lab_run=$(cd "$KESTROVA_LAB_RUN" && pwd)
export KESTROVA_LAB_RUN=$lab_run
build=${KESTROVA_DEMO_BUILD:-$root/build}
demo=$lab_run/demo
shots=$lab_run/demo-screenshots
client_ns=kv-client
xvfb_display=:7
# The demo account of the lab's fake service (lab/service/README.md).
demo_login=single
demo_password=single-pass
# Its VPN login and the location it connects to (auto-connect starts only
# from a remembered location).
demo_vpn_login=kv1001
demo_server=Amsterdam
demo_server_ip=192.0.2.10
# A host of the lab's internet, reached through the tunnel.
demo_target=203.0.113.10

say() { echo "demo: $*"; }
die() {
    echo "demo: $*" >&2
    exit 1
}

# A pid file of ours names a live process running the expected program.
alive() { # pidfile comm
    local pid
    [ -s "$1" ] || return 1
    pid=$(tr -dc '0-9' <"$1")
    [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ]
}

stop_pidfile() { # pidfile comm signal
    local pid
    if alive "$1" "$2"; then
        pid=$(tr -dc '0-9' <"$1")
        kill -"${3:-TERM}" "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            [ -d "/proc/$pid" ] || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    rm -f "$1"
}

# The client's own log, in the demo user's data folder.
client_log() { # demo-dir
    echo "$1/home/.local/share/VKMT/Kestrova/log.txt"
}

wait_for() { # tenths command...
    local n=$1
    shift
    for _ in $(seq "$n"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Runs inside the client namespace, in a private mount namespace that the
# daemon, Xvfb and the client keep alive after this shell has gone.
inner() {
    local mode=$1 display=$2
    # The demo's files, the lab's CA and the programs may lie under /tmp,
    # which is replaced below: they are reached through /run/kv-demo/*.
    mount -t tmpfs -o mode=755 kv-demo-run /run
    mkdir -p /run/kv-demo/files /run/kv-demo/lab /run/kv-demo/build
    mount --bind "$demo" /run/kv-demo/files
    mount --bind "$lab_run" /run/kv-demo/lab
    mount --bind "$build" /run/kv-demo/build
    demo=/run/kv-demo/files
    lab_run=/run/kv-demo/lab
    build=/run/kv-demo/build
    shots=$lab_run/demo-screenshots
    if [ "$mode" = display ]; then
        mkdir -p /run/kv-demo/x11
        mount --bind /tmp/.X11-unix /run/kv-demo/x11
    fi
    mount -t overlay -o "lowerdir=/usr/share,upperdir=$demo/share,workdir=$demo/share-work" kv-demo-share /usr/share
    mount -t overlay -o "lowerdir=/usr/libexec,upperdir=$demo/libexec,workdir=$demo/libexec-work" kv-demo-libexec \
        /usr/libexec
    mount --bind "$demo/resolv.conf" /etc/resolv.conf
    mount -t tmpfs -o mode=1777 kv-demo-tmp /tmp
    mkdir -p /tmp/.X11-unix
    chmod 1777 /tmp/.X11-unix
    if [ "$mode" = display ]; then
        mount --bind /run/kv-demo/x11 /tmp/.X11-unix
    fi

    # Started from this shell (not process 1), the daemon detaches into its
    # monitor and worker, as the system service does through its wrapper.
    "$build/daemon/kestrovad"
    wait_for 100 test -s /run/kestrovad.pid || die "the daemon did not start"
    cp /run/kestrovad.pid "$demo/kestrovad.pid"

    if [ "$mode" = xvfb ]; then
        setsid Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$demo/xvfb.log" 2>&1 &
        echo $! >"$demo/xvfb.pid"
        wait_for 100 test -S "/tmp/.X11-unix/X${display#:}" || die "Xvfb did not start (see $demo/xvfb.log)"
    fi

    env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME="$demo/home" XDG_CONFIG_HOME="$demo/home/.config" XDG_DATA_HOME="$demo/home/.local/share" \
        XDG_RUNTIME_DIR="$demo/xdg" DBUS_SESSION_BUS_ADDRESS=unix:path=/run/kv-demo/no-bus DISPLAY="$display" XAUTHORITY="$demo/Xauthority" LANG=C.UTF-8 \
        KESTROVA_API_URL=https://192.0.2.100 KESTROVA_CA_FILE="$lab_run/pki/ca.crt" \
        setsid "$build/client/ui/kestrova" </dev/null >"$demo/client.out" 2>&1 &
    echo $! >"$demo/client.pid"

    if [ "$mode" = xvfb ]; then
        mkdir -p "$shots"
        # The moment the service has answered the sign-in, before the
        # connection that follows it is up.
        wait_for 300 grep -qs "Auth Request finished" "$(client_log "$demo")" ||
            say "no answer to the sign-in after 30 s (see $(client_log "$demo"))"
        sleep 0.5
        import -display "$display" -window root "$shots/01-signed-in.png" 2>>"$demo/xvfb.log" || true
        # The demo account connects by itself once signed in; the page shows
        # it a moment after the tunnel is up.
        wait_for 600 ip link show tun0 >/dev/null 2>&1 || say "no tunnel after a minute (see $(client_log "$demo"))"
        sleep 3
        import -display "$display" -window root "$shots/02-connected.png" 2>>"$demo/xvfb.log" || true
    fi
}

prepare() {
    rm -rf "$demo"
    mkdir -p "$demo/home/.config/VKMT" "$demo/share/kestrova/script" "$demo/share-work" "$demo/xdg" \
        "$demo/libexec/kestrova" "$demo/libexec-work"
    chmod 700 "$demo/xdg"
    ln -s /usr/libexec/kestrova/kestrova-dns "$demo/share/kestrova/script/update-resolv-conf.sh"
    install -m 755 "$build/daemon/dns/kestrova-dns" "$demo/libexec/kestrova/kestrova-dns"
    # Remembered, so the client signs in by itself and then connects.
    cat >"$demo/home/.config/VKMT/Kestrova.conf" <<EOF
[General]
login=$demo_login
password=$demo_password
rememberUser=true
autoConnectOnStart=true
lastLocationId=$demo_vpn_login::$demo_server
killConnect=true
advProtocol=udp
EOF
    if [ -s "/etc/netns/$client_ns/resolv.conf" ]; then
        cp "/etc/netns/$client_ns/resolv.conf" "$demo/resolv.conf"
    else
        echo "nameserver 203.0.113.53" >"$demo/resolv.conf"
    fi
    : >"$demo/Xauthority"
}

# The display's cookie, for a client that runs as root on a user's display
# (sudo drops XAUTHORITY): the given file, else the usual places of the user
# who called sudo.
copy_xauthority() { # display
    local candidates=() uid
    [ -z "${XAUTHORITY:-}" ] || candidates+=("$XAUTHORITY")
    if [ -n "${SUDO_USER:-}" ] && uid=$(id -u "$SUDO_USER" 2>/dev/null); then
        candidates+=("/run/user/$uid/gdm/Xauthority" "$(getent passwd "$SUDO_USER" | cut -d: -f6)/.Xauthority")
    fi
    candidates+=("$HOME/.Xauthority")
    for f in "${candidates[@]}"; do
        if [ -s "$f" ] && XAUTHORITY=$f xauth extract "$demo/Xauthority" "$1" 2>/dev/null; then
            return 0
        fi
    done
    say "no X cookie found for $1; the client may be refused (try: xhost +si:localuser:root)"
}

# "display" when $DISPLAY is a local display whose socket the namespace can
# reach, else "xvfb".
display_mode() {
    local d=${DISPLAY:-}
    if [[ "$d" =~ ^:([0-9]+)(\.[0-9]+)?$ ]] && [ -S "/tmp/.X11-unix/X${BASH_REMATCH[1]}" ]; then
        echo display
    else
        echo xvfb
    fi
}

up() {
    [ "$(id -u)" = 0 ] || die "run as root: the lab needs network namespaces"
    if alive "$demo/kestrovad.pid" kestrovad; then
        say "already running; 'scripts/demo.sh down' first"
        status
        exit 0
    fi
    # The test of the demo runs it on the programs of the build under test.
    if [ "${KESTROVA_DEMO_NO_BUILD:-0}" != 1 ]; then
        say "installing the packages it needs (scripts/install-deps.sh)"
        bash "$root/scripts/install-deps.sh"
        say "building kestrova, kestrova-cli and kestrovad in $build"
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$build" -j2 --target kestrova kestrova-cli kestrovad kestrova-dns
    fi
    say "bringing up the lab (lab/lab.sh up)"
    bash "$root/lab/lab.sh" up
    prepare

    local mode display
    mode=$(display_mode)
    if [ "$mode" = display ]; then
        display=$DISPLAY
        copy_xauthority "$display"
        say "showing the client on display $display"
    else
        display=$xvfb_display
        [ -z "${DISPLAY:-}" ] || say "display $DISPLAY cannot be reached from the lab's namespace"
        say "no local display: running the client under Xvfb and taking screenshots"
    fi
    ip netns exec "$client_ns" unshare --mount --propagation private \
        env KESTROVA_DEMO_INNER=1 bash "$0" __inner "$mode" "$display"

    cat <<EOF

demo: done.
  - lab up: fake service https://192.0.2.100, VPN servers 192.0.2.10-12 and 192.0.2.20,
    stealth endpoint on their port 443 (namespace kv-net)
  - kestrovad running in namespace $client_ns (monitor pid $(cat "$demo/kestrovad.pid")),
    with its own /run, /tmp and /usr/share/kestrova
  - kestrova signed in as "$demo_login" (password "$demo_password") and connects by itself
    to $demo_server ($demo_server_ip, OpenVPN UDP) with the kill switch on
    (other demo accounts: lab/service/README.md); its log: $(client_log "$demo")
EOF
    local address
    address=$(ip -n "$client_ns" -4 -o addr show dev tun0 2>/dev/null | awk '{print $4}')
    if [ -n "$address" ]; then
        echo "  - connected: tunnel address $address on tun0, server $demo_server_ip"
    else
        echo "  - not connected yet: the client is still connecting (see its log)"
    fi
    # The command line reaches the window's connection through the user's
    # control socket, as from any terminal of that user.
    # The whole answer is read before its first line is taken: a reader that
    # stops early would end the command with SIGPIPE, and the summary with it.
    local cli_status
    cli_status=$(ip netns exec "$client_ns" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$demo/home" \
        XDG_CONFIG_HOME="$demo/home/.config" XDG_DATA_HOME="$demo/home/.local/share" XDG_RUNTIME_DIR="$demo/xdg" \
        "$build/client/cli/kestrova-cli" status 2>&1) || cli_status="no answer (exit status $?): $cli_status"
    cli_status=${cli_status%%$'\n'*}
    echo "  - kestrova-cli status: $cli_status"
    cat <<EOF
  - traffic through tun0 and the kill switch's rules:
    ip netns exec $client_ns sh -c 'curl -s http://$demo_target:8080/; ip -s link show tun0; iptables -S'
EOF
    if [ "$mode" = xvfb ]; then
        echo "  - screenshots: $shots"
    fi
    cat <<EOF
  - look around in the namespace: ip netns exec $client_ns ip addr
Take it down with: scripts/demo.sh down
EOF
}

down() {
    [ "$(id -u)" = 0 ] || die "run as root"
    say "stopping the client, Xvfb and the daemon"
    stop_pidfile "$demo/client.pid" kestrova
    stop_pidfile "$demo/xvfb.pid" Xvfb
    stop_pidfile "$demo/kestrovad.pid" kestrovad
    # What the daemon and the client started in the namespace (openvpn,
    # stunnel) goes with them; nothing else there is touched.
    if ip netns list 2>/dev/null | awk '{print $1}' | grep -qx "$client_ns"; then
        for pid in $(ip netns pids "$client_ns" 2>/dev/null); do
            case "$(cat "/proc/$pid/comm" 2>/dev/null)" in
                kestrovad | kestrova | openvpn | stunnel4 | stunnel) kill -TERM "$pid" 2>/dev/null || true ;;
            esac
        done
    fi
    say "taking the lab down (lab/lab.sh down)"
    bash "$root/lab/lab.sh" down
    rm -rf "$demo"
    say "down"
}

status() {
    local what
    for what in kestrovad:kestrovad kestrova:client Xvfb:xvfb; do
        if alive "$demo/${what#*:}.pid" "${what%%:*}"; then
            echo "${what%%:*}: running (pid $(cat "$demo/${what#*:}.pid"))"
        else
            echo "${what%%:*}: stopped"
        fi
    done
    bash "$root/lab/lab.sh" status || true
}

case "${1:-up}" in
    up) up ;;
    down) down ;;
    status) status ;;
    __inner)
        [ "${KESTROVA_DEMO_INNER:-}" = 1 ] || die "internal step"
        inner "$2" "$3"
        ;;
    *)
        echo "usage: $0 [up|down|status]" >&2
        exit 2
        ;;
esac
