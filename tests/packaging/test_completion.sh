#!/usr/bin/env bash
# kestrova-cli's bash completion offers the commands, the settings and their
# values, with or without the bash-completion package's helpers.
#   test_completion.sh COMPLETION_FILE
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
complete_words() { # the words of the line, the last one being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _kestrova_cli
    echo "${COMPREPLY[*]}"
}
[ "$(complete_words kestrova-cli se)" = "servers set" ] || fail "commands: $(complete_words kestrova-cli se)"
[ "$(complete_words kestrova-cli --json set "")" = "protocol killswitch lan ipv6-block timezone autoconnect" ] ||
    fail "settings after an option"
[ "$(complete_words kestrova-cli set protocol s)" = "stealth" ] || fail "protocols"
[ "$(complete_words kestrova-cli set killswitch "")" = "on off" ] || fail "on and off"
[ "$(complete_words kestrova-cli favorite "")" = "add remove" ] || fail "favourite actions"
[ "$(complete_words kestrova-cli status --j)" = "--json" ] || fail "options"
echo "completion ok"
