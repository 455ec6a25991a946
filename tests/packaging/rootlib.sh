# Shared by the package tests: a throw-away Debian root on an overlay above the
# cached bootstrap, inside private mount, pid and network namespaces, so that
# nothing the package or its daemon does reaches this machine: dpkg writes into
# the overlay, the daemon's iptables rules live in the private network
# namespace, and every process dies with the namespace's first process.
# shellcheck shell=bash

KV_TEST_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
here=$KV_TEST_DIR
ROOT_PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() {
    echo "== $*"
}

# Runs the calling script again inside fresh namespaces, with the cached root
# and a work folder; the work folder is removed when the namespaces are gone.
# Use at the top: enter_namespaces "$@" (returns only inside the namespaces).
enter_namespaces() {
    if [ "${KV_PKGTEST_INSIDE:-}" = 1 ]; then
        return 0
    fi
    [ "$(id -u)" = 0 ] || { echo "SKIP: needs root"; exit 77; }
    local cache status
    cache=$(bash "$here/bootstrap-root.sh" ${KV_BOOTSTRAP_FLAVOUR:-}) || {
        echo "SKIP: no throw-away Debian root could be bootstrapped"
        exit 77
    }
    local work
    work=$(mktemp -d /tmp/kv-pkgtest.XXXXXX)
    status=0
    KV_PKGTEST_INSIDE=1 KV_CACHE_ROOT="$cache" KV_WORK="$work" \
        timeout --kill-after=10 "${KV_PKGTEST_TIMEOUT:-280}" \
        unshare --mount --propagation private --net --pid --fork --mount-proc \
        bash "$0" "$@" || status=$?
    rm -rf "$work"
    exit "$status"
}

# Mounts the overlay root at $ROOT with its own /proc, /dev, /run and /tmp,
# the stand-in programs, and the folder of packages at /mnt/packages.
make_root() {
    local packages=$1
    ROOT=$KV_WORK/root
    mkdir -p "$KV_WORK/upper" "$KV_WORK/wd" "$ROOT"
    mount -t overlay overlay -o "lowerdir=$KV_CACHE_ROOT,upperdir=$KV_WORK/upper,workdir=$KV_WORK/wd" "$ROOT"
    mount -t proc proc "$ROOT/proc"
    mount --rbind /dev "$ROOT/dev"
    mount -t tmpfs -o mode=755 tmpfs "$ROOT/run"
    mount -t tmpfs -o mode=1777 tmpfs "$ROOT/tmp"
    mkdir -p "$ROOT/mnt/packages"
    mount --bind "$packages" "$ROOT/mnt/packages"
    mount -o remount,bind,ro "$ROOT/mnt/packages"
    # The maintainer scripts act on services only where systemd runs; the
    # stand-in systemctl plays it.
    mkdir -p "$ROOT/run/systemd/system"
    rm -f "$ROOT/usr/sbin/policy-rc.d"
    install -m 755 "$here/stubs/systemctl" "$ROOT/usr/local/sbin/systemctl"
    ip link set lo up
}

in_root() {
    chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

# Every path of the root's own file system with its type, mode and owner;
# dpkg's and apt's bookkeeping and logs are left out (checked on their own).
snapshot() {
    in_root find / -xdev \( -path /var/lib/dpkg -o -path /var/log -o -path /var/cache \
        -o -path /var/lib/apt \) -prune -o -printf '%p %y %m %u\n' | sort
}

command_result() {
    python3 "$here/kvcommand.py" "$@"
}

# Waits until the daemon answers on its port; at most $1 tenths of a second.
wait_for_daemon() {
    local i=0
    while [ "$i" -lt "$1" ]; do
        [ "$(command_result 5 2>/dev/null)" = 1 ] && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

monitor_pid() {
    local pid
    read -r pid <"$ROOT/run/kestrovad.pid" 2>/dev/null || return 1
    kill -0 "$pid" 2>/dev/null && echo "$pid"
}

package_version() {
    in_root dpkg-query -W -f '${db:Status-Status} ${Version}' kestrova 2>/dev/null
}
