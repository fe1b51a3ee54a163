#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The pick view of the built program under Xvfb, with the real X clipboard and xclip as the other program:
started with nothing to read it shows the pick view; images and a file URL on the clipboard are pasted with the
button and with Ctrl+V; after "Choose Another Source" a second image is read. What the window shows is read
through the accessibility tree; screenshots go to SCREENSHOT-DIRECTORY.

Usage: pickviewtest.py PATH-TO-BREVLINDER SAMPLE-IMAGE SCREENSHOT-DIRECTORY
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import press, wait_until  # noqa: E402

PROGRAM = SAMPLE = SCREENSHOTS = None
SAMPLE_TEXT = "Brevlinder sample\nWeb: https://kde.org/\nMail: hello@example.org\nPhone: +49 30 1234567"
SUCCESS = "Code in the image successfully scanned."
PASTE = "Paste from Clipboard"
CHOOSE_ANOTHER = "Choose Another Source"


def shows_pick_view(shown):
    return shown.button("Select a File") is not None and "Drop an image here" in shown.names()


def paste_enabled(shown):
    return "enabled" in (shown.button(PASTE) or [])


def shows_text(text):
    return lambda shown: SUCCESS in shown.names() and text in shown.texts()


class PickViewTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-pick-")
        cls.second = os.path.join(cls.directory, "second.png")
        subprocess.run(["qrencode", "-s", "6", "-o", cls.second, "second image"], check=True)
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def start(self, session, stdin):
        process = session.start(PROGRAM, stdin=stdin)
        self.addCleanup(stop, process)
        return process, session.wait_for_window(process)

    def put_on_clipboard(self, session, target, data):
        self.addCleanup(stop, session.own_selection(data, target))

    def close(self, session, window, process):
        session.key(window, "Escape")
        self.assertEqual(process.wait(60), 0, process.stderr.read())

    def test_without_anything_to_read_it_starts_on_the_pick_view(self):
        terminal, terminal_side = os.openpty()
        self.addCleanup(os.close, terminal)
        self.addCleanup(os.close, terminal_side)
        for name, stdin in (("terminal", terminal_side), ("dev-null", subprocess.DEVNULL)):
            with self.subTest(standard_input=name), XSession(with_dbus=True) as session:
                process, window = self.start(session, stdin)
                shown = wait_until(session, process, shows_pick_view, "the pick view")
                self.assertNotIn("enabled", shown.button(CHOOSE_ANOTHER) or ["enabled"])
                self.assertFalse([n for n in shown.names() if n.startswith("Could not")], str(shown))
                session.screenshot(window, os.path.join(SCREENSHOTS, f"pick-view-{name}.png"))
                self.close(session, window, process)

    def test_pasted_images_are_read_and_a_second_source_can_be_chosen(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, subprocess.DEVNULL)
            wait_until(session, process, shows_pick_view, "the pick view")

            with open(SAMPLE, "rb") as sample:
                self.put_on_clipboard(session, "image/png", sample.read())
            wait_until(session, process, paste_enabled, "an enabled paste button")
            press(session, process, PASTE)
            wait_until(session, process, shows_text(SAMPLE_TEXT), "the pasted sample's text")
            session.screenshot(window, os.path.join(SCREENSHOTS, "pasted-result.png"))

            press(session, process, CHOOSE_ANOTHER)
            wait_until(session, process, shows_pick_view, "the pick view again")
            with open(self.second, "rb") as second:
                self.put_on_clipboard(session, "image/png", second.read())
            wait_until(session, process, paste_enabled, "an enabled paste button")
            session.key(window, "ctrl+v")
            wait_until(session, process, shows_text("second image"), "the second image's text")
            self.close(session, window, process)

    def test_a_file_url_on_the_clipboard_is_loaded(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, subprocess.DEVNULL)
            wait_until(session, process, shows_pick_view, "the pick view")
            url = "file://" + os.path.abspath(SAMPLE)
            self.put_on_clipboard(session, "text/uri-list", f"{url}\r\n".encode())
            wait_until(session, process, paste_enabled, "an enabled paste button")
            press(session, process, PASTE)
            wait_until(session, process, shows_text(SAMPLE_TEXT), "the sample's text")
            self.close(session, window, process)


if __name__ == "__main__":
    PROGRAM, SAMPLE, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
