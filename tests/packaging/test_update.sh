#!/usr/bin/env bash
# The update path for real: with 3.6.9 installed in a throw-away root and its
# daemon running, a 3.6.10 package handed to the daemon with command 10 ends
# installed, the new daemon serving, and the client started again for the
# user in front of the machine. Stand-ins: systemctl (runs the unit as its
# file says), su, and loginctl (logind's active session: its user and display).
#   test_update.sh PACKAGE_DIR
set -euo pipefail
source "$(dirname "$0")/rootlib.sh"
enter_namespaces "$@"

packages=$(cd "$1" && pwd)
make_root "$packages"
install -m 755 "$KV_TEST_DIR/stubs/su" "$ROOT/usr/local/bin/su"
install -m 755 "$KV_TEST_DIR/stubs/loginctl" "$ROOT/usr/local/bin/loginctl"

step "install 3.6.9"
timeout 120 chroot "$ROOT" env -i PATH="$ROOT_PATH" HOME=/root DEBIAN_FRONTEND=noninteractive \
    dpkg -i /mnt/packages/kestrova_3.6.9_amd64.deb >/dev/null || fail "dpkg -i failed"
wait_for_daemon 100 || fail "the 3.6.9 daemon does not answer"
old_monitor=$(monitor_pid) || fail "no 3.6.9 monitor"

# As the client leaves it: downloaded into the user's folder.
mkdir -p "$ROOT/home/demo/Downloads"
cp "$packages/kestrova_3.6.10_amd64.deb" "$ROOT/home/demo/Downloads/kestrova_3.6.10_amd64.deb"

step "command 10"
[ "$(command_result 10 --path /home/demo/Downloads/kestrova_3.6.10_amd64.deb)" = 1 ] ||
    fail "the daemon refused the update"
# The job waits 5 seconds, stops both programs and runs dpkg; bounded wait.
# dpkg-query takes no lock: while the job's dpkg folds its journal into the
# status file, a read may find the record of a moment before, or none. So
# the state counts only once no dpkg runs (this pid namespace is the test's).
installed() {
    ! pgrep -x dpkg >/dev/null && [ "$(package_version)" = "installed 3.6.10" ]
}
i=0
while ! installed && [ $i -lt 600 ]; do
    sleep 0.1
    i=$((i + 1))
done
installed || {
    cat "$ROOT/run/fake-systemctl.log" >&2 || true
    fail "3.6.10 was not installed: $(package_version)"
}

step "the new daemon serves"
wait_for_daemon 150 || fail "no daemon answers after the update"
new_monitor=$(monitor_pid) || fail "no monitor after the update"
[ "$new_monitor" != "$old_monitor" ] || fail "the old daemon is still the one running"
! kill -0 "$old_monitor" 2>/dev/null || fail "the old monitor is still alive"
[ "$(pgrep -c -x kestrovad)" = 2 ] || fail "expected one monitor and one worker: $(pgrep -a -x kestrovad)"
grep -q 'stop kestrovad' "$ROOT/run/fake-systemctl.log" || fail "the job did not stop the service"

step "the client is started again for the user in front"
i=0
while [ ! -s "$ROOT/run/fake-su.log" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
grep -qx "su -l demo -c kestrova -style=gtk &" "$ROOT/run/fake-su.log" ||
    fail "client start: $(cat "$ROOT/run/fake-su.log" 2>/dev/null)"
echo "PASS"
