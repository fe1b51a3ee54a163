#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The built program reads a code for real under Xvfb: from a file argument, from piped standard input and from
a URL served over HTTP on 127.0.0.1. Each run leaves a screenshot in SCREENSHOT-DIRECTORY, and what the window
shows is read back through the accessibility tree, as a screen reader would.

Usage: readingtest.py PATH-TO-BREVLINDER SAMPLE-IMAGE SCREENSHOT-DIRECTORY
"""

import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import wait_until  # noqa: E402

PROGRAM = SAMPLE = SCREENSHOTS = None
SAMPLE_TEXT = "Brevlinder sample\nWeb: https://kde.org/\nMail: hello@example.org\nPhone: +49 30 1234567"
SUCCESS = "Code in the image successfully scanned."


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


class ReadingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.served = tempfile.mkdtemp(prefix="brevlinder-served-")
        cls.addClassCleanup(shutil.rmtree, cls.served, ignore_errors=True)
        shutil.copy(SAMPLE, os.path.join(cls.served, "sample.png"))
        with open(os.path.join(cls.served, "not-an-image.png"), "w") as text:
            text.write("this is text, not an image\n")
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=cls.served))
        cls.addClassCleanup(cls.server.server_close)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.addClassCleanup(cls.server.shutdown)
        cls.base = f"http://127.0.0.1:{cls.server.server_address[1]}"
        os.makedirs(SCREENSHOTS, exist_ok=True)

    def read_window(self, name, args, expected_message, expected_text=None, piped=None):
        """Runs the program until its window shows expected_message (and expected_text, when given), leaves a
        screenshot, and closes the window as a user would, so that the program ends cleanly (and a sanitizer
        build checks for leaks on the way out). With piped bytes, they arrive through a pipe on standard input,
        which is then closed."""
        with XSession(with_dbus=True) as session:
            process = session.start(PROGRAM, *args, stdin=subprocess.DEVNULL if piped is None else subprocess.PIPE)
            self.addCleanup(stop, process)
            if piped is not None:
                process.stdin.buffer.write(piped)
                process.stdin.close()
            window = session.wait_for_window(process)
            wait_until(session, process,
                       lambda shown: expected_message in shown.names() and (
                           expected_text is None or expected_text in shown.texts()),
                       f"{expected_message!r} with the text {expected_text!r}")
            session.screenshot(window, os.path.join(SCREENSHOTS, f"{name}.png"))
            session.key(window, "Escape")
            self.assertEqual(process.wait(60), 0, process.stderr.read())

    def test_file_argument(self):
        self.read_window("file-argument", [SAMPLE], SUCCESS, SAMPLE_TEXT)

    def test_piped_standard_input(self):
        with open(SAMPLE, "rb") as sample:
            self.read_window("standard-input", [], SUCCESS, SAMPLE_TEXT, piped=sample.read())

    def test_remote_url(self):
        self.read_window("remote-url", [f"{self.base}/sample.png"], SUCCESS, SAMPLE_TEXT)

    def test_remote_file_that_is_not_an_image_names_the_url(self):
        url = f"{self.base}/not-an-image.png"
        self.read_window("remote-not-an-image", [url], f"Could not load image from file {url}. It is text, not an image.")


if __name__ == "__main__":
    PROGRAM, SAMPLE, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
