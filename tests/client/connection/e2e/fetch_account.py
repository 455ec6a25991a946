#!/usr/bin/python3
"""Signs in at the lab's fake service and writes what a connection needs into
a folder: the base profile, each VPN login's certificate and key, a JSON
file with the logins' passwords and the servers, and the lab's corpus of
service templates (templates/NAME.ovpn, with templates.json naming each one's
server). Run in the client namespace."""

import json
import os
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "..")
sys.path.insert(0, os.path.join(root, "tests", "lab"))
sys.path.insert(0, os.path.join(root, "lab", "templates"))
import corpus  # noqa: E402
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
    pki = os.path.join(labclient.run_dir(), "pki")
    os.makedirs(os.path.join(out, "templates"), exist_ok=True)
    index = {}
    for name, (transport, port, _) in corpus.TEMPLATES.items():
        labclient.write_private(os.path.join(out, "templates", name + ".ovpn"), corpus.render(name, pki))
        index[name] = {"transport": transport, "host": corpus.CORPUS_ADDRESS, "port": port}
    labclient.write_private(os.path.join(out, "templates.json"), json.dumps(index, indent=1))


if __name__ == "__main__":
    main()
