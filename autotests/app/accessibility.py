# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The end-to-end tests' view of the program through the accessibility tree (AT-SPI), as a screen reader has it.

Each call runs accessibletexts.py in a process of its own inside the test's X and D-Bus session.
"""

import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import read_line, stop  # noqa: E402

ACCESSIBLE_TEXTS = os.path.join(HERE, "accessibletexts.py")


class Shown:
    """One look at what the window shows: [role, name, text, states, place] entries."""

    def __init__(self, entries):
        self.entries = entries

    def showing(self):
        return [entry for entry in self.entries if "showing" in entry[3]]

    def names(self):
        return [name for _, name, _, _, _ in self.showing()]

    def texts(self):
        # Qt hands line breaks in rich text to AT-SPI as U+2028.
        return [text.replace("\u2028", "\n") for _, _, text, _, _ in self.showing()]

    def button(self, name):
        """The states of the first showing button called name, or None."""
        for role, node_name, _, states, _ in self.showing():
            if node_name == name and "button" in role:
                return states
        return None

    def place(self, role, name):
        """(x, y, width, height, enabled) of the first showing node with that role and name and a size, or None."""
        for node_role, node_name, _, states, (x, y, width, height) in self.showing():
            if node_role == role and node_name == name and width > 0:
                return x, y, width, height, "enabled" in states
        return None

    def __str__(self):
        return "\n".join(f"  {role}: {name!r} {text!r} {states}" for role, name, text, states, _ in self.showing())


def look(session, process, timeout=60):
    found = session.run(sys.executable, ACCESSIBLE_TEXTS, str(process.pid), timeout=timeout)
    return Shown(json.loads(found.stdout))


class ComboBoxes:
    """One look at the showing combo boxes: dicts of their labels, current text, entries, selected entries, states
    and place."""

    def __init__(self, entries):
        self.entries = entries

    def labelled(self, label):
        """The first combo box that label labels, or None."""
        return next((box for box in self.entries if label in box["labels"]), None)

    def __str__(self):
        return "\n".join(f"  {box}" for box in self.entries) or "  no combo box"


def look_at_combo_boxes(session, process, timeout=60):
    found = session.run(sys.executable, ACCESSIBLE_TEXTS, str(process.pid), "--combo-boxes", timeout=timeout)
    return ComboBoxes(json.loads(found.stdout))


def wait_until(session, process, condition, what, timeout=90, looker=look):
    """Looks at the window (through looker: look, or look_at_combo_boxes) until condition(shown) holds; fails with
    what it showed last when it never does. The deadline is generous: a busy two-core machine, or a sanitizer
    build, is slow to start."""
    deadline = time.monotonic() + timeout
    shown = "  nothing: no look succeeded"
    failed_look = ""
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise AssertionError(f"the program ended with exit code {process.returncode} while waiting for {what}")
        try:
            shown = looker(session, process, timeout=max(5.0, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            continue  # a program too busy to answer in time; the deadline decides
        except subprocess.CalledProcessError as error:
            # The window changed while it was looked at; the next look sees how it ended up.
            failed_look = f"\nthe last look that failed said:\n{error.stderr}"
            continue
        if condition(shown):
            return shown
        time.sleep(0.2)
    raise AssertionError(f"the window never showed {what}; it showed:\n{shown}{failed_look}")


def press(session, process, name):
    """Presses the showing, enabled button called name, as a screen reader user would."""
    result = session.run(sys.executable, ACCESSIBLE_TEXTS, str(process.pid), "--press", name, check=False)
    if result.returncode != 0:
        raise AssertionError(f"could not press {name!r}: {result.stderr.strip()}\n{look(session, process)}")


class Announcements:
    """Listens, from before the program starts, to what programs announce to a screen reader.

    The listener ends with the session at the latest; a test that wants it ended sooner uses it as a context
    manager or calls close()."""

    def __init__(self, session, timeout=60):
        self.listener = session.popen([sys.executable, ACCESSIBLE_TEXTS, "--announcements"],
                                      stdout=subprocess.PIPE, text=True)
        try:
            if read_line(self.listener.stdout, timeout).strip() != "listening":
                raise AssertionError("the announcement listener did not start")
        except BaseException:
            self.close()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        stop(self.listener)

    def of(self, process):
        """Ends listening and returns every text that process announced."""
        self.listener.terminate()
        try:
            output, _ = self.listener.communicate(timeout=30)
        finally:
            self.close()
        return [text for pid, text in map(json.loads, output.splitlines()) if pid == process.pid]
