#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The X sessions of the end-to-end tests end everything started in them, on every path: a test that fails while
a screen reader listener, a selection owner and a process that went to the background still run leaves none of
them behind, and so does not keep ctest waiting for the end of its output. Sessions side by side, as ctest -j
runs them, each have a display and a bus of their own, and ending one leaves the other running.

Usage: xsessiontest.py
"""

import os
import select
import subprocess
import sys
import textwrap
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession  # noqa: E402

# Generous: a sanitizer build of the tests runs on a busy two-core machine.
DEADLINE = 90

# A test that fails half-way: it prints the process ids of what runs at that moment, then an assertion fails.
# One session is left by the failure, the other was entered by hand and is never left.
FAILING_TEST = textwrap.dedent("""
    import subprocess, sys
    sys.path[:0] = sys.argv[1:3]
    from xsession import XSession
    from accessibility import Announcements

    def report(session):
        # In the background, with the test's output as its own, as a service the bus starts or a worker of
        # the program would be.
        background = subprocess.run(["sh", "-c", "sleep 600 >&2 & echo $!"], env=session.env, stdout=subprocess.PIPE,
                                    text=True, check=True).stdout.strip()
        print(session.server.pid, session.dbus.pid, session.atspi.pid, background, flush=True)

    abandoned = XSession(with_dbus=True).__enter__()
    report(abandoned)
    with XSession(with_dbus=True) as session:
        report(session)
        listener = Announcements(session).listener
        owner = session.own_selection(b"owned")
        print(listener.pid, owner.pid, flush=True)
        assert False, "failing on purpose"
""")


def running(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def read_to_end(stream, timeout):
    """Everything written to stream until every writer closed it; None when one still holds it at the deadline."""
    deadline = time.monotonic() + timeout
    output = b""
    while time.monotonic() < deadline:
        ready, _, _ = select.select([stream], [], [], deadline - time.monotonic())
        if ready:
            data = os.read(stream.fileno(), 65536)
            if not data:
                return output.decode(errors="replace")
            output += data
    return None


class XSessionTest(unittest.TestCase):
    def test_a_failed_test_leaves_nothing_behind(self):
        failing = subprocess.Popen(
            [sys.executable, "-c", FAILING_TEST, os.path.join(HERE, "..", "..", "scripts"), HERE],
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.addCleanup(failing.stdout.close)
        self.addCleanup(failing.kill)
        output = read_to_end(failing.stdout, DEADLINE)
        self.assertIsNotNone(output, "a process of the failed test still holds its output open")
        self.assertIn("failing on purpose", output)
        self.assertNotEqual(failing.wait(DEADLINE), 0, output)
        started = [int(pid) for line in output.splitlines() if line and line.split()[0].isdigit()
                   for pid in line.split()]
        self.assertEqual(len(started), 10, output)
        deadline = time.monotonic() + DEADLINE
        while time.monotonic() < deadline and any(map(running, started)):
            time.sleep(0.1)
        self.assertEqual([pid for pid in started if running(pid)], [], output)

    def test_sessions_side_by_side_keep_apart(self):
        with XSession(with_dbus=True) as first:
            first_sleeper = first.popen(["sleep", "600"])
            with XSession(with_dbus=True) as second:
                second_sleeper = second.popen(["sleep", "600"])
                self.assertNotEqual(first.env["DISPLAY"], second.env["DISPLAY"])
                self.assertNotEqual(first.env["DBUS_SESSION_BUS_ADDRESS"], second.env["DBUS_SESSION_BUS_ADDRESS"])
                self.assertNotEqual(first.env["XDG_RUNTIME_DIR"], second.env["XDG_RUNTIME_DIR"])
            self.assertIsNotNone(second_sleeper.poll())
            self.assertIsNone(first_sleeper.poll(), "ending one session ended a process of the other")
            self.assertIsNone(first.server.poll(), "ending one session ended the other's X server")
            first.run("xdotool", "getdisplaygeometry")
        self.assertIsNotNone(first_sleeper.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
