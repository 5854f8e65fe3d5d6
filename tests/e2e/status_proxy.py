#!/usr/bin/env python3
"""A stand-in for the online-status service, reached as the HTTP proxy.

status_proxy.py MODE LOG: serves 127.0.0.1 on a free port, prints the port on
stdout and appends each request line to LOG. MODE "online" answers any GET
with a 200 whose bytes 13 and 14 are B9 E2, "offline" with other bytes,
"silent" takes the request and never answers.
"""
import socketserver
import sys
import time

BODIES = {
    "online": b'status_code="\xb9\xe2";\n',  # 13 bytes, then B9 E2
    "offline": b'status_code="\xc0\xeb\xcf\xdf";\n',
}


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        request_line = self.rfile.readline().decode("latin-1").rstrip("\r\n")
        while self.rfile.readline() not in (b"\r\n", b"\n", b""):
            pass
        with open(sys.argv[2], "a", encoding="latin-1") as log:
            log.write(request_line + "\n")
        if MODE == "silent":
            time.sleep(600)
            return
        body = BODIES[MODE]
        self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % len(body) + body)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


MODE = sys.argv[1]
with Server(("127.0.0.1", 0), Handler) as server:
    print(server.server_address[1], flush=True)
    server.serve_forever()
