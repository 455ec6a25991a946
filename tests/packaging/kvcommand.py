#!/usr/bin/env python3
"""Sends one command record to kestrovad and prints the reply's result byte.

    kvcommand.py COMMAND [--ips LIST] [--iface NAME] [--flags K6LTD] [--path PATH]

--flags holds the five kill-switch flags as 0/1 characters in record order
(kill_connect, block_ipv6, allow_local_ip, change_timezone, block_dns).
Exits 0 when a full reply came, 1 otherwise (printing nothing).
"""
import argparse
import socket
import struct
import sys

PACKET_SIZE = 64005
REPLY_SIZE = 9


def wide(text, units):
    data = text.encode("utf-32-le")
    if len(data) >= units * 4:
        raise ValueError("text too long for its field")
    return data + b"\0" * (units * 4 - len(data))


def build(args):
    packet = bytearray(PACKET_SIZE)
    struct.pack_into("<i", packet, 0, args.command)
    if args.command in (1, 3):
        packet[4:4 + 40960] = wide(args.ips, 10240)
        packet[40964:40964 + 2048] = wide(args.iface, 512)
        packet[43012:43017] = bytes(int(c) for c in args.flags)
    elif args.command == 10:
        packet[5:5 + 64000] = wide(args.path, 16000)
    return bytes(packet)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("command", type=int)
    p.add_argument("--ips", default="")
    p.add_argument("--iface", default="tun0")
    p.add_argument("--flags", default="00000")
    p.add_argument("--path", default="")
    p.add_argument("--port", type=int, default=23589)
    args = p.parse_args()
    try:
        with socket.create_connection(("127.0.0.1", args.port), timeout=10) as s:
            s.sendall(build(args))
            reply = b""
            while len(reply) < REPLY_SIZE:
                chunk = s.recv(REPLY_SIZE - len(reply))
                if not chunk:
                    break
                reply += chunk
    except OSError:
        return 1
    if len(reply) != REPLY_SIZE:
        return 1
    print(reply[0])
    return 0


if __name__ == "__main__":
    sys.exit(main())
