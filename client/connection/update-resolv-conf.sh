#!/bin/sh
# OpenVPN runs this when the tunnel comes up and when it goes down. While the
# tunnel is up, every name query goes to the name servers the VPN server
# pushed; afterwards the machine's own setting is back.
#
#  - systemd-resolved running: the servers are set on the tunnel interface
#    with the routing domain "~.", so no query takes another path;
#  - otherwise resolvconf, when it is installed;
#  - otherwise /etc/resolv.conf is rewritten in place and the saved copy is
#    put back on down.
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
RESOLVED_SOCKET=/run/systemd/resolve/io.systemd.Resolve

say() {
    echo "update-resolv-conf: $*" >&2
}

dev=${dev:-${1:-}}
script_type=${script_type:-}
case "$dev" in
'' | *[!A-Za-z0-9_.-]*)
    say "unusable device name"
    exit 1
    ;;
esac

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

up_resolved() {
    # shellcheck disable=SC2086 # one argument per server and domain
    resolvectl dns "$dev" $servers &&
        resolvectl domain "$dev" "~." $domains &&
        resolvectl default-route "$dev" yes
}

down_resolved() {
    resolvectl revert "$dev" 2>/dev/null || true
}

up_resolvconf() {
    {
        for s in $servers; do
            echo "nameserver $s"
        done
        [ -z "$domains" ] || echo "search$domains"
    } | resolvconf -a "$dev.kestrova"
}

down_resolvconf() {
    resolvconf -d "$dev.kestrova" 2>/dev/null || true
}

up_file() {
    mkdir -p "$STATE_DIR" || return 1
    # A second up without a down (a restart) must keep the first saved copy:
    # that one is the machine's own.
    if [ ! -e "$SAVED" ]; then
        cat "$RESOLV_CONF" >"$SAVED.new" 2>/dev/null || : >"$SAVED.new"
        mv "$SAVED.new" "$SAVED" || return 1
    fi
    # Written in place (through a link, onto a mounted file) rather than
    # replaced, so whatever /etc/resolv.conf is stays what it is.
    {
        echo "# Written by Kestrova while the VPN tunnel $dev is up"
        for s in $servers; do
            echo "nameserver $s"
        done
        [ -z "$domains" ] || echo "search$domains"
    } >"$RESOLV_CONF"
}

down_file() {
    [ -e "$SAVED" ] || return 0
    cat "$SAVED" >"$RESOLV_CONF" && rm -f "$SAVED"
}

case "$script_type" in
up)
    if [ -z "$servers" ]; then
        say "no name servers pushed; name resolution left as it is"
        exit 0
    fi
    if resolved_running; then
        up_resolved || {
            say "resolvectl failed"
            exit 1
        }
    elif command -v resolvconf >/dev/null 2>&1; then
        up_resolvconf || {
            say "resolvconf failed"
            exit 1
        }
    else
        up_file || {
            say "can not write $RESOLV_CONF"
            exit 1
        }
    fi
    ;;
down)
    # Each way is undone when it left something behind; the tunnel's own
    # resolved setting goes away with its interface in any case.
    if resolved_running; then
        down_resolved
    fi
    if command -v resolvconf >/dev/null 2>&1; then
        down_resolvconf
    fi
    down_file || {
        say "can not restore $RESOLV_CONF"
        exit 1
    }
    ;;
*)
    say "unknown script type '$script_type'"
    exit 1
    ;;
esac
exit 0
