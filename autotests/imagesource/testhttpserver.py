#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
#
# testhttpserver.py DIRECTORY [LIFETIME]: serves DIRECTORY over HTTP on 127.0.0.1 at a free port, which it
# prints as its first line. GET /stall sends the start of an answer and then nothing for a while, so that a
# download stays in progress. The server ends by itself after LIFETIME seconds (default 120).

import functools
import http.server
import sys
import threading
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path == '/stall':
            self.send_response(200)
            self.send_header('Content-Type', 'application/octet-stream')
            self.send_header('Content-Length', str(1 << 20))
            self.end_headers()
            self.wfile.write(b'\x89PNG\r\n\x1a\n')
            self.wfile.flush()
            time.sleep(30)
            return
        super().do_GET()

    def log_message(self, format, *args):
        pass


def main():
    directory = sys.argv[1]
    lifetime = float(sys.argv[2]) if len(sys.argv) > 2 else 120.0
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=directory))
    print(server.server_address[1], flush=True)
    threading.Timer(lifetime, server.shutdown).start()
    server.serve_forever()


if __name__ == '__main__':
    main()
