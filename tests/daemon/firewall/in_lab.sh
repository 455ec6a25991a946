#!/usr/bin/env bash
# Runs a test binary inside the lab's client namespace, in a private mount
# namespace, after bringing the lab up (idempotent). Nothing it does can reach
# the host's own rules, routes or files under the daemon's fixed paths.
set -euo pipefail
labdir=$1
shift
bash "$labdir/lab.sh" up >/dev/null
exec ip netns exec "${KESTROVA_LAB_CLIENT_NS:-kv-client}" unshare --mount --propagation private env KESTROVA_PRIVATE_MOUNTS=1 "$@"
