#!/bin/sh
# OpenVPN runs this when the tunnel comes up and when it goes down, with the
# pushed options in its environment. kestrova-dns does the work: it checks
# what the server pushed, gives the tunnel's name servers to whoever owns the
# machine's resolver (NetworkManager, systemd-resolved, resolvconf, or
# /etc/resolv.conf itself) and takes them back on down. It returns at once and
# finishes in the background, so the tunnel's routes do not wait for it.
exec /usr/libexec/kestrova/kestrova-dns
