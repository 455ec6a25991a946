#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds, and runs every test
# (unit, lab, e2e, gui), then the unit tests again under ASan and UBSan and the
# fuzz targets for a bounded time. Run as root: lab tests build network
# namespaces and load real iptables rules inside them, never on the host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

bash "$root/scripts/install-deps.sh"

status=0
# ctest runs in a mount namespace of its own with fresh /run/netns and
# /etc/netns, so the lab namespaces it builds can neither collide with a lab
# that is already up on this machine nor outlive the run.
run_suite() {
    local dir=$1
    shift
    (cd "$dir" && unshare --mount --propagation private bash -c '
        mkdir -p /run/netns /etc/netns
        mount -t tmpfs kv-suite /run/netns
        mount -t tmpfs kv-suite /etc/netns
        exec ctest --output-on-failure --no-tests=error -j2 "$@"' ctest "$@") || status=1
}

echo "== Build =="
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$jobs"
echo "== Tests =="
run_suite "$root/build"

if [ "${KESTROVA_SKIP_SANITIZE:-0}" != 1 ]; then
    echo "== Unit tests under ASan and UBSan =="
    cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DKESTROVA_SANITIZE=ON -DKESTROVA_BUILD_BENCH=OFF
    cmake --build "$root/build-asan" -j"$jobs"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_suite "$root/build-asan" -L unit
fi

if [ "${KESTROVA_SKIP_FUZZ:-0}" != 1 ]; then
    echo "== Fuzz targets =="
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DKESTROVA_FUZZ=ON -DKESTROVA_BUILD_CLIENT=OFF -DKESTROVA_BUILD_BENCH=OFF
    cmake --build "$root/build-fuzz" -j"$jobs"
    if (cd "$root/build-fuzz" && ctest -N -L fuzz | grep -q 'Total Tests: [1-9]'); then
        run_suite "$root/build-fuzz" -L fuzz
    fi
fi

exit $status
