#!/bin/sh
# Runs a test program the way a desktop session would: its own D-Bus session
# bus with a real GNOME Keyring, unlocked with a throw-away password, and a
# throw-away home. The bus and the keyring end with the test, also when the
# test is interrupted.
set -eu
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-keyring.XXXXXX")
bus_pid=
keyring_pid=
cleanup() {
    [ -z "$keyring_pid" ] || kill "$keyring_pid" 2>/dev/null || true
    [ -z "$bus_pid" ] || kill "$bus_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 143' INT TERM
export HOME="$scratch/home"
export XDG_RUNTIME_DIR="$scratch/run"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$scratch/bus-address" 4>"$scratch/bus-pid"
bus_pid=$(cat "$scratch/bus-pid")
DBUS_SESSION_BUS_ADDRESS=$(cat "$scratch/bus-address")
export DBUS_SESSION_BUS_ADDRESS
printf %s kestrova-test-keyring | gnome-keyring-daemon --unlock --foreground --components=secrets >/dev/null 2>&1 &
keyring_pid=$!
# Once the unlocked daemon has its control socket, this makes it take its
# name on the bus.
tries=0
until [ -S "$XDG_RUNTIME_DIR/keyring/control" ] || [ $tries -ge 50 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
gnome-keyring-daemon --start --components=secrets >/dev/null
set +e
"$@"
status=$?
exit $status
