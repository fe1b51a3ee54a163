#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The built program under Xvfb with several codes, read as a screen reader has it: an image with three codes of
three symbologies, whose chooser is reached with Tab and changed with the arrow keys, and whose codes are clicked
inside their outlines; copying then takes the chosen code. A PDF document of four pages with codes on two of them,
turned with Page Down and through the chooser; and a document behind a password, which says so. The files are
written by FIXTURE-WRITER; a screenshot of each window goes to SCREENSHOT-DIRECTORY.

Usage: severalcodestest.py PATH-TO-BREVLINDER FIXTURE-WRITER SCREENSHOT-DIRECTORY
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, errors_of, stop, wait_for  # noqa: E402
from accessibility import look_at_combo_boxes, wait_until  # noqa: E402

PROGRAM = FIXTURE_WRITER = SCREENSHOTS = None
CHOOSER_LABEL = "Code:"
COPY = "Copy Text to Clipboard"
DOCUMENT_CODES = ["https://example.org/document/page-1", "https://example.org/document/page-3"]


def decoded_text(shown):
    texts = [text.replace("\u2028", "\n") for _, name, text, _, _ in shown.showing() if name == "Decoded text"]
    return texts[0] if texts else None


def chooser(boxes):
    return boxes.labelled(CHOOSER_LABEL)


class SeveralCodesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-severalcodes-")
        try:
            written = subprocess.run([FIXTURE_WRITER, cls.directory], capture_output=True, text=True, timeout=120,
                                     env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            if written.returncode != 0:
                raise RuntimeError(f"the fixture writer failed: {written.stderr}")
        except BaseException:
            shutil.rmtree(cls.directory, ignore_errors=True)
            raise
        cls.sheet = json.loads(written.stdout)
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def start(self, session, file_name):
        process = session.start(PROGRAM, os.path.join(self.directory, file_name))
        self.addCleanup(stop, process)
        return process, session.wait_for_window(process)

    def close(self, session, window, process):
        session.key(window, "Escape")
        self.assertEqual(process.wait(60), 0, errors_of(process)[-6000:])

    def wait_for_chooser(self, session, process, condition, what, timeout=90):
        return chooser(wait_until(session, process, lambda boxes: chooser(boxes) and condition(chooser(boxes)), what,
                                  timeout=timeout, looker=look_at_combo_boxes))

    def tab_to_chooser(self, session, window, process):
        """Presses Tab until the chooser has the keyboard focus. A Tab taken late by a busy program may pass it;
        going once more round the window's Tab chain, shorter than the presses allowed, comes back to it."""
        for _ in range(20):
            session.key(window, "Tab")
            try:
                self.wait_for_chooser(session, process, lambda box: "focused" in box["states"], "", timeout=5)
                return
            except AssertionError:
                continue
        self.fail("Tab never reached the code chooser")

    def clipboard(self, session):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=session.env, capture_output=True,
                                timeout=10)
        return result.stdout.decode() if result.returncode == 0 else None

    def click(self, session, x, y):
        session.run("xdotool", "mousemove", "--sync", str(int(x)), str(int(y)), "click", "1")

    def click_inside_code(self, session, process, image_name, code_text):
        """Clicks the middle of the code that says code_text, where the picture shows it scaled to fit."""
        shown = wait_until(session, process, lambda shown: shown.place("image", image_name), "the picture")
        x, y, width, height, _ = shown.place("image", image_name)
        sheet_width, sheet_height = self.sheet["size"]
        scale = min(width / sheet_width, height / sheet_height)
        left = x + (width - sheet_width * scale) / 2
        top = y + (height - sheet_height * scale) / 2
        symbol_x, symbol_y, symbol_width, symbol_height = next(
            symbol["rect"] for symbol in self.sheet["symbols"] if symbol["text"] == code_text)
        self.click(session, left + (symbol_x + symbol_width / 2) * scale, top + (symbol_y + symbol_height / 2) * scale)

    def test_the_codes_of_an_image_are_listed_chosen_and_copied(self):
        symbology_texts = dict(zip(("QR Code", "Data Matrix", "Code 128"),
                                   (symbol["text"] for symbol in self.sheet["symbols"])))
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, "several-codes.png")
            shown = wait_until(session, process, lambda shown: "3 codes found in the image." in shown.names(),
                               "the number of codes found")
            box = self.wait_for_chooser(session, process, lambda box: len(box["entries"]) == 3, "the three codes")
            # Each entry names its number, its symbology and the start of its text; the chooser's order is the
            # order the codes were found in.
            parts = [entry.split(" · ", 2) for entry in box["entries"]]
            self.assertEqual([number for number, _, _ in parts], ["1 of 3", "2 of 3", "3 of 3"])
            symbologies = [symbology for _, symbology, _ in parts]
            self.assertEqual(sorted(symbologies), sorted(symbology_texts))
            texts = [symbology_texts[symbology] for symbology in symbologies]
            for (_, _, start), text in zip(parts, texts):
                self.assertTrue(text.startswith(start.rstrip("…")), f"{start!r} for {text!r}")
            current = texts.index(decoded_text(shown))
            self.assertEqual(box["current"], box["entries"][current])
            self.assertEqual(box["selected"], [box["entries"][current]])
            self.assertIn(symbologies[current], shown.names())

            # The arrow key in the chooser makes the next code current, with its symbology and its text.
            self.tab_to_chooser(session, window, process)
            key, chosen = ("Down", current + 1) if current < 2 else ("Up", current - 1)
            session.key(window, key)
            shown = wait_until(session, process, lambda shown: decoded_text(shown) == texts[chosen],
                               f"the text of {texts[chosen]!r} after the arrow key")
            self.assertIn(symbologies[chosen], shown.names())
            self.assertNotIn(symbologies[current], shown.names())
            box = self.wait_for_chooser(session, process, lambda box: box["current"] == box["entries"][chosen],
                                        f"the chooser showing entry {chosen + 1}")
            self.assertEqual(box["selected"], [box["entries"][chosen]])

            self.click(session, *self.button_middle(session, process))
            wait_for(lambda: self.clipboard(session) == texts[chosen],
                     lambda: f"{texts[chosen]!r} on the clipboard (it holds {self.clipboard(session)!r})")

            # A click inside another code's outline makes that code current. The window is made larger first, as a
            # user would to see the codes: at the size the window opens with, the picture is a narrow strip.
            # Moved to the corner first: without a window manager nothing keeps it on the screen.
            session.run("xdotool", "windowmove", "--sync", window, "0", "0")
            session.run("xdotool", "windowsize", "--sync", window, "1000", "740")
            wait_until(session, process, lambda shown: (shown.place("image", "several-codes.png") or (0,) * 4)[3] > 300,
                       "the picture grown with the window")
            clicked = next(index for index in range(3) if index not in (current, chosen))
            self.click_inside_code(session, process, "several-codes.png", texts[clicked])
            shown = wait_until(session, process, lambda shown: decoded_text(shown) == texts[clicked],
                               f"the text of {texts[clicked]!r} after the click inside its outline")
            self.assertIn(symbologies[clicked], shown.names())
            self.wait_for_chooser(session, process, lambda box: box["current"] == box["entries"][clicked],
                                  f"the chooser showing entry {clicked + 1}")
            self.click(session, *self.button_middle(session, process))
            wait_for(lambda: self.clipboard(session) == texts[clicked],
                     lambda: f"{texts[clicked]!r} on the clipboard (it holds {self.clipboard(session)!r})")
            session.screenshot(window, os.path.join(SCREENSHOTS, "several-codes.png"))
            self.close(session, window, process)

    def button_middle(self, session, process):
        """Where to click the copy button: its main part, away from its menu arrow."""
        x, y, _, height, enabled = wait_until(session, process, lambda shown: shown.place("push button menu", COPY),
                                              "the copy button").place("push button menu", COPY)
        self.assertTrue(enabled, "the copy button is disabled")
        return x + 12, y + height // 2

    def test_the_pages_of_a_document_are_turned_and_chosen(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, "document.pdf")
            shown = wait_until(session, process, lambda shown: "2 codes found in the document." in shown.names(),
                               "the number of codes found in the document")
            self.assertIn("Page 1 of 4", shown.names())
            self.assertEqual(decoded_text(shown), DOCUMENT_CODES[0])
            box = self.wait_for_chooser(session, process, lambda box: len(box["entries"]) == 2, "the two codes")
            self.assertEqual([entry.split(" · ")[:3] for entry in box["entries"]],
                             [["page 1", "1 of 1", "QR Code"], ["page 3", "1 of 1", "QR Code"]])
            self.assertEqual(box["current"], box["entries"][0])

            # Page Down from the chooser turns to the page without a code; the code shown stays the one before.
            self.tab_to_chooser(session, window, process)
            session.key(window, "Next")
            shown = wait_until(session, process, lambda shown: "Page 2 of 4" in shown.names(), "page 2 after Page Down")
            self.assertEqual(decoded_text(shown), DOCUMENT_CODES[0])

            # Choosing the code on page 3 shows that page.
            session.key(window, "Down")
            shown = wait_until(session, process, lambda shown: "Page 3 of 4" in shown.names()
                               and decoded_text(shown) == DOCUMENT_CODES[1], "page 3 and its code after choosing it")
            self.assertIn("document.pdf, page 3 of 4", shown.names())
            box = self.wait_for_chooser(session, process, lambda box: box["current"] == box["entries"][1],
                                        "the chooser showing the code on page 3")
            session.screenshot(window, os.path.join(SCREENSHOTS, "several-codes-document.png"))
            self.close(session, window, process)

    def test_a_document_behind_a_password_says_so(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, "protected.pdf")
            shown = wait_until(session, process, lambda shown: any(
                "protected by a password" in name for name in shown.names()), "why the document cannot be read")
            self.assertIn("Error", shown.names())
            self.assertFalse(decoded_text(shown), "a text shows beside the error")
            self.assertIsNone(look_at_combo_boxes(session, process).labelled(CHOOSER_LABEL))
            session.screenshot(window, os.path.join(SCREENSHOTS, "several-codes-protected.png"))
            self.close(session, window, process)


if __name__ == "__main__":
    PROGRAM, FIXTURE_WRITER, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
