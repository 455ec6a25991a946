#!/usr/bin/python3
"""Signs in at the lab's fake service and writes what a connection needs into
a folder: the base profile, each VPN login's certificate and key, and a JSON
file with the logins' passwords and the servers. Run in the client namespace."""

import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "lab"))
import labclient  # noqa: E402


def main():
    out = sys.argv[1]
    url = os.environ.get("KESTROVA_LAB_SERVICE_URL", "https://192.0.2.100")
    service = labclient.Service(url, os.path.join(labclient.run_dir(), "pki", "ca.crt"))
    data = {"passwords": {}, "servers": []}
    for name, password in (("single", "single-pass"), ("multi", "multi+pass word")):
        account = labclient.Account(service.signin(name, password))
        labclient.write_private(os.path.join(out, "base.ovpn"), account.config)
        for login in account.certs:
            labclient.write_private(os.path.join(out, login + ".crt"), account.certs[login])
            labclient.write_private(os.path.join(out, login + ".key"), account.keys[login])
        data["passwords"].update(account.passwords)
        data["servers"].extend(account.servers)
    labclient.write_private(os.path.join(out, "account.json"), json.dumps(data, indent=1))


if __name__ == "__main__":
    main()
