#!/usr/bin/env bash
# Lab hook: the fake service API on 192.0.2.100:443 in the internet namespace.
set -euo pipefail
source "$(dirname "$0")/../pki/labenv.sh"
dir=$lab_run/service
mkdir -p "$dir"
lab_ns_exists "$lab_net_ns" || {
    echo "service/up.sh: namespace $lab_net_ns missing (run lab/lab.sh up)" >&2
    exit 1
}
if lab_pid_alive "$dir/service.pid" fakeservice.py; then
    exit 0
fi
bash "$lab_dir/pki/pki.sh" init
lab_ensure_address 192.0.2.100
rm -f "$dir/port"
KESTROVA_LAB_RUN=$lab_run ip netns exec "$lab_net_ns" setsid "$lab_python" "$lab_dir/service/fakeservice.py" \
    --accounts "${KESTROVA_LAB_ACCOUNTS:-$lab_dir/service/accounts.json}" \
    --listen 192.0.2.100:443 --port-file "$dir/port" --log "$dir/requests.log" \
    ${KESTROVA_LAB_SERVICE_ARGS:-} </dev/null >>"$dir/service.log" 2>&1 &
echo $! >"$dir/service.pid"
for i in $(seq 200); do
    [ -s "$dir/port" ] && exit 0
    lab_pid_alive "$dir/service.pid" fakeservice.py || break
    sleep 0.1
done
echo "service/up.sh: the fake service did not start, see $dir/service.log" >&2
tail -n 5 "$dir/service.log" >&2 || true
exit 1
