#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""The installed program as a desktop sees it: a staged install (DESTDIR) holds the program, its desktop entry,
metainfo, icon, logging categories and translations; the desktop entry and metainfo pass the desktop's own
validators; "Open with" covers every image type the installed Qt image plugins read; and run from the staged
install in German and in Norwegian Bokmål, the window speaks that language (read through the accessibility tree),
in German also in the texts that come from Qt and from the frameworks.

Usage: installtest.py BUILD-DIRECTORY IMAGE-MIME-TYPES-PROGRAM SAMPLE-IMAGE SOURCE-DIRECTORY
"""

import configparser
import functools
import glob
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest
from xml.etree import ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop  # noqa: E402
from accessibility import wait_until  # noqa: E402

BUILD = MIME_TYPES_PROGRAM = SAMPLE = SOURCE = FIXTURES_PROGRAM = None
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
# Texts that are not the program's own, in German: they come from the catalogues of Qt and of the frameworks, which
# a desktop system has installed beside them.
GERMAN_HELP_BUTTON = "Hilfe"  # Qt's standard button
GERMAN_SUCCESS_PANEL = "Erfolg"  # KWidgetsAddons' message widget, the panel around a positive message
GERMAN_ERROR_PANEL = "Fehler"
GERMAN_LOAD_ERROR = "Das Bild kann nicht aus der Datei {} geladen werden."
GERMAN_NOT_FOUND = "Die Datei oder der Ordner {} existiert nicht."  # KIO's reason for a missing remote file
# The reason for a missing local file: Qt's, from reading it directly, or KIO's, should KIO ever read it.
GERMAN_NO_SUCH_FILE = ("Die Datei oder das Verzeichnis konnte nicht gefunden werden", GERMAN_NOT_FOUND)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


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
            names = categories.read()
        for category in ("brevlinder.imagesource", "brevlinder.documents"):
            self.assertIn(category, names)

    def test_the_installed_program_reads_pdf_documents_with_its_plugin(self):
        plugins = glob.glob(self.staged("usr/lib/**/brevlinder_documents/pdfdocument.so"), recursive=True)
        self.assertEqual(len(plugins), 1, "the PDF plugin is installed once")
        fixtures = tempfile.mkdtemp(prefix="brevlinder-fixtures-")
        self.addCleanup(shutil.rmtree, fixtures, ignore_errors=True)
        subprocess.run([FIXTURES_PROGRAM, fixtures], check=True, stdout=subprocess.DEVNULL,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        with XSession(with_dbus=True) as session:
            found = "2 Codes im Dokument gefunden."
            self.show(session, [os.path.join(fixtures, "document.pdf")], "de", lambda shown: found in shown.names(),
                      found)

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
        self.assertIn("application/pdf", offered, "PDF documents are read but not offered in MimeType=")
        provided = [element.text for element in ElementTree.parse(self.staged(INSTALLED[2])).getroot().iter("mediatype")]
        self.assertIn("application/pdf", provided, "the software centre does not learn that PDF documents are read")

    def test_catalogues_are_complete(self):
        for language in TRANSLATED:
            result = subprocess.run(["msgfmt", "--check", "--statistics", "-o", os.devnull,
                                     os.path.join(SOURCE, "po", language, "brevlinder.po")],
                                    capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertNotIn("untranslated", result.stderr, language)
            self.assertNotIn("fuzzy", result.stderr, language)

    def environment(self, language):
        """The environment that runs the staged program in language, under a locale made for it."""
        locales = os.path.join(self.stage, "locales")
        locale = LOCALES[language] + ".UTF-8"
        if not os.path.isdir(os.path.join(locales, locale)):
            os.makedirs(locales, exist_ok=True)
            subprocess.run(["localedef", "-i", LOCALES[language], "-f", "UTF-8", os.path.join(locales, locale)],
                           check=True)
        return {"XDG_DATA_DIRS": self.staged("usr/share") + ":/usr/local/share:/usr/share", "LOCPATH": locales,
                "LANGUAGE": language, "LANG": locale, "LC_ALL": locale}

    def show(self, session, args, language, condition, what, timeout=90):
        """Runs the staged program until condition(shown) holds, then closes it with Escape."""
        process = session.start(self.staged("usr/bin/brevlinder"), *args, env=self.environment(language))
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        shown = wait_until(session, process, condition, what, timeout=timeout)
        session.key(window, "Escape")
        self.assertEqual(process.wait(60), 0)
        return shown

    def test_installed_program_speaks_each_language(self):
        for language, (pick_view, success) in TRANSLATED.items():
            with self.subTest(language=language), XSession(with_dbus=True) as session:
                for args, expected in (([], pick_view), ([SAMPLE], [success])):
                    self.show(session, args, language, lambda shown: all(text in shown.names() for text in expected),
                              f"{expected} in {language}")

    def test_qt_and_framework_texts_are_german_too(self):
        served = tempfile.mkdtemp(prefix="brevlinder-served-")
        self.addCleanup(shutil.rmtree, served, ignore_errors=True)
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=served))
        self.addCleanup(server.server_close)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.shutdown)
        missing_remote = f"http://127.0.0.1:{server.server_address[1]}/no-such-image.png"
        missing_local = "file://" + os.path.join(served, "no-such-image.png")

        def error_with_reason(url, reasons):
            message = GERMAN_LOAD_ERROR.format(url)
            return lambda shown: GERMAN_ERROR_PANEL in shown.names() and any(
                name.startswith(f"{message} {reason.format(url)}") for name in shown.names() for reason in reasons)

        rows = [
            ("Qt's help button and the framework's success panel", [SAMPLE],
             lambda shown: shown.button(GERMAN_HELP_BUTTON) is not None and GERMAN_SUCCESS_PANEL in shown.names()),
            ("the reason for a missing file", [missing_local], error_with_reason(missing_local, GERMAN_NO_SUCH_FILE)),
            ("KIO's reason for a missing remote file", [missing_remote],
             error_with_reason(missing_remote, [GERMAN_NOT_FOUND])),
        ]
        with XSession(with_dbus=True) as session:
            for what, args, condition in rows:
                with self.subTest(what):
                    # A shorter deadline, so that all rows can fail within ctest's time for the whole test.
                    self.show(session, args, "de", condition, f"{what} in German", timeout=60)


if __name__ == "__main__":
    BUILD, MIME_TYPES_PROGRAM, SAMPLE, SOURCE, FIXTURES_PROGRAM = (os.path.abspath(argument) for argument in sys.argv[1:6])
    del sys.argv[1:6]
    unittest.main(verbosity=2)
