#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""A screen reader's view of the built program under Xvfb, in both modes: every button has a name it can speak,
the image, the message and the decoded text are there, and the message is announced when it changes.

Usage: accessibilitytest.py PATH-TO-BREVLINDER SAMPLE-IMAGE
"""

import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, errors_of, read_line, stop  # noqa: E402
from accessibility import Announcements, press, wait_until  # noqa: E402

LATE_ACCESSIBILITY_BUS = os.path.join(HERE, "latea11ybus.py")
PROGRAM = SAMPLE = None
SAMPLE_TEXT = "Brevlinder sample\nWeb: https://kde.org/\nMail: hello@example.org\nPhone: +49 30 1234567"
SUCCESS = "Code in the image successfully scanned."
EXPORT_BUTTONS = {"Copy Text to Clipboard", "Save Text As…"}
NORMAL_MODE_BUTTONS = EXPORT_BUTTONS | {"Choose Another Source", "Help"}
PICK_VIEW_BUTTONS = {"Select a File", "Paste from Clipboard", "Scan Screen"}


def buttons(shown):
    return [name for role, name, _, _, _ in shown.showing() if "button" in role]


class AccessibilityTest(unittest.TestCase):
    def run_program(self, session, *args, env=None):
        process = session.start(PROGRAM, *args, env=env)
        self.addCleanup(stop, process)
        return process, session.wait_for_window(process)

    def close(self, session, window, process):
        session.key(window, "Escape")
        exit_code = process.wait(60)
        self.assertEqual(exit_code, 0, errors_of(process)[-6000:])

    def test_a_scan_is_spoken_in_each_mode(self):
        for mode, args, expected_buttons in (("normal", [], NORMAL_MODE_BUTTONS),
                                             ("one scan", ["--onescan"], EXPORT_BUTTONS)):
            with self.subTest(mode=mode), XSession(with_dbus=True) as session:
                announcements = Announcements(session)
                process, window = self.run_program(session, *args, SAMPLE)
                shown = wait_until(session, process,
                                   lambda shown: SUCCESS in shown.names() and SAMPLE_TEXT in shown.texts(),
                                   "the success message and the decoded text")
                self.assertNotIn("", buttons(shown), f"a button without a name:\n{shown}")
                self.assertEqual(set(buttons(shown)), expected_buttons)
                self.assertIn("Image", shown.names())
                self.assertIn(["Decoded text", SAMPLE_TEXT], [[name, text.replace("\u2028", "\n")]
                                                              for _, name, text, _, _ in shown.showing()])
                self.close(session, window, process)
                self.assertIn(SUCCESS, announcements.of(process))

    def test_the_pick_view_is_spoken(self):
        with XSession(with_dbus=True) as session:
            process, window = self.run_program(session)
            shown = wait_until(session, process, lambda shown: PICK_VIEW_BUTTONS <= set(buttons(shown)),
                               "the pick view's buttons")
            self.assertNotIn("", buttons(shown), f"a button without a name:\n{shown}")
            self.assertEqual(set(buttons(shown)), PICK_VIEW_BUTTONS | NORMAL_MODE_BUTTONS)
            self.assertIn("Drop an image here", shown.names())
            self.close(session, window, process)

    def test_a_start_image_that_fails_is_announced_in_each_mode(self):
        # The start image is read while the window is built, so its message may come before the program has
        # reached the screen reader; it is heard all the same.
        missing = os.path.join(HERE, "no-such-image.png")
        message = f"Could not load image from file file://{missing}. No such file or directory."
        for mode, args in (("normal", []), ("one scan", ["--onescan"])):
            with self.subTest(mode=mode), XSession(with_dbus=True) as session:
                announcements = Announcements(session)
                process, window = self.run_program(session, *args, missing)
                wait_until(session, process, lambda shown: message in shown.names(), "the load error")
                self.close(session, window, process)
                self.assertIn(message, announcements.of(process))

    def test_a_start_message_waits_for_a_screen_reader_that_comes_later(self):
        # The program runs on a session bus of its own, where no accessibility bus is known yet: its start message
        # shows before any screen reader can hear it. The screen reader then comes, and hears it.
        missing = os.path.join(HERE, "no-such-image.png")
        message = f"Could not load image from file file://{missing}. No such file or directory."
        with XSession(with_dbus=True) as session:
            accessibility_bus = session.run("dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                                            "/org/a11y/bus", "org.a11y.Bus.GetAddress").stdout.strip()
            own_bus = session.popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            own_environment = {"DBUS_SESSION_BUS_ADDRESS": read_line(own_bus.stdout, 30).strip()}
            # Nor may the program find the accessibility bus on the X server's root window.
            session.run("xprop", "-root", "-remove", "AT_SPI_BUS")
            announcements = Announcements(session)
            process, window = self.run_program(session, missing, env=own_environment)
            # The window has settled with its message, which nobody has heard.
            session.settle(window, process)
            screen_reader = session.popen([sys.executable, LATE_ACCESSIBILITY_BUS, accessibility_bus],
                                          env={**session.env, **own_environment}, stdout=subprocess.PIPE, text=True)
            self.assertEqual(read_line(screen_reader.stdout, 60).strip(), "ready")
            wait_until(session, process, lambda shown: message in shown.names(), "the load error")
            self.close(session, window, process)
            self.assertIn(message, announcements.of(process))

    def test_a_pasted_failure_is_announced(self):
        missing = os.path.join(HERE, "no-such-image.png")
        with XSession(with_dbus=True) as session:
            announcements = Announcements(session)
            process, window = self.run_program(session)
            wait_until(session, process, lambda shown: "Paste from Clipboard" in buttons(shown), "the pick view")
            self.addCleanup(stop, session.own_selection(f"file://{missing}\r\n".encode(), "text/uri-list"))
            wait_until(session, process, lambda shown: "enabled" in (shown.button("Paste from Clipboard") or []),
                       "an enabled paste button")
            press(session, process, "Paste from Clipboard")
            message = f"Could not load image from file file://{missing}. No such file or directory."
            wait_until(session, process, lambda shown: message in shown.names(), "the load error")
            self.close(session, window, process)
            self.assertIn(message, announcements.of(process))

if __name__ == "__main__":
    PROGRAM, SAMPLE = (os.path.abspath(argument) for argument in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
