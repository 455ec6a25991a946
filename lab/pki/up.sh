#!/usr/bin/env bash
# Lab hook: the certificates every other lab part needs.
set -euo pipefail
exec bash "$(dirname "$0")/pki.sh" init
