#!/usr/bin/env bash
# Runs the randomized lifecycle test for any number of seeds and writes a
# report: every sequence, every failure with the seed and the shortest
# sequence that still fails (give it back with --sequence to replay it).
#   scripts/lifecycle.sh [--build DIR] [--report FILE] --seed N --count M [lifecycle.py options]
# Options of lifecycle.py: --min-steps, --max-steps, --max-wait (seconds
# between steps, default 2), --settle, --sequence 'op[=arg]@wait, ...',
# --no-shrink, --shrink-runs, --shrink-seconds. Runs as root, in a private
# copy of the lab: the host's network, firewall and resolver stay as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
report=
args=()
while [ $# -gt 0 ]; do
    case $1 in
    --build)
        build=$(readlink -f "$2")
        shift 2
        ;;
    --report)
        report=$2
        shift 2
        ;;
    *)
        args+=("$1")
        shift
        ;;
    esac
done
[ -n "$report" ] || report=$build/lifecycle-$(date -u +%Y%m%dT%H%M%S).log
for program in "$build/daemon/kestrovad" "$build/client/cli/kestrova-cli"; do
    [ -x "$program" ] || {
        echo "not built: $program (cmake --build $build)" >&2
        exit 2
    }
done
echo "report: $report"
status=0
unshare --mount --propagation private bash "$root/tests/client/cli/lifecycle/run_lifecycle.sh" \
    "$build/daemon/kestrovad" "$build/client/cli/kestrova-cli" "${args[@]}" 2>&1 | tee "$report" ||
    status=$?
exit $status
