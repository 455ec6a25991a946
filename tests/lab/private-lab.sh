#!/usr/bin/env bash
# Runs a command against a private copy of the whole lab: lab/lab.sh up in a
# mount namespace of its own, with tmpfs over /run/netns and /etc/netns, so
# its kv-client and kv-net are invisible to (and cannot collide with) the
# shared lab or another engineer's copy. The lab goes down when the command
# ends, whatever its result.
#   tests/lab/private-lab.sh COMMAND [ARGS...]
# The command runs in the host namespace, inside the private mount namespace;
# reach the lab with "ip netns exec kv-client ...". Run files go to a fresh
# directory (KESTROVA_LAB_RUN, exported to the command) unless one is given.
set -euo pipefail
[ $# -ge 1 ] || {
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
}
if [ "${KESTROVA_PRIVATE_LAB_INSIDE:-}" != 1 ]; then
    export KESTROVA_PRIVATE_LAB_INSIDE=1
    exec unshare --mount --propagation private bash "$0" "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
lab=$here/../../lab
own_run=
if [ -z "${KESTROVA_LAB_RUN:-}" ]; then
    KESTROVA_LAB_RUN=$(mktemp -d /tmp/kv-private-lab.XXXXXX)
    own_run=$KESTROVA_LAB_RUN
fi
export KESTROVA_LAB_RUN
mkdir -p /run/netns /etc/netns
mount -t tmpfs kv-private-lab /run/netns
mount -t tmpfs kv-private-lab /etc/netns
status=0
finish() {
    bash "$lab/lab.sh" down >/dev/null 2>&1 || true
    [ -z "$own_run" ] || rm -rf "$own_run"
}
trap finish EXIT
bash "$lab/lab.sh" up >/dev/null
"$@" || status=$?
exit $status
