#!/bin/sh
# OpenVPN runs this when the tunnel comes up and when it goes down, with the
# pushed options in its environment. kestrova-dns does the work: it checks
# what the server pushed, gives the tunnel's name servers to whoever owns the
# machine's resolver (NetworkManager, systemd-resolved, resolvconf, or
# /etc/resolv.conf itself) and takes them back on down. The up returns once
# the servers are in place, the down at once; the rest goes on in the
# background.
exec /usr/libexec/kestrova/kestrova-dns
