#!/usr/bin/env bash
# Pictures of the desktop client: starts the lab's fake service on loopback and
# the client under Xvfb, and saves a PNG of every page into a folder
# (default out/screenshots): each page grabbed by the window itself, and the
# whole screen of a real client start taken with ImageMagick's import.
#   scripts/screenshots.sh [OUTPUT_DIR] [BUILD_DIR]
set -euo pipefail
# The signed-in client pings its servers: give it a network namespace of its
# own with only loopback, so nothing leaves the machine.
if [ "${KESTROVA_SCREENSHOTS_NS:-}" != 1 ]; then
    exec env KESTROVA_SCREENSHOTS_NS=1 unshare --net -- sh -c 'ip link set lo up && exec bash "$0" "$@"' "$0" "$@"
fi
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/out/screenshots}")
build=$(realpath -m "${2:-$root/build}")
mkdir -p "$out"

for tool in xvfb-run import python3; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
if [ ! -x "$build/client/ui/kestrova" ] || [ ! -x "$build/tests/client/ui/ui_screenshots" ]; then
    cmake -S "$root" -B "$build" -G Ninja >/dev/null
    cmake --build "$build" -j2 --target kestrova ui_screenshots
fi

work=$(mktemp -d)
service_pid=
cleanup() {
    [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null && wait "$service_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The lab's servers answer the client's pings through the unit tests' stand-in
# ping, so the server list shows latencies without any packet leaving.
export PATH=$root/tests/client/network/fakeping:$PATH

# Settings, logs and the single-instance socket in a throw-away home.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run KESTROVA_LAB_RUN=$work/lab
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

python3 "$root/lab/service/fakeservice.py" --listen 127.0.0.1:0 --port-file "$work/port" \
    --log "$work/requests.log" >"$work/service.out" 2>&1 &
service_pid=$!
for _ in $(seq 600); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "screenshots: the fake service did not start" >&2; cat "$work/service.out" >&2; exit 1; }
export KESTROVA_API_URL=https://127.0.0.1:$(cat "$work/port") KESTROVA_CA_FILE=$KESTROVA_LAB_RUN/pki/ca.crt

# Every page, grabbed by the window itself.
xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/client/ui/ui_screenshots" "$out"

# The real program as the desktop shows it.
cat >"$work/desktop.sh" <<EOS
"$build/client/ui/kestrova" & pid=\$!
sleep 3
import -window root "$out/00-desktop.png"
kill \$pid; wait \$pid 2>/dev/null || true
EOS
xvfb-run -a -s "-screen 0 800x600x24" bash "$work/desktop.sh"
echo "$out/00-desktop.png"
