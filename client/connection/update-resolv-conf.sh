#!/bin/sh
# OpenVPN runs this when the tunnel comes up and when it goes down. While the
# tunnel is up, every name query goes to the name servers the VPN server
# pushed, and to nothing else; afterwards the machine gets the setting that
# is right at that moment, not a copy from before the tunnel.
#
#  - systemd-resolved running: the servers are set on the tunnel interface
#    with the routing domain "~.", and no other link keeps "~." (a desktop's
#    NetworkManager gives it to the link of the default route), so no query
#    takes another path;
#  - otherwise /etc/resolv.conf (or the file it links to) holds only the
#    tunnel's servers. With resolvconf the tunnel also gets a record of its
#    own, and resolvconf rebuilds its file from the records on down, so the
#    list never falls back to the LAN's servers behind the tunnel's.
#
# Whoever manages the resolver (NetworkManager on a DHCP renewal or after
# roaming, resolvconf, resolved) may rewrite it while the tunnel is up. A
# guard process started by up watches it with inotify for the life of the
# tunnel: it takes what was written as the machine's current setting and puts
# the tunnel's back. It ends with down, or by itself once OpenVPN is gone,
# and then gives the machine its current setting back.
#
# Values pushed by the server are checked before use: only addresses and
# domain names reach a configuration.

set -u
set -f
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export PATH
umask 077

RESOLV_CONF=/etc/resolv.conf
STATE_DIR=/run/kestrova
SAVED="$STATE_DIR/resolv.conf.saved"
RESOLVED_DIR=/run/systemd/resolve
RESOLVED_SOCKET=$RESOLVED_DIR/io.systemd.Resolve
# The first line of every resolv.conf this script writes.
MARK="# Written by Kestrova while the VPN tunnel"

say() {
    echo "update-resolv-conf: $*" >&2
}

dev=${dev:-${1:-}}
script_type=${script_type:-}
# A guard is started as: SCRIPT DEV MODE OWNER (see start_guard).
guard_mode=${2:-}
guard_owner=${3:-}
case "$dev" in
'' | *[!A-Za-z0-9_.-]*)
    say "unusable device name"
    exit 1
    ;;
esac
WANTED="$STATE_DIR/resolv.conf.$dev"
GUARD_PID="$STATE_DIR/guard.$dev.pid"
STRIPPED="$STATE_DIR/resolved-links.$dev"

is_address() {
    case "$1" in
    '' | *[!0-9A-Fa-f:.]*) return 1 ;;
    *[0-9A-Fa-f]*) return 0 ;;
    *) return 1 ;;
    esac
}

is_domain() {
    case "$1" in
    '' | .* | *..* | *[!A-Za-z0-9.-]*) return 1 ;;
    *) return 0 ;;
    esac
}

servers=""
domains=""

add_server() {
    if is_address "$1"; then
        servers="$servers $1"
    else
        say "ignoring name server '$1'"
    fi
}

add_domain() {
    if is_domain "$1"; then
        domains="$domains $1"
    else
        say "ignoring domain '$1'"
    fi
}

# Pushed options: foreign_option_N = "dhcp-option DNS 203.0.113.53" and the
# like, and the newer dns_server_N_address_M variables.
i=1
while opt=$(printenv "foreign_option_$i"); do
    # shellcheck disable=SC2086 # split into words on purpose; globbing is off
    set -- $opt
    if [ $# -eq 3 ] && [ "$1" = dhcp-option ]; then
        case "$2" in
        DNS | DNS6) add_server "$3" ;;
        DOMAIN | DOMAIN-SEARCH) add_domain "$3" ;;
        esac
    fi
    i=$((i + 1))
done
n=0
while printenv "dns_server_${n}_address_1" >/dev/null; do
    m=1
    while addr=$(printenv "dns_server_${n}_address_$m"); do
        add_server "$addr"
        m=$((m + 1))
    done
    n=$((n + 1))
done
m=1
while dom=$(printenv "dns_search_domain_$m"); do
    add_domain "$dom"
    m=$((m + 1))
done

resolved_running() {
    command -v resolvectl >/dev/null 2>&1 && [ -S "$RESOLVED_SOCKET" ] && resolvectl status >/dev/null 2>&1
}

have_resolvconf() {
    command -v resolvconf >/dev/null 2>&1
}

# The domains of one resolved link, as resolvectl lists them.
link_domains() {
    resolvectl domain "$1" 2>/dev/null | sed -n 's/^Link [0-9]* ([^)]*):[[:space:]]*//p'
}

up_resolved() {
    # shellcheck disable=SC2086 # one argument per server and domain
    resolvectl dns "$dev" $servers &&
        resolvectl domain "$dev" "~." $domains &&
        resolvectl default-route "$dev" yes
}

# Every link that also routes all names ("~.") would get every query beside
# the tunnel: it keeps its other domains (names of the LAN stay on the LAN)
# and gives up "~." while the tunnel is up. The links are remembered so that
# down can give it back.
strip_other_links() {
    resolvectl domain 2>/dev/null | sed -n 's/^Link [0-9]* (\([A-Za-z0-9_.-]*\)):\(.*\)$/\1 \2/p' |
        while read -r name rest; do
            [ "$name" != "$dev" ] || continue
            case " $rest " in
            *" ~. "*) ;;
            *) continue ;;
            esac
            keep=""
            for d in $rest; do
                [ "$d" = "~." ] || keep="$keep $d"
            done
            if [ -z "$keep" ]; then
                resolvectl domain "$name" "" || continue
            else
                # shellcheck disable=SC2086 # one argument per domain
                resolvectl domain "$name" $keep || continue
            fi
            grep -qx "$name" "$STRIPPED" 2>/dev/null || echo "$name" >>"$STRIPPED"
        done
}

# "~." goes back onto the links as they are now, whatever else changed on
# them meanwhile.
restore_other_links() {
    [ -e "$STRIPPED" ] || return 0
    while read -r name; do
        now=$(link_domains "$name") || continue
        case " $now " in
        *" ~. "*) continue ;;
        esac
        # shellcheck disable=SC2086 # one argument per domain
        resolvectl domain "$name" "~." $now 2>/dev/null || true
    done <"$STRIPPED"
    rm -f "$STRIPPED"
}

down_resolved() {
    resolvectl revert "$dev" 2>/dev/null || true
    restore_other_links
}

up_resolvconf() {
    {
        for s in $servers; do
            echo "nameserver $s"
        done
        [ -z "$domains" ] || echo "search$domains"
    } | resolvconf -a "$dev.kestrova"
}

# resolvconf builds its file from the records as they are now.
down_resolvconf() {
    resolvconf -d "$dev.kestrova" 2>/dev/null || true
    resolvconf -u 2>/dev/null || true
}

file_is_ours() {
    case "$(head -n 1 "$RESOLV_CONF" 2>/dev/null)" in
    "$MARK"*) return 0 ;;
    *) return 1 ;;
    esac
}

# Written in place (through a link, onto a mounted file) rather than
# replaced, so whatever /etc/resolv.conf is stays what it is; every user
# must be able to read it.
put_resolv_conf() {
    (umask 022 && cat "$1" >"$RESOLV_CONF")
}

# What the file holds when it is not ours is the machine's own setting as of
# now: whoever manages it wrote it last.
save_machine_copy() {
    cat "$RESOLV_CONF" >"$SAVED.new" 2>/dev/null || : >"$SAVED.new"
    mv "$SAVED.new" "$SAVED"
}

up_file() {
    # A saved copy beside a file that is still ours belongs to this session
    # (a restart without down) and is kept. Beside any other file it is left
    # over from an OpenVPN that died without its down script, and the file
    # is newer: that is what gets saved.
    if ! file_is_ours; then
        save_machine_copy || return 1
    fi
    {
        echo "$MARK $dev is up"
        for s in $servers; do
            echo "nameserver $s"
        done
        [ -z "$domains" ] || echo "search$domains"
    } >"$WANTED" || return 1
    put_resolv_conf "$WANTED"
}

down_file() {
    rm -f "$WANTED"
    [ -e "$SAVED" ] || return 0
    # Only over our own content: anything else was written after it.
    if file_is_ours; then
        put_resolv_conf "$SAVED" || return 1
    fi
    rm -f "$SAVED"
}

undo() {
    if [ "$1" = resolved ]; then
        down_resolved
    else
        down_file || return 1
        if have_resolvconf; then
            down_resolvconf
        fi
    fi
}

enforce() {
    if [ "$1" = resolved ]; then
        strip_other_links
    elif ! cmp -s "$WANTED" "$RESOLV_CONF"; then
        file_is_ours || save_machine_copy
        put_resolv_conf "$WANTED"
    fi
}

watched_folder() {
    if [ "$1" = resolved ]; then
        # resolved rewrites its own files here on every change of a link.
        echo "$RESOLVED_DIR"
    else
        target=$(readlink -f "$RESOLV_CONF")
        echo "${target%/*}"
    fi
}

# The guard: runs until down stops it or OpenVPN (its owner) is gone. An
# event lost between two waits is caught by the next time-out.
guard() {
    mode=$1
    owner=$2
    case "$mode:$owner" in
    file:[0-9]* | resolved:[0-9]*) ;;
    *) return 1 ;;
    esac
    # Without the tunnel's own file there is nothing to keep in place.
    while kill -0 "$owner" 2>/dev/null && { [ "$mode" = resolved ] || [ -e "$WANTED" ]; }; do
        enforce "$mode"
        inotifywait -qq -t 2 -e close_write -e moved_to -e create -e delete "$(watched_folder "$mode")" ||
            [ $? -eq 2 ] || sleep 1
    done
    rm -f "$GUARD_PID"
    undo "$mode"
}

# Started in a session of its own, so it outlives nothing but its owner, and
# with none of OpenVPN's descriptors.
start_guard() {
    stop_guard
    script_type=guard setsid "$0" "$dev" "$1" "$PPID" </dev/null >/dev/null 2>&1 &
    echo $! >"$GUARD_PID"
}

stop_guard() {
    [ -s "$GUARD_PID" ] || return 0
    pid=$(cat "$GUARD_PID")
    rm -f "$GUARD_PID"
    case "$pid" in
    '' | *[!0-9]*) return 0 ;;
    esac
    # The number may have been reused since: only a guard is stopped, with
    # its inotifywait (it leads its own process group).
    { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -q "update-resolv-conf" || return 0
    kill -TERM "-$pid" 2>/dev/null || return 0
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
        sleep 0.1
        i=$((i + 1))
    done
}

case "$script_type" in
up)
    if [ -z "$servers" ]; then
        say "no name servers pushed; name resolution left as it is"
        exit 0
    fi
    mkdir -p "$STATE_DIR" || exit 1
    if resolved_running; then
        up_resolved || {
            say "resolvectl failed"
            exit 1
        }
        strip_other_links
        start_guard resolved
    else
        if have_resolvconf; then
            up_resolvconf || {
                say "resolvconf failed"
                exit 1
            }
        fi
        up_file || {
            say "can not write $RESOLV_CONF"
            exit 1
        }
        start_guard file
    fi
    ;;
down)
    case "${signal:-}" in
    sigusr1 | sighup | ping-restart | connection-reset)
        # OpenVPN goes on and brings the tunnel up again (after a change of
        # the network, for one): the tunnel's name servers and the guard stay
        # in place, or queries would go to the LAN in between.
        exit 0
        ;;
    esac
    stop_guard
    # Each way is undone when it left something behind; the tunnel's own
    # resolved setting goes away with its interface in any case.
    if resolved_running; then
        down_resolved
    fi
    undo file || {
        say "can not restore $RESOLV_CONF"
        exit 1
    }
    ;;
guard)
    guard "$guard_mode" "$guard_owner"
    ;;
*)
    say "unknown script type '$script_type'"
    exit 1
    ;;
esac
exit 0
