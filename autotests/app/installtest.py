#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The installed program as a desktop sees it: a staged install (DESTDIR) holds the program, its desktop entry,
metainfo, icon, logging categories and translations; the desktop entry and metainfo pass the desktop's own
validators; "Open with" covers every image type the installed Qt image plugins read; and run from the staged
install in German and in Norwegian Bokmål, the window speaks that language (read through the accessibility tree).

Usage: installtest.py BUILD-DIRECTORY IMAGE-MIME-TYPES-PROGRAM SAMPLE-IMAGE SOURCE-DIRECTORY
"""

import configparser
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import wait_until  # noqa: E402

BUILD = MIME_TYPES_PROGRAM = SAMPLE = SOURCE = None
APP_ID = "org.example.brevlinder"
INSTALLED = [
    "usr/bin/brevlinder",
    f"usr/share/applications/{APP_ID}.desktop",
    f"usr/share/metainfo/{APP_ID}.metainfo.xml",
    "usr/share/icons/hicolor/scalable/apps/brevlinder.svg",
    "usr/share/qlogging-categories6/brevlinder.categories",
    "usr/share/locale/de/LC_MESSAGES/brevlinder.mo",
    "usr/share/locale/nb/LC_MESSAGES/brevlinder.mo",
]
# What the pick view and a successful scan say, in each language.
TRANSLATED = {
    # language: (texts of the pick view, the success message); the locale comes from LOCALES below
    "de": (["Datei auswählen", "Aus der Zwischenablage einfügen", "Bildschirm scannen", "Bild hier ablegen"],
           "Der Code im Bild wurde erfolgreich gelesen."),
    "nb": (["Velg en fil", "Lim inn fra utklippstavla", "Skann skjermen", "Slipp et bilde her"],
           "Koden i bildet ble lest."),
}
# gettext translates nothing under the C locale, and the build environment has no other installed.
LOCALES = {"de": "de_DE", "nb": "nb_NO"}


class InstallTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stage = tempfile.mkdtemp(prefix="brevlinder-stage-")
        subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"], env=dict(os.environ, DESTDIR=cls.stage),
                       check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.stage, ignore_errors=True)

    def staged(self, path):
        return os.path.join(self.stage, path)

    def test_every_file_is_installed(self):
        for path in INSTALLED:
            self.assertTrue(os.path.isfile(self.staged(path)), path)
        with open(self.staged("usr/share/qlogging-categories6/brevlinder.categories")) as categories:
            self.assertIn("brevlinder.imagesource", categories.read())

    def test_desktop_entry_and_metainfo_pass_the_validators(self):
        desktop = subprocess.run(["desktop-file-validate", self.staged(INSTALLED[1])], capture_output=True, text=True)
        self.assertEqual(desktop.returncode, 0, desktop.stdout + desktop.stderr)
        self.assertEqual(desktop.stdout.strip(), "", "the desktop entry has warnings or hints")
        metainfo = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", self.staged(INSTALLED[2])],
                                  capture_output=True, text=True)
        self.assertEqual(metainfo.returncode, 0, metainfo.stdout + metainfo.stderr)

    def test_desktop_entry_opens_every_readable_image_type(self):
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(self.staged(INSTALLED[1]), encoding="utf-8")
        desktop = entry["Desktop Entry"]
        self.assertEqual(desktop["Exec"], "brevlinder %u")
        self.assertEqual(desktop["Icon"], "brevlinder")
        keywords = desktop["Keywords"].split(";")
        for word in ("QR", "barcode", "scan"):
            self.assertIn(word, keywords)
        offered = set(filter(None, desktop["MimeType"].split(";")))
        readable = set(subprocess.run([MIME_TYPES_PROGRAM], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                      capture_output=True, text=True, check=True).stdout.split())
        self.assertTrue({"image/png", "image/jpeg", "image/webp", "image/avif", "image/heif", "image/jxl",
                         "image/tiff", "image/svg+xml"} <= readable, "image plugins are missing in this environment")
        self.assertEqual(sorted(readable - offered), [], "image types read but not offered in MimeType=")

    def test_catalogues_are_complete(self):
        for language in TRANSLATED:
            result = subprocess.run(["msgfmt", "--check", "--statistics", "-o", os.devnull,
                                     os.path.join(SOURCE, "po", language, "brevlinder.po")],
                                    capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertNotIn("untranslated", result.stderr, language)
            self.assertNotIn("fuzzy", result.stderr, language)

    def test_installed_program_speaks_each_language(self):
        program = self.staged("usr/bin/brevlinder")
        locales = os.path.join(self.stage, "locales")
        os.makedirs(locales, exist_ok=True)
        environment = {"XDG_DATA_DIRS": self.staged("usr/share") + ":/usr/local/share:/usr/share", "LOCPATH": locales}
        for language, (pick_view, success) in TRANSLATED.items():
            with self.subTest(language=language), XSession(with_dbus=True) as session:
                locale = LOCALES[language] + ".UTF-8"
                subprocess.run(["localedef", "-i", LOCALES[language], "-f", "UTF-8", os.path.join(locales, locale)],
                               check=True)
                environment.update(LANGUAGE=language, LANG=locale, LC_ALL=locale)
                for args, expected in (([], pick_view), ([SAMPLE], [success])):
                    process = session.start(program, *args, env=environment)
                    self.addCleanup(stop, process)
                    window = session.wait_for_window(process)
                    wait_until(session, process, lambda shown: all(text in shown.names() for text in expected),
                               f"{expected} in {language}")
                    session.key(window, "Escape")
                    self.assertEqual(process.wait(60), 0)


if __name__ == "__main__":
    BUILD, MIME_TYPES_PROGRAM, SAMPLE, SOURCE = (os.path.abspath(argument) for argument in sys.argv[1:5])
    del sys.argv[1:5]
    unittest.main(verbosity=2)
