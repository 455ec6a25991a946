#!/usr/bin/env bash
# Runs the randomized lifecycle test for any number of seeds and writes a
# report: every sequence, every failure with the seed and the shortest
# sequence that still fails (give it back with --sequence to replay it).
#   scripts/lifecycle.sh [--build DIR] [--report FILE] [--jobs N] --seed N --count M [lifecycle.py options]
# Options of lifecycle.py: --min-steps, --max-steps, --max-wait (seconds
# between steps, default 2), --settle, --sequence 'op[=arg]@wait, ...',
# --no-shrink, --shrink-runs, --shrink-seconds. Runs as root, in a private
# copy of the lab: the host's network, firewall and resolver stay as they are.
#
# With --jobs N, N private labs run at once, each with its own daemon,
# namespaces, capture, /run, /tmp and home; they take the seeds one at a time
# from a shared queue, so a lab busy shrinking a failure holds up no other.
# Each lab's whole output goes to a section (FILE.jobs/N.log), the report
# merges them, and the exit status is 0 only when every seed ran and passed.
# --join FILE adds N more labs to the run whose report is FILE, while it
# runs (start small, add labs while the machine keeps up); that run's report
# waits for them and merges them too.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
report=
jobs=1
join=
seed=1
count=1
args=()
sequences=()
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
    --jobs)
        jobs=$2
        shift 2
        ;;
    --join)
        join=$2
        shift 2
        ;;
    --seed)
        seed=$2
        shift 2
        ;;
    --count)
        count=$2
        shift 2
        ;;
    --sequence)
        sequences+=("$1" "$2")
        shift 2
        ;;
    *)
        args+=("$1")
        shift
        ;;
    esac
done
for number in "$jobs" "$seed" "$count"; do
    [[ "$number" =~ ^[0-9]+$ ]] || {
        echo "not a number: $number" >&2
        exit 2
    }
done
[ "$jobs" -ge 1 ] || jobs=1
[ -z "$join" ] || report=$join
[ -n "$report" ] || report=$build/lifecycle-$(date -u +%Y%m%dT%H%M%S).log
for program in "$build/daemon/kestrovad" "$build/client/cli/kestrova-cli"; do
    [ -x "$program" ] || {
        echo "not built: $program (cmake --build $build)" >&2
        exit 2
    }
done
echo "report: $report"
runner=$root/tests/client/cli/lifecycle/run_lifecycle.sh
lab() {
    unshare --mount --propagation private bash "$runner" "$build/daemon/kestrovad" \
        "$build/client/cli/kestrova-cli" "$@"
}

if [ "$jobs" -eq 1 ] && [ -z "$join" ]; then
    status=0
    lab --seed "$seed" --count "$count" "${sequences[@]}" "${args[@]}" 2>&1 | tee "$report" || status=$?
    exit $status
fi

sections=$report.jobs
first=1
if [ -n "$join" ]; then
    [ -f "$sections/queue" ] || {
        echo "no run to join at $sections" >&2
        exit 2
    }
    first=$(($(ls "$sections" | sed -n 's/^\([0-9]*\)\.log$/\1/p' | sort -n | tail -1) + 1))
    sequences=()
else
    rm -rf "$sections"
    mkdir -p "$sections"
    # "next last": the labs take seeds from it under a lock, through descriptor 9.
    printf '%d %d\n' "$seed" "$((seed + count - 1))" >"$sections/queue"
fi
last=$((seed + count - 1))
started=$(date +%s)
pids=()
for n in $(seq "$first" $((first + jobs - 1))); do
    fixed=()
    [ "$n" -ne 1 ] || fixed=("${sequences[@]}")
    : >"$sections/$n.log"
    (
        status=0
        lab --queue-fd 9 "${fixed[@]}" "${args[@]}" >"$sections/$n.log" 2>&1 9<>"$sections/queue" ||
            status=$?
        echo "$status" >"$sections/$n.status"
    ) &
    pids+=($!)
    # Lab start-ups (certificates, servers) one after another, not all at once.
    sleep 5
done
# Progress: one line per finished sequence, with its lab.
tail --pid=$$ -q -n +1 -F $(for n in $(seq "$first" $((first + jobs - 1))); do echo "$sections/$n.log"; done) 2>/dev/null |
    grep --line-buffered -E '^[0-9:]+ (seed|fixed) [0-9]+: (passed|FAILED|shortest)' &
progress=$!
for pid in "${pids[@]}"; do
    wait "$pid" || true
done
if [ -n "$join" ]; then
    kill "$progress" 2>/dev/null || true
    exit 0
fi
# Labs that joined later end on their own.
running() {
    local log
    for log in "$sections"/*.log; do
        [ -f "${log%.log}.status" ] || return 0
    done
    return 1
}
while running; do
    sleep 5
done
sleep 1
kill "$progress" 2>/dev/null || true
labs=$(ls "$sections" | sed -n 's/^\([0-9]*\)\.log$/\1/p' | sort -n)

# The merged report: every lab's section, then the sum.
{
    for n in $labs; do
        echo "===== lab $n (exit $(cat "$sections/$n.status" 2>/dev/null || echo '?'))"
        cat "$sections/$n.log"
    done
    cat "$sections"/*.log | grep -hE '^[0-9:]+ (seed|fixed) [0-9]+: (passed|FAILED)' |
        sed -E 's/^[0-9:]+ ((seed|fixed) [0-9]+): (passed|FAILED).*/\3 \1/' | sort -u >"$sections/outcomes"
    passed=$(grep -c '^passed ' "$sections/outcomes" || true)
    failed=$(grep -c '^FAILED ' "$sections/outcomes" || true)
    missing=()
    for s in $(seq "$seed" "$last"); do
        grep -qE "^(passed|FAILED) seed $s\$" "$sections/outcomes" || missing+=("$s")
    done
    echo
    echo "== lifecycle report: $(echo $labs | wc -w) labs, seeds $seed-$last, $((passed + failed)) sequence(s) ran," \
        "$passed passed, $failed failed, ${#missing[@]} seed(s) not run, $(($(date +%s) - started)) s," \
        "commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || cat "$root/COMMIT" 2>/dev/null || echo unknown)"
    grep -hA1 '^FAIL ' "$sections"/*.log | grep -v '^--$' || true
    [ ${#missing[@]} -eq 0 ] || echo "not run: ${missing[*]}"
    bad=0
    for n in $labs; do
        [ "$(cat "$sections/$n.status" 2>/dev/null)" = 0 ] || bad=1
    done
    echo "$bad ${#missing[@]} $failed" >"$sections/sum"
} >"$report"
tail -n +"$(grep -n '^== lifecycle report' "$report" | tail -1 | cut -d: -f1)" "$report"
read -r bad missing failed <"$sections/sum"
[ "$bad" -eq 0 ] && [ "$missing" -eq 0 ] && [ "$failed" -eq 0 ]
