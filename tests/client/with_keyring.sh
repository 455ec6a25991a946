#!/bin/sh
# Runs a test program the way a desktop session would: its own D-Bus session
# bus with a real GNOME Keyring, unlocked with a throw-away password, and a
# throw-away home. The keyring daemon goes with the bus when the test ends.
set -eu
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-keyring.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM
export HOME="$scratch/home"
export XDG_RUNTIME_DIR="$scratch/run"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
# shellcheck disable=SC2016
dbus-run-session -- sh -c '
    printf %s kestrova-test-keyring | gnome-keyring-daemon --unlock --components=secrets --daemonize >/dev/null
    gnome-keyring-daemon --start --components=secrets >/dev/null
    exec "$@"' sh "$@"
