#!/usr/bin/env bash
# Lab hook: stops the fake service that service/up.sh started.
set -euo pipefail
source "$(dirname "$0")/../pki/labenv.sh"
lab_stop_pid "$lab_run/service/service.pid" fakeservice.py
