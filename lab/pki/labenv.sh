# Shared by the lab hooks of pki/, service/ and vpn/ (sourced, not run).
# KESTROVA_LAB_RUN names the run directory (default lab/run); the namespace
# names can be changed to build a second, private copy of the lab.
lab_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lab_run=${KESTROVA_LAB_RUN:-$lab_dir/run}
mkdir -p "$lab_run"
lab_run=$(cd "$lab_run" && pwd)
lab_net_ns=${KESTROVA_LAB_NET_NS:-kv-net}
lab_client_ns=${KESTROVA_LAB_CLIENT_NS:-kv-client}
lab_python=${KESTROVA_LAB_PYTHON:-/usr/bin/python3}

lab_ns_exists() { # name
    local list
    list=$(ip netns list | awk '{print $1}')
    grep -qx -- "$1" <<<"$list"
}

# True when the pid file names a live process whose command line has the word.
lab_pid_alive() { # pidfile word
    local pid
    [ -s "$1" ] || return 1
    pid=$(tr -dc '0-9' <"$1")
    [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 1
    local cmd
    cmd=$(tr '\0' ' ' <"/proc/$pid/cmdline")
    grep -qF -- "$2" <<<"$cmd"
}

# Stops the processes of the pid files given, each only if it is still the
# expected program (pairs of pid file and command-line word), all at once.
lab_stop_pids() { # pidfile word [pidfile word ...]
    local pids=() pid i
    while [ $# -ge 2 ]; do
        if lab_pid_alive "$1" "$2"; then
            pid=$(tr -dc '0-9' <"$1")
            kill "$pid" 2>/dev/null || true
            pids+=("$pid")
        fi
        rm -f "$1"
        shift 2
    done
    for i in $(seq 50); do
        local left=0
        for pid in "${pids[@]}"; do
            [ -d "/proc/$pid" ] && left=1
        done
        [ $left = 0 ] && return 0
        sleep 0.1
    done
    for pid in "${pids[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
}

lab_stop_pid() { # pidfile word
    lab_stop_pids "$1" "$2"
}

lab_wait_file() { # file seconds
    local i
    for i in $(seq $(($2 * 10))); do
        [ -s "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# The base network puts the lab's hosts on the internet namespace's loopback;
# a missing address is added there the same way (it goes with the namespace).
lab_ensure_address() { # address
    local addrs
    addrs=$(ip -n "$lab_net_ns" -o addr show)
    if ! grep -qF " inet $1/" <<<"$addrs"; then
        ip -n "$lab_net_ns" addr add "$1/32" dev lo
    fi
}
