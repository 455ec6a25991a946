#!/usr/bin/env bash
# The unit's start wrapper, against stand-in daemons: it must report success
# only once a new daemon has written its pid file and listens on its port,
# and never take a pid file left from an earlier run for the new daemon. Its
# stop-post must end the daemon's leftovers, found through the control group
# or, without one, through the dead monitor's session, and nothing else.
#   test_service_helper.sh PATH-TO-kestrovad-service
set -euo pipefail
helper=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KESTROVAD_PIDFILE=$work/kestrovad.pid KESTROVAD_CHILD_PIDFILE=$work/kestrovad_child.pid
export KESTROVAD_START_WAIT=30 KESTROVAD_PORT=$((20000 + $$ % 20000))
listening() { [ -n "$(ss -Hltn "sport = :$KESTROVAD_PORT")" ]; }
failures=0
check() { # name expected-status
    local name=$1 expected=$2 got=0
    KESTROVAD_BIN=$work/daemon sh "$helper" start >"$work/out" 2>&1 || got=$?
    if [ "$got" != "$expected" ]; then
        echo "FAIL: $name: status $got, expected $expected"
        cat "$work/out"
        failures=$((failures + 1))
    else
        echo "ok: $name"
    fi
}
# A daemon that detaches: the parent returns at once, the child writes the
# pid file a little later and listens on its port later still, as kestrovad
# does (or never listens, given "deaf").
cat >"$work/serve.py" <<'EOS'
import socket, sys, time
s = socket.socket()
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen()
time.sleep(5)
EOS
detaching_daemon() {
    local serve="python3 $work/serve.py $KESTROVAD_PORT"
    [ "${1:-}" = deaf ] && serve="sleep 5"
    cat >"$work/daemon" <<EOS
#!/bin/sh
( sleep 0.3; sh -c 'echo \$\$ >"$KESTROVAD_PIDFILE"; sleep 0.5; exec $serve' ) >/dev/null 2>&1 &
exit 0
EOS
    chmod +x "$work/daemon"
}
stop_children() {
    [ -s "$KESTROVAD_PIDFILE" ] && kill "$(cat "$KESTROVAD_PIDFILE")" 2>/dev/null || true
    rm -f "$KESTROVAD_PIDFILE"
}

detaching_daemon
check "waits for the pid file and the port of a detaching daemon" 0
if listening; then
    echo "ok: the port accepts once the start has returned"
else
    echo "FAIL: the start returned before the port accepted connections"
    failures=$((failures + 1))
fi
stop_children

detaching_daemon deaf
check "a daemon that never listens fails the service" 1
stop_children

printf '#!/bin/sh\nexit 1\n' >"$work/daemon"
check "a daemon that fails to start fails the service" 1

printf '#!/bin/sh\nexit 0\n' >"$work/daemon"
check "a daemon that writes no pid file fails the service" 1

# A pid file from an earlier run naming a live process (the pid was reused).
sleep 30 &
reused=$!
echo "$reused" >"$KESTROVAD_PIDFILE"
check "a reused pid in an old pid file is not taken for the new daemon" 1
kill "$reused" 2>/dev/null || true
wait "$reused" 2>/dev/null || true

# A pid file from an earlier run naming a dead process is removed first.
echo 999999 >"$KESTROVAD_PIDFILE"
detaching_daemon
check "a stale pid file is replaced by the new daemon's" 0
stop_children

# stop-post: of the processes left in the unit, only the daemon's own end.
cp "$(command -v sleep)" "$work/openvpn"
cp "$(command -v sleep)" "$work/kestrovad"
"$work/openvpn" 30 &
vpn=$!
"$work/kestrovad" 30 &
worker=$!
sleep 30 & # stands for the update job, which must be left to finish
job=$!
printf '%s\n' "$vpn" "$worker" "$job" >"$work/cgroup.procs"
KESTROVAD_CGROUP_PROCS=$work/cgroup.procs sh "$helper" stop-post
# Ended means gone or a zombie waiting for this shell.
ended() { [ ! -d "/proc/$1" ] || [ "$(awk '{print $3}' "/proc/$1/stat")" = Z ]; }
for pid in "$vpn" "$worker"; do
    for _ in $(seq 30); do
        ended "$pid" && break
        sleep 0.1
    done
    if ended "$pid"; then
        echo "ok: stop-post ends pid $pid"
    else
        echo "FAIL: stop-post left pid $pid"
        failures=$((failures + 1))
        kill "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
done
if kill -0 "$job" 2>/dev/null; then
    echo "ok: stop-post leaves the update job alone"
else
    echo "FAIL: stop-post ended a process that is not the daemon's"
    failures=$((failures + 1))
fi
kill "$job" 2>/dev/null || true
wait "$job" 2>/dev/null || true

# stop-post without a control group to read (a layout it does not know): the
# monitor named in the pid file was killed; the members of its session that
# are the daemon's end, a daemon process of another session does not.
setsid sh -c 'echo $$ >"$0"; "$1" 30 & exec sleep 30' "$KESTROVAD_PIDFILE" "$work/kestrovad" &
for _ in $(seq 50); do
    [ -s "$KESTROVAD_PIDFILE" ] && [ -n "$(pgrep -s "$(cat "$KESTROVAD_PIDFILE")" -x kestrovad)" ] && break
    sleep 0.1
done
monitor=$(cat "$KESTROVAD_PIDFILE")
worker=$(pgrep -s "$monitor" -x kestrovad)
"$work/kestrovad" 30 &
stranger=$!
echo "$monitor" >"$KESTROVAD_CHILD_PIDFILE"
kill -KILL "$monitor"
KESTROVAD_CGROUP_ROOT=$work/no-cgroups sh "$helper" stop-post
if ended "$worker"; then
    echo "ok: stop-post without a control group ends the dead monitor's worker"
else
    echo "FAIL: stop-post without a control group left the worker $worker"
    failures=$((failures + 1))
    kill "$worker" 2>/dev/null || true
fi
if kill -0 "$stranger" 2>/dev/null; then
    echo "ok: stop-post leaves a daemon process of another session alone"
else
    echo "FAIL: stop-post ended a process outside the daemon's session"
    failures=$((failures + 1))
fi
if [ ! -e "$KESTROVAD_CHILD_PIDFILE" ]; then
    echo "ok: stop-post removes the child pid file"
else
    echo "FAIL: stop-post left $KESTROVAD_CHILD_PIDFILE"
    failures=$((failures + 1))
fi
kill "$stranger" 2>/dev/null || true
wait "$stranger" 2>/dev/null || true

[ "$failures" = 0 ]
