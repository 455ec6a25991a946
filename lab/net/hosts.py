#!/usr/bin/env python3
"""The lab's target host: TCP echo on port 7, UDP echo on port 7 and a tiny HTTP
server on port 8080, on every address given on the command line (after an optional
--pidfile PATH).

Runs inside the kv-net namespace; lab.sh starts it and stops it by its pid file.
"""
import http.server
import os
import socket
import socketserver
import sys
import threading


class EchoTCP(socketserver.BaseRequestHandler):
    def handle(self):
        self.request.settimeout(30)
        try:
            while True:
                data = self.request.recv(65536)
                if not data:
                    return
                self.request.sendall(data)
        except OSError:
            return


class EchoUDP(socketserver.BaseRequestHandler):
    def handle(self):
        data, sock = self.request
        sock.sendto(data, self.client_address)


class Hello(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = ("lab target %s\n" % self.server.server_address[0]).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def family(addr):
    return socket.AF_INET6 if ":" in addr else socket.AF_INET


def serve(server_cls, handler, addr, port):
    cls = type("S", (socketserver.ThreadingMixIn, server_cls),
               {"address_family": family(addr), "allow_reuse_address": True, "daemon_threads": True})
    srv = cls((addr, port), handler)
    threading.Thread(target=srv.serve_forever, daemon=True).start()


def main():
    args = sys.argv[1:]
    if len(args) >= 2 and args[0] == "--pidfile":
        with open(args[1], "w") as f:
            f.write("%d\n" % os.getpid())
        args = args[2:]
    for addr in args:
        serve(socketserver.TCPServer, EchoTCP, addr, 7)
        serve(socketserver.UDPServer, EchoUDP, addr, 7)
        serve(http.server.HTTPServer, Hello, addr, 8080)
    threading.Event().wait()


if __name__ == "__main__":
    main()
