#!/usr/bin/env bash
# The service and the update job under a real systemd 252: the throw-away
# root booted in a container (systemd-nspawn, always with a private network,
# since the daemon clears the firewall of the namespace it starts in), in the
# cgroup layout given:
#   - installing starts the service, and every start returns only once the
#     command port accepts connections;
#   - after SIGKILL of the monitor the service comes back with no old worker
#     left (stop-post finds it in the unified and in the hybrid layout);
#   - an update through command 10 stops the service without a signal
#     failure, kills nothing it does not mean (a journal follower, a process
#     whose command line names the daemon) and, with nobody on a display,
#     starts no client;
#   - stopping leaves no process and no pid file; purging leaves no folder.
#   test_systemd.sh PACKAGE_DIR unified|hybrid
set -euo pipefail
source "$(dirname "$0")/rootlib.sh"
command -v systemd-nspawn >/dev/null || {
    echo "SKIP: systemd-nspawn is not installed (systemd-container)"
    exit 77
}
enter_namespaces "$@"

packages=$(cd "$1" && pwd)
layout=$2

ROOT=$KV_WORK/root
mkdir -p "$KV_WORK/upper" "$KV_WORK/wd" "$ROOT"
mount -t overlay overlay -o "lowerdir=$KV_CACHE_ROOT,upperdir=$KV_WORK/upper,workdir=$KV_WORK/wd" "$ROOT"
rm -f "$ROOT/usr/sbin/policy-rc.d"
# Records whom the update job would start the client for.
install -m 755 "$KV_TEST_DIR/stubs/su" "$ROOT/usr/local/bin/su"
mkdir -p "$ROOT/mnt/packages"
cp "$packages"/kestrova_3.6.9_amd64.deb "$packages"/kestrova_3.6.10_amd64.deb "$ROOT/mnt/packages/"

# Unified on request; otherwise the container takes the host's layout, which
# is hybrid where the host is.
if [ "$layout" = unified ]; then
    export SYSTEMD_NSPAWN_UNIFIED_HIERARCHY=1
fi
systemd-nspawn -D "$ROOT" --private-network -b --register=no --keep-unit --console=passive \
    >"$KV_WORK/console.log" 2>&1 &
nspawn=$!
boot_failed() {
    cat "$KV_WORK/console.log" >&2
    fail "$*"
}

step "boot ($layout cgroup layout)"
# The container's process 1: the one process that is 1 in a namespace below ours,
# once it runs systemd. Before that it is still systemd-nspawn setting up the
# container, and a command entering its namespaces then may not find the
# container as it will be.
init=""
for _ in $(seq 100); do
    # A process that ends while awk reads the list makes awk fail; look again.
    init=$(awk '$1 == "NSpid:" && NF == 3 && $3 == 1 {print $2}' /proc/[0-9]*/status 2>/dev/null | head -n 1) || init=
    [ -n "$init" ] && [ "$(cat "/proc/$init/comm" 2>/dev/null)" = systemd ] && break
    init=""
    sleep 0.1
done
[ -n "$init" ] || boot_failed "the container's systemd did not start"
box() {
    nsenter -t "$init" -a env -i PATH="$ROOT_PATH" LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}
# Until its bus is up, systemctl cannot even ask; and until systemd has made
# /run/systemd/system, a moment after it starts, systemctl takes the
# container for one not booted with systemd and says "offline".
state=""
for _ in $(seq 300); do
    state=$(box systemctl is-system-running --wait 2>&1) && break
    case "$state" in
        *bus* | offline) sleep 0.2 ;;
        *) break ;;
    esac
done
case "$state" in
    running | degraded) ;;
    *) boot_failed "the container's system is $state" ;;
esac
if [ "$layout" = unified ]; then
    box test -e /sys/fs/cgroup/cgroup.controllers || fail "the container's cgroups are not unified"
elif ! box test -d /sys/fs/cgroup/unified || ! box test -d /sys/fs/cgroup/systemd; then
    box systemctl poweroff >/dev/null 2>&1 || true
    wait "$nspawn" || true
    echo "SKIP: this host gives containers no hybrid cgroup layout"
    exit 77
fi

# The daemon answers a command right away (the command port of the container).
answers() {
    [ "$(nsenter -t "$init" -n python3 "$KV_TEST_DIR/kvcommand.py" 5 2>/dev/null)" = 1 ]
}
daemon_pids() {
    box pgrep -x kestrovad | sort
}
main_pid() {
    box systemctl show -p MainPID --value kestrovad.service
}

step "install 3.6.9: postinst starts the service"
box timeout 120 dpkg -i /mnt/packages/kestrova_3.6.9_amd64.deb >/dev/null || fail "dpkg -i failed"
[ "$(box systemctl is-active kestrovad.service)" = active ] || fail "the service is not active"
answers || fail "the daemon does not answer after the install"

step "a start returns only once the command port accepts"
for i in 1 2 3; do
    box bash -c 'systemctl restart kestrovad.service && exec 3<>/dev/tcp/127.0.0.1/23589' 2>/dev/null ||
        fail "restart $i returned before the port accepted connections"
done
# Starts from here on are not held against the restarts above (at most five
# starts in ten seconds).
box systemctl reset-failed kestrovad.service

step "SIGKILL of the monitor: the service comes back without the old worker"
monitor=$(main_pid)
old=$(daemon_pids)
[ "$(echo "$old" | wc -l)" = 2 ] || fail "expected a monitor and a worker: $old"
box kill -KILL "$monitor"
back=""
for _ in $(seq 150); do
    now=$(main_pid)
    if [ "$now" != 0 ] && [ "$now" != "$monitor" ] && answers; then
        back=$now
        break
    fi
    sleep 0.1
done
[ -n "$back" ] || fail "the service did not come back: $(box systemctl status kestrovad.service 2>&1)"
for pid in $old; do
    ! box kill -0 "$pid" 2>/dev/null || fail "process $pid of the killed daemon survived"
done
[ "$(daemon_pids | wc -l)" = 2 ] || fail "expected one monitor and one worker: $(daemon_pids)"

step "update through command 10"
box sh -c 'journalctl -f -u kestrovad.service >/dev/null 2>&1 & echo $!' >"$KV_WORK/journal.pid"
box sh -c 'bash -c "sleep 600; : kestrovad kestrova" >/dev/null 2>&1 & echo $!' >"$KV_WORK/bystander.pid"
bystanders="$(cat "$KV_WORK/journal.pid") $(cat "$KV_WORK/bystander.pid")"
since=$(box date '+%Y-%m-%d %H:%M:%S')
mkdir -p "$ROOT/home/demo/Downloads"
cp "$ROOT/mnt/packages/kestrova_3.6.10_amd64.deb" "$ROOT/home/demo/Downloads/"
[ "$(nsenter -t "$init" -n python3 "$KV_TEST_DIR/kvcommand.py" 10 \
    --path /home/demo/Downloads/kestrova_3.6.10_amd64.deb)" = 1 ] || fail "the daemon refused the update"
version=""
for _ in $(seq 600); do
    version=$(box dpkg-query -W -f '${db:Status-Status} ${Version}' kestrova 2>/dev/null || true)
    [ "$version" = "installed 3.6.10" ] && break
    sleep 0.1
done
[ "$version" = "installed 3.6.10" ] || fail "3.6.10 was not installed: $version"
for _ in $(seq 100); do
    answers && break
    sleep 0.1
done
answers || fail "no daemon answers after the update"
for pid in $bystanders; do
    box kill -0 "$pid" 2>/dev/null || fail "the update job killed process $pid, which is not the daemon's"
done
journal=$(box journalctl -u kestrovad.service --since "$since" --no-pager)
if echo "$journal" | grep -q "Failed with result"; then
    echo "$journal" >&2
    fail "the update's stop was journalled as a failure"
fi
sleep 1 # the job starts the client last, if anybody is on a display
! box test -e /run/fake-su.log || fail "the client was started with nobody on a display: $(box cat /run/fake-su.log)"

step "stop: nothing left"
box systemctl stop kestrovad.service
[ -z "$(daemon_pids)" ] || fail "daemon processes left after stop: $(daemon_pids)"
for file in /run/kestrovad.pid /run/kestrovad_child.pid; do
    ! box test -e "$file" || fail "$file left after stop"
done

step "purge"
box timeout 120 dpkg --purge kestrova >/dev/null || fail "dpkg --purge failed"
! box test -e /usr/share/kestrova || fail "/usr/share/kestrova left after purge"

box systemctl poweroff >/dev/null 2>&1 || true
for _ in $(seq 100); do
    kill -0 "$nspawn" 2>/dev/null || break
    sleep 0.1
done
echo "PASS"
