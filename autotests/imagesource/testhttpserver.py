#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
#
# testhttpserver.py DIRECTORY [LIFETIME]: serves DIRECTORY over HTTP on 127.0.0.1 at a free port, which it
# prints as its first line. The server ends when its standard input closes (its test ended, on whatever path),
# and at the latest after LIFETIME seconds (default 120). Besides the files:
#   GET /stall         sends the start of an answer and then nothing for a while, so a download stays in progress,
#                      and prints "stalling" once the start is sent;
#   GET /silent        accepts the connection and never answers;
#   GET /drip/NAME     sends the file NAME in small pieces with pauses of 0.4 s between them;
#   GET /typed/NAME?type=MIME  sends the file NAME with the content type MIME.

import functools
import http.server
import os
import sys
import threading
import time
import urllib.parse


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == '/stall':
            self.send_response(200)
            self.send_header('Content-Type', 'application/octet-stream')
            self.send_header('Content-Length', str(1 << 20))
            self.end_headers()
            self.wfile.write(b'\x89PNG\r\n\x1a\n')
            self.wfile.flush()
            print('stalling', flush=True)
            time.sleep(30)
            return
        if url.path == '/silent':
            time.sleep(60)
            return
        if url.path.startswith('/drip/'):
            self.send_file(url.path[len('/drip/'):], 'application/octet-stream', pieces=8, pause=0.4)
            return
        if url.path.startswith('/typed/'):
            content_type = urllib.parse.parse_qs(url.query)['type'][0]
            self.send_file(url.path[len('/typed/'):], content_type)
            return
        super().do_GET()

    def send_file(self, name, content_type, pieces=1, pause=0.0):
        with open(os.path.join(self.directory, urllib.parse.unquote(name)), 'rb') as file:
            data = file.read()
        self.send_response(200)
        self.send_header('Content-Type', content_type)
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        size = -(-len(data) // pieces)
        for start in range(0, len(data), size):
            if start:
                time.sleep(pause)
            self.wfile.write(data[start:start + size])
            self.wfile.flush()

    def log_message(self, format, *args):
        pass


def main():
    directory = sys.argv[1]
    lifetime = float(sys.argv[2]) if len(sys.argv) > 2 else 120.0
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=directory))
    print(server.server_address[1], flush=True)

    # A test that crashed or was killed never stops its server; the closed pipe says it is gone. Ending the
    # process outright also drops the connections that stalling handlers hold.
    def end_with_test():
        sys.stdin.buffer.read()
        os._exit(0)

    threading.Thread(target=end_with_test, daemon=True).start()
    threading.Timer(lifetime, lambda: os._exit(0)).start()
    server.serve_forever()


if __name__ == '__main__':
    main()
