#!/usr/bin/env bash
# Resident memory of the client after sign-in with 5,000 servers: makes an
# account file with that many servers, starts the fake service on loopback and
# runs bench_ui_memory against it, in a network namespace of its own (the
# client pings its servers; nothing may leave the machine).
#   bash bench/client/ui/memory.sh [BUILD_DIR] [SERVERS]
set -euo pipefail
if [ "${KESTROVA_BENCH_NS:-}" != 1 ]; then
    exec env KESTROVA_BENCH_NS=1 unshare --net -- sh -c 'ip link set lo up && exec bash "$0" "$@"' "$0" "$@"
fi
root=$(cd "$(dirname "$0")/../../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
count=${2:-5000}
bench=$build/bench/client/ui/bench_ui_memory
[ -x "$bench" ] || cmake --build "$build" -j2 --target bench_ui_memory

work=$(mktemp -d)
service_pid=
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

python3 - "$root/lab/service/accounts.json" "$work/accounts.json" "$count" <<'PY'
import json, sys
src, dst, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = json.load(open(src))
template = data["servers"][0]
nets = ["192.0.2.", "198.51.100.", "203.0.113."]
servers, names = [], []
for i in range(count):
    s = dict(template)
    s["name"] = "Bench %04d" % i if i % 10 else "Bench %04d - Exit %04d" % (i, i)
    s["ip"] = nets[i % 3] + str(1 + (i // 3) % 250)
    s["group"] = 2 if i % 10 == 0 else 1
    servers.append(s)
    names.append(s["name"])
data["servers"] = servers
data["accounts"] = {"bench": {"password": "bench-pass", "kind": "full", "logins": ["kv9001"]}}
data["logins"] = {"kv9001": {"password": "vpn-9001", "expires": 1893456000, "servers": names}}
json.dump(data, open(dst, "w"))
PY

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run KESTROVA_LAB_RUN=$work/lab
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
python3 "$root/lab/service/fakeservice.py" --listen 127.0.0.1:0 --port-file "$work/port" \
    --accounts "$work/accounts.json" >"$work/service.out" 2>&1 &
service_pid=$!
for _ in $(seq 600); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "memory.sh: the fake service did not start" >&2; cat "$work/service.out" >&2; exit 1; }
export KESTROVA_API_URL=https://127.0.0.1:$(cat "$work/port") KESTROVA_CA_FILE=$KESTROVA_LAB_RUN/pki/ca.crt
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bench" "$count" 2>/dev/null
