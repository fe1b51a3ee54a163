#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The built program exports a binary payload for real under Xvfb: a QR code made by qrencode from bytes that
no text survives (NUL, controls, the upper half) is scanned; the export buttons and their menus are clicked
where the accessibility tree places them; xclip, as another program, reads the X clipboard; the file dialogs
are typed into. Screenshots of the window with all its buttons, in normal and in one-scan mode, go to
SCREENSHOT-DIRECTORY.

Usage: exporttest.py PATH-TO-BREVLINDER SCREENSHOT-DIRECTORY
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop, wait_for  # noqa: E402
from accessibility import look, wait_until  # noqa: E402

PROGRAM = SCREENSHOTS = None
PAYLOAD = b"Brevlinder\x00\x01\x02\r\n\x7f\x80\x9f\xa0\xc3\x28\xfe\xff binary\x00"
# Every button in the box has a menu: the export buttons a drop-down one, the help button its help menu.
BUTTON = "push button menu"
SUCCESS = "Code in the image successfully scanned."
# What the X11 selection protocol itself offers next to the data formats.
BOOKKEEPING_TARGETS = {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS"}


class ExportTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-export-")
        cls.code = os.path.join(cls.directory, "binary-code.png")
        subprocess.run(["qrencode", "-8", "-s", "6", "-o", cls.code], input=PAYLOAD, check=True)
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def start(self, session, *args):
        process = session.start(PROGRAM, *args)
        self.addCleanup(process.stderr.close)
        self.addCleanup(process.stdout.close)
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        wait_until(session, process, lambda shown: SUCCESS in shown.names(), "the scan's success")
        return process, window

    def find(self, session, process, role, name):
        shown = wait_until(session, process, lambda shown: shown.place(role, name), f"{role} '{name}'")
        return shown.place(role, name)

    def click(self, session, x, y):
        session.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def click_button(self, session, process, name):
        """Clicks the main part of the tool button called name, away from its menu arrow."""
        x, y, width, height, enabled = self.find(session, process, BUTTON, name)
        self.assertTrue(enabled, f"{name} is disabled")
        self.click(session, x + 12, y + height // 2)

    def choose_from_menu(self, session, process, button, entry):
        """Opens the menu of the tool button called button with its arrow and clicks entry in it."""
        x, y, width, height, _ = self.find(session, process, BUTTON, button)
        self.click(session, x + width - 5, y + height // 2)
        x, y, width, height, enabled = self.find(session, process, "menu item", entry)
        self.assertTrue(enabled, f"{entry} is disabled")
        self.click(session, x + width // 2, y + height // 2)

    def clipboard(self, session, *args, selection="clipboard"):
        result = subprocess.run(["xclip", "-selection", selection, "-o", *args], env=session.env,
                                capture_output=True, timeout=10)
        return result.stdout if result.returncode == 0 else None

    def dialog_open(self, session, process, title):
        return bool(session.run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(process.pid),
                                "--name", f"^{title}$", check=False).stdout.split())

    def save_through_dialog(self, session, process, title, file_name):
        dialog = wait_for(lambda: session.run("xdotool", "search", "--all", "--onlyvisible", "--pid", str(process.pid),
                                                "--name", f"^{title}$", check=False).stdout.split(),
                          message=f"the dialog '{title}'")[0]
        session.focus(dialog)
        # Keys typed before the name field has the keyboard focus are lost.
        wait_until(session, process, lambda shown: any(
            role == "text" and name == "File name:" and "focused" in states
            for role, name, _, states, _ in shown.showing()), "the dialog's name field with the keyboard focus")
        session.run("xdotool", "type", "--delay", "20", file_name)
        wait_until(session, process, lambda shown: file_name in shown.texts(), f"{file_name} typed into the dialog")
        # On a busy machine the name field's completion list may open late and take the first Return for itself;
        # the dialog then stays open, and Return again accepts it.
        for attempt in range(3):
            session.run("xdotool", "key", "Return")
            try:
                wait_for(lambda: os.path.exists(file_name), message=f"{file_name} to be written", timeout=20)
                break
            except AssertionError:
                if attempt == 2 or not self.dialog_open(session, process, title):
                    raise
        # The file appears complete: it is renamed into place.
        with open(file_name, "rb") as saved:
            return saved.read()

    def test_binary_payload_is_copied_and_saved_exactly(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, self.code)
            session.screenshot(window, os.path.join(SCREENSHOTS, "export-buttons.png"))
            texts = look(session, process).texts()
            # Control characters are shown by name, so the text is plain text that every program can take.
            shown = [text for text in texts if text.startswith("Brevlinder")]
            self.assertEqual(len(shown), 1, texts)
            shown_text = shown[0].encode()
            self.assertNotIn(b"\x00", shown_text)
            for name in ("Copy Text to Clipboard", "Save Text As…", "Help"):
                self.find(session, process, BUTTON, name)
            self.find(session, process, "button", "Choose Another Source")

            # Whatever the user selected last stays in the selection.
            self.addCleanup(stop, session.own_selection(b"selected before", selection="primary"))
            wait_for(lambda: self.clipboard(session, selection="primary") == b"selected before", "the selection")

            self.click_button(session, process, "Copy Text to Clipboard")
            text = wait_for(lambda: self.clipboard(session), "text on the clipboard")
            self.assertEqual(text, shown_text)
            self.assertEqual(self.clipboard(session, selection="primary"), b"selected before")

            self.choose_from_menu(session, process, "Copy Text to Clipboard", "Copy Data to Clipboard")
            data = wait_for(lambda: self.clipboard(session, "-t", "application/octet-stream"), "data on the clipboard")
            self.assertEqual(data, PAYLOAD)
            targets = set(self.clipboard(session, "-t", "TARGETS").decode().split())
            self.assertEqual(targets - BOOKKEEPING_TARGETS, {"application/octet-stream"})

            text_file = os.path.join(self.directory, "saved-text.txt")
            self.click_button(session, process, "Save Text As…")
            self.assertEqual(self.save_through_dialog(session, process, "Save Text As", text_file), text)

            data_file = os.path.join(self.directory, "saved-data.bin")
            self.choose_from_menu(session, process, "Save Text As…", "Save Data As…")
            self.assertEqual(self.save_through_dialog(session, process, "Save Data As", data_file), PAYLOAD)

            self.assertIsNone(process.poll(), "the program ended while exporting")
            session.key(window, "Escape")
            self.assertEqual(process.wait(60), 0)

    def test_one_scan_mode_offers_only_the_export_buttons(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, "--onescan", self.code)
            session.screenshot(window, os.path.join(SCREENSHOTS, "export-buttons-onescan.png"))
            shown_buttons = {name for role, name, _, _, (_, _, width, _) in look(session, process).showing()
                             if "button" in role and width > 0}
            self.assertEqual(shown_buttons, {"Copy Text to Clipboard", "Save Text As…"})


if __name__ == "__main__":
    PROGRAM, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
