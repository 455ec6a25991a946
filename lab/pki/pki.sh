#!/usr/bin/env bash
# The lab's certificate authority, made once under the run directory and kept
# across lab restarts so that cached client data stays valid.
#
#   pki.sh init            CA, service, VPN server, stealth endpoint and the
#                          certificate of an unknown CA (idempotent)
#   pki.sh client LOGIN    certificate and key of one VPN login (idempotent);
#                          prints the two paths
#   pki.sh dir             prints the PKI directory
#
# Keys are EC P-256: quick to make, and read by OpenVPN, stunnel and Qt alike.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
run=${KESTROVA_LAB_RUN:-$here/../run}
mkdir -p "$run"
run=$(cd "$run" && pwd)
pki=$run/pki

usage() {
    echo "usage: $0 init | client LOGIN | dir" >&2
    exit 2
}

new_key_and_csr() { # key csr subject
    openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
        -keyout "$1" -out "$2" -subj "$3" 2>/dev/null
    chmod 600 "$1"
}

sign() { # csr ca-crt ca-key extfile out
    openssl x509 -req -in "$1" -CA "$2" -CAkey "$3" -set_serial "0x$(openssl rand -hex 16)" \
        -days 3650 -extfile "$4" -out "$5" 2>/dev/null
    rm -f "$1"
}

make_ca() { # name subject
    [ -s "$pki/$1.crt" ] && return 0
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 3650 \
        -keyout "$pki/$1.key" -out "$pki/$1.crt" -subj "$2" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
    chmod 600 "$pki/$1.key"
}

make_leaf() { # name subject ca extensions...
    local name=$1 subject=$2 ca=$3
    shift 3
    [ -s "$pki/$name.crt" ] && return 0
    local ext
    ext=$(mktemp)
    printf '%s\n' "$@" >"$ext"
    new_key_and_csr "$pki/$name.key" "$pki/$name.csr" "$subject"
    sign "$pki/$name.csr" "$pki/$ca.crt" "$pki/$ca.key" "$ext" "$pki/$name.crt.tmp"
    rm -f "$ext"
    mv "$pki/$name.crt.tmp" "$pki/$name.crt"
}

server_ext=(
    "basicConstraints=critical,CA:FALSE"
    "keyUsage=critical,digitalSignature,keyAgreement"
    "extendedKeyUsage=serverAuth"
)
service_san="subjectAltName=IP:192.0.2.100,IP:127.0.0.1,DNS:api.lab.test,DNS:localhost"
vpn_san="subjectAltName=DNS:vpn.lab.test,IP:192.0.2.10,IP:192.0.2.11,IP:192.0.2.12,IP:192.0.2.20"
stealth_san="subjectAltName=DNS:stealth.lab.test,DNS:*.lab.test,IP:192.0.2.10,IP:192.0.2.11,IP:192.0.2.12,IP:192.0.2.20"

init() {
    make_ca ca "/O=Kestrova Lab/CN=Kestrova Lab CA"
    make_leaf service "/O=Kestrova Lab/CN=api.lab.test" ca "${server_ext[@]}" "$service_san"
    make_leaf vpn-server "/O=Kestrova Lab/CN=vpn.lab.test" ca "${server_ext[@]}" "$vpn_san"
    make_leaf stealth "/O=Kestrova Lab/CN=stealth.lab.test" ca "${server_ext[@]}" "$stealth_san"
    # Same names as the service's certificate: only the issuer is wrong, so a
    # client that accepts it does not check the chain.
    make_ca rogue-ca "/O=Somebody Else/CN=Unknown Test CA"
    make_leaf rogue "/O=Somebody Else/CN=api.lab.test" rogue-ca "${server_ext[@]}" "$service_san"
}

client() { # login
    local login=$1
    # Logins become file names and certificate subjects: keep them plain.
    if ! [[ $login =~ ^[A-Za-z0-9][A-Za-z0-9._-]{0,63}$ ]]; then
        echo "pki: refusing login name '$login'" >&2
        exit 1
    fi
    init
    mkdir -p "$pki/clients"
    make_leaf "clients/$login" "/O=Kestrova Lab/CN=$login" ca \
        "basicConstraints=critical,CA:FALSE" \
        "keyUsage=critical,digitalSignature,keyAgreement" \
        "extendedKeyUsage=clientAuth"
    echo "$pki/clients/$login.crt"
    echo "$pki/clients/$login.key"
}

[ $# -ge 1 ] || usage
mkdir -p "$pki"
chmod 755 "$pki"
# Tests start several services at once: one writer at a time.
exec 9>"$pki/.lock"
flock 9
case $1 in
init) init ;;
client)
    [ $# -eq 2 ] || usage
    client "$2"
    ;;
dir) echo "$pki" ;;
*) usage ;;
esac
