#!/usr/bin/python3
"""OpenVPN's password check for the lab servers (auth-user-pass-verify, via-file).

OpenVPN passes a file whose first line is the VPN login and second the
password; exit status 0 accepts them. The logins come from the same account
file as the fake service's (KESTROVA_LAB_ACCOUNTS).
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "service"))
import labaccounts  # noqa: E402


def main(argv):
    accounts_path = os.environ.get("KESTROVA_LAB_ACCOUNTS")
    if len(argv) != 2 or not accounts_path:
        return 1
    try:
        with open(argv[1], encoding="utf-8", errors="strict") as f:
            lines = f.read().split("\n")
        accounts = labaccounts.Accounts.load(accounts_path)
    except (OSError, ValueError):
        return 1
    if len(lines) < 2:
        return 1
    return 0 if accounts.vpn_login_ok(lines[0], lines[1]) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
