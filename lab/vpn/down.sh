#!/usr/bin/env bash
# Lab hook: stops the OpenVPN servers and stunnel that vpn/up.sh started.
set -euo pipefail
source "$(dirname "$0")/../pki/labenv.sh"
dir=$lab_run/vpn
[ -d "$dir" ] || exit 0
pairs=("$dir/stunnel.pid" "$dir/stunnel.conf")
for conf in "$dir"/kvt*.conf "$dir"/kvc*.conf; do
    [ -e "$conf" ] || continue
    pairs+=("${conf%.conf}.pid" "$conf")
done
lab_stop_pids "${pairs[@]}"
