#!/usr/bin/env bash
# Prepares the throw-away Debian root that the package tests install into.
# The bootstrap is slow, so one pristine copy is cached under /var/cache and
# every test run works on an overlay above it; the cache key is the list of
# packages below, so changing it makes a fresh bootstrap.
#
# Prints the cached root's path. Exits 77 (skip) when the root cannot be
# fetched, with the reason on standard error.
#   bootstrap-root.sh [dns]
# "dns" is a second root for the name-resolution test: a desktop's
# NetworkManager besides, and the packages of systemd-resolved and of
# resolvconf (which conflict) kept under /opt/kv-debs/NAME for the test to
# install into its overlay.
set -euo pipefail

flavour=${1:-}

suite=${KESTROVA_BOOTSTRAP_SUITE:-bookworm}
mirror=${KESTROVA_BOOTSTRAP_MIRROR:-http://deb.debian.org/debian}
cache_base=${KESTROVA_BOOTSTRAP_CACHE:-/var/cache/kestrova-test}
# What the package depends on, so that installing it needs no download, what
# the update job and the maintainer scripts call, and a real systemd with its
# bus for the tests that boot the root in a container.
include=(
    openvpn stunnel4 iptables iproute2 iputils-ping procps sudo psmisc inotify-tools
    libqt5core5a libqt5gui5 libqt5widgets5 libqt5network5 libqt5xml5 libqt5concurrent5
    libqt5svg5 libqt5keychain1 libsecret-1-0 hicolor-icon-theme init-system-helpers systemd-sysv dbus
)
# Installed after the bootstrap (polkitd cannot be configured by debootstrap).
later=()
extra_debs=()
case "$flavour" in
    '') ;;
    dns)
        later=(network-manager)
        extra_debs=(systemd-resolved resolvconf)
        ;;
    *)
        echo "bootstrap-root: unknown flavour $flavour" >&2
        exit 2
        ;;
esac

key=$(printf '%s\n' "$suite" "$mirror" "${include[@]}" ${later[@]+"${later[@]}"} ${extra_debs[@]+"${extra_debs[@]}"} | sha256sum | cut -c1-12)
root="$cache_base/$suite-$key"
if [ -f "$root/.kestrova-bootstrap-done" ]; then
    echo "$root"
    exit 0
fi

if ! command -v debootstrap >/dev/null; then
    echo "bootstrap-root: debootstrap is not installed" >&2
    exit 77
fi
mkdir -p "$cache_base"
# One bootstrap at a time; a second caller waits for the first.
exec 9>"$cache_base/.lock"
flock -w 1500 9 || { echo "bootstrap-root: another bootstrap holds the lock" >&2; exit 77; }
if [ -f "$root/.kestrova-bootstrap-done" ]; then
    echo "$root"
    exit 0
fi

rm -rf "$root.partial"
log="$cache_base/bootstrap-$key.log"
echo "bootstrap-root: bootstrapping $suite into $root (once; log in $log)" >&2
if ! timeout 1500 debootstrap --variant=minbase --include="$(IFS=,; echo "${include[*]}")" \
    "$suite" "$root.partial" "$mirror" >"$log" 2>&1; then
    echo "bootstrap-root: cannot bootstrap $suite from $mirror (see $log)" >&2
    rm -rf "$root.partial"
    exit 77
fi
in_partial() {
    timeout 900 unshare --mount --propagation private sh -c \
        'mount -t proc proc "$1/proc" && shift && exec chroot "$@"' sh "$root.partial" "$root.partial" \
        env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@" >>"$log" 2>&1
}
if [ ${#later[@]} -gt 0 ] || [ ${#extra_debs[@]} -gt 0 ]; then
    printf '#!/bin/sh\nexit 101\n' >"$root.partial/usr/sbin/policy-rc.d"
    chmod 755 "$root.partial/usr/sbin/policy-rc.d"
    in_partial apt-get -q update || { echo "bootstrap-root: apt-get update failed (see $log)" >&2; rm -rf "$root.partial"; exit 77; }
fi
if [ ${#later[@]} -gt 0 ] && ! in_partial apt-get -q -y --no-install-recommends install "${later[@]}"; then
    echo "bootstrap-root: cannot install ${later[*]} (see $log)" >&2
    rm -rf "$root.partial"
    exit 77
fi
for deb in ${extra_debs[@]+"${extra_debs[@]}"}; do
    mkdir -p "$root.partial/opt/kv-debs/$deb/partial"
    if ! in_partial apt-get -q -y -d --no-install-recommends -o Dir::Cache::archives=/opt/kv-debs/$deb install "$deb"; then
        echo "bootstrap-root: cannot fetch $deb (see $log)" >&2
        rm -rf "$root.partial"
        exit 77
    fi
    rm -rf "$root.partial/opt/kv-debs/$deb/partial" "$root.partial/opt/kv-debs/$deb/lock"
done
# Nothing in the root may start services while packages are installed.
printf '#!/bin/sh\nexit 101\n' >"$root.partial/usr/sbin/policy-rc.d"
chmod 755 "$root.partial/usr/sbin/policy-rc.d"
rm -rf "$root.partial/var/cache/apt/archives/"*.deb
touch "$root.partial/.kestrova-bootstrap-done"
mv "$root.partial" "$root"
echo "$root"
