#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""Reading a code straight from the screen, with the built program under Xvfb: on X11 without a portal the
window steps aside while every screen is grabbed; with a screenshot portal on the session bus (a small one of
the test's own) the portal's picture is loaded, a cancelled portal dialog changes nothing, and a portal that
cannot take a screenshot makes way for the grab. The press is made through the accessibility tree, as a screen
reader user would.

Usage: screenscantest.py PATH-TO-BREVLINDER SCREENSHOT-DIRECTORY
"""

import contextlib
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import press, wait_until  # noqa: E402

PROGRAM = SCREENSHOTS = None
SUCCESS = "Code in the image successfully scanned."
SCAN_SCREEN = "Scan Screen"


def shows_pick_view(shown):
    return shown.button("Select a File") is not None


def can_scan_screen(shown):
    return "enabled" in (shown.button(SCAN_SCREEN) or [])


def shows_text(text):
    return lambda shown: SUCCESS in shown.names() and text in shown.texts()


def geometry(session, window):
    """The window's (x, y, width, height) on the screen."""
    values = dict(line.split("=", 1) for line in session.run("xdotool", "getwindowgeometry", "--shell", window).stdout.split())
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


class ScreenScanTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-screen-")
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def code(self, name, text, size):
        path = os.path.join(self.directory, name)
        subprocess.run(["qrencode", "-s", str(size), "-o", path, text], check=True)
        return path

    def show_on_screen(self, session, image, x, y):
        """Another program shows image at (x, y); returns its window."""
        viewer = subprocess.Popen(["display", "-geometry", f"+{x}+{y}", image], env=session.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(stop, viewer)
        # display sets no process id on its window; it is found by its title, which names the file.
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            found = session.run("xdotool", "search", "--onlyvisible", "--name", os.path.basename(image), check=False)
            if found.stdout.split():
                return found.stdout.split()[0]
            time.sleep(0.1)
        self.fail(f"display showed no window for {image}")

    def start(self, session):
        process = session.start(PROGRAM)
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        wait_until(session, process, shows_pick_view, "the pick view")
        return process, window

    def close(self, session, window, process):
        session.key(window, "Escape")
        self.assertEqual(process.wait(60), 0, process.stderr.read())

    def test_x11_grab_reads_a_code_under_the_window(self):
        with XSession(with_dbus=True) as session:
            # The program's window opens in the middle of the screen, over the code.
            viewer = self.show_on_screen(session, self.code("under.png", "under the window", 4),
                                         session.width // 2 - 60, session.height // 2 - 60)
            process, window = self.start(session)
            code_x, code_y, code_width, code_height = geometry(session, viewer)
            x, y, width, height = geometry(session, window)
            self.assertTrue(x <= code_x and y <= code_y and code_x + code_width <= x + width
                            and code_y + code_height <= y + height,
                            f"the code at {(code_x, code_y, code_width, code_height)} is not under the program's window at {(x, y, width, height)}")
            wait_until(session, process, can_scan_screen, "an enabled Scan Screen button")
            press(session, process, SCAN_SCREEN)
            wait_until(session, process, shows_text("under the window"), "the text of the code under the window")
            session.screenshot(window, os.path.join(SCREENSHOTS, "scan-screen-x11.png"))
            self.close(session, window, process)

    def test_x11_grab_finds_a_small_code_on_a_4k_screen(self):
        with XSession(width=3840, height=2160, with_dbus=True) as session:
            self.show_on_screen(session, self.code("small.png", "small, far away", 3), 3500, 1850)
            process, window = self.start(session)
            wait_until(session, process, can_scan_screen, "an enabled Scan Screen button")
            pressed = time.monotonic()
            press(session, process, SCAN_SCREEN)
            wait_until(session, process, shows_text("small, far away"), "the small code's text")
            print(f"\n3840 x 2160 screen: press to text {time.monotonic() - pressed:.2f} s "
                  "(including the accessibility round trips of the test)", file=sys.stderr)
            self.close(session, window, process)

    @contextlib.contextmanager
    def program_with_portal(self, session, answer):
        """Starts the test's portal answering answer, then the program, and presses Scan Screen; yields the
        program, its window and a function that reads the options of the Screenshot calls the portal was asked.
        Every process ends with the test, however it ends."""
        calls = os.path.join(self.directory, f"calls-{len(os.listdir(self.directory))}.jsonl")
        portal = subprocess.Popen([sys.executable, os.path.join(HERE, "fakeportal.py"), answer, calls],
                                  env=session.env, stdout=subprocess.PIPE, text=True)
        self.addCleanup(stop, portal)
        self.assertEqual(portal.stdout.readline().strip(), "ready")
        process, window = self.start(session)
        wait_until(session, process, can_scan_screen, "an enabled Scan Screen button")
        press(session, process, SCAN_SCREEN)

        def made():
            if not os.path.exists(calls):
                return []
            with open(calls) as lines:
                return [json.loads(line) for line in lines]

        yield process, window, made
        self.close(session, window, process)

    def test_portal_picture_is_read(self):
        picture = self.code("portal.png", "through the portal", 5)
        with XSession(with_dbus=True) as session, \
                self.program_with_portal(session, "file://" + picture) as (process, window, calls):
            wait_until(session, process, shows_text("through the portal"), "the portal picture's text")
            session.screenshot(window, os.path.join(SCREENSHOTS, "scan-screen-portal.png"))
            self.assertEqual(len(calls()), 1)
            self.assertTrue(calls()[0]["interactive"])

    def test_cancelled_portal_dialog_changes_nothing(self):
        with XSession(with_dbus=True) as session, \
                self.program_with_portal(session, "--cancel") as (process, window, calls):
            # A press is taken only once the one before it has ended: the portal being asked again shows that the
            # cancel has been handled, and whatever it did is on the screen.
            deadline = time.monotonic() + 60
            while len(calls()) < 2:
                self.assertLess(time.monotonic(), deadline, "the portal was never asked a second time")
                if len(calls()) == 1:
                    press(session, process, SCAN_SCREEN)
                time.sleep(0.2)
            shown = wait_until(session, process, shows_pick_view, "the pick view")
            self.assertFalse([name for name in shown.names() if name.startswith("Could not") or "screenshot" in name
                              or name == SUCCESS], str(shown))

    # A portal that cannot take a screenshot (none offered, a refused request or a failed one) is no reason to give
    # up on X11: the screen is grabbed instead, and the code shown there read.
    def test_portal_that_cannot_take_a_screenshot_falls_back_to_the_grab(self):
        for answer, asked in (("--without-screenshot", 0), ("--refuse", 1), ("--fail", 1)):
            with self.subTest(answer=answer), XSession(with_dbus=True) as session:
                text = f"grabbed after {answer[2:]}"
                self.show_on_screen(session, self.code(f"grabbed-{answer[2:]}.png", text, 4), 20, 20)
                with self.program_with_portal(session, answer) as (process, window, calls):
                    wait_until(session, process, shows_text(text), "the text of the code on the screen")
                    self.assertEqual(len(calls()), asked)
                    session.screenshot(window, os.path.join(SCREENSHOTS, f"scan-screen-after-portal-{answer[2:]}.png"))


if __name__ == "__main__":
    PROGRAM, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
