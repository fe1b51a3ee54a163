#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The built program, run for real: command line, window and Quit shortcut under Xvfb.

Usage: programtest.py PATH-TO-BREVLINDER VERSION
"""

import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import wait_until  # noqa: E402

PROGRAM = VERSION = None


def run_offscreen(*args):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run([PROGRAM, *args], env=env, capture_output=True, text=True, timeout=60,
                          stdin=subprocess.DEVNULL)


def focused(shown):
    """The showing controls that have the keyboard focus, as [role, name] pairs."""
    return [[role, name] for role, name, _, states, _ in shown.showing() if "focused" in states]


class CommandLineTest(unittest.TestCase):
    def test_help_lists_url_and_onescan(self):
        result = run_offscreen("--help")
        self.assertEqual(result.returncode, 0, result.stderr)
        for text in ("URL", "[URL]", "Image file to open.", "--onescan", "Enable only one scan."):
            self.assertIn(text, result.stdout)
        self.assertNotIn("[URL}", result.stdout)

    def test_version(self):
        result = run_offscreen("--version")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.strip(), f"brevlinder {VERSION}")

    def test_unknown_option_is_refused(self):
        result = run_offscreen("--no-such-option")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no-such-option", result.stderr)


class WindowTest(unittest.TestCase):
    def start(self, session, *args, stdin=subprocess.DEVNULL):
        process = session.start(PROGRAM, *args, stdin=stdin)
        self.addCleanup(stop, process)
        return process, session.wait_for_window(process)

    def start_on_a_load_error(self, session, *args):
        """Starts the program on a file that is no image and waits until the window says so: keys sent to a window
        that is still being set up can get lost."""
        process, window = self.start(session, *args, os.devnull)
        wait_until(session, process, lambda shown: any(name.startswith("Could not load image") for name in shown.names()),
                   "the load error")
        return process, window

    def test_quit_shortcut_ends_the_program_with_exit_code_0(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start_on_a_load_error(session, "--")
            session.key(window, "ctrl+q")
            self.assertEqual(process.wait(60), 0, process.stderr.read())

    def test_quit_shortcut_does_nothing_in_one_scan_mode(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start_on_a_load_error(session, "--onescan")
            session.key(window, "Tab")
            before = focused(wait_until(session, process, focused, "a control with the keyboard focus"))
            # Keys are handled in order: once Tab has moved the focus, Ctrl+Q before it has been handled too.
            session.key(window, "ctrl+q", "Tab")
            wait_until(session, process, lambda shown: focused(shown) and focused(shown) != before,
                       "the keyboard focus moved on by Tab after Ctrl+Q")
            self.assertIsNone(process.poll(), "the program ended in one-scan mode")
            self.assertTrue(session.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid)).stdout.strip())
            # Keys do reach the window: Escape closes it, and the program ends cleanly.
            session.key(window, "Escape")
            self.assertEqual(process.wait(60), 0, process.stderr.read())

    def test_quits_while_standard_input_waits_for_a_writer(self):
        # The writer of the pipe never writes nor closes it; the program must end all the same.
        for keys, one_scan in (("ctrl+q", []), ("Escape", ["--onescan"])):
            with self.subTest(keys=keys), XSession(with_dbus=True) as session:
                process, window = self.start(session, *one_scan, stdin=subprocess.PIPE)
                wait_until(session, process,
                           lambda shown: any(name.startswith("Loading image from stdin") for name in shown.names()),
                           "the message that standard input is read")
                session.key(window, keys)
                try:
                    self.assertEqual(process.wait(60), 0)
                finally:
                    process.stdin.close()


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    VERSION = sys.argv.pop(1)
    unittest.main(verbosity=2)
