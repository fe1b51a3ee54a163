#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""What a code carries, in the built program under Xvfb, read through the accessibility tree as a screen reader
has it: for a QR code of each kind (and a GS1-128 barcode) the card above the decoded text is titled after the
kind, and each value is readable on its own, found through the label that names it; markup in a value stays
literal, and plain text shows no card. The buttons that hand a contact, an event, a one-time password set-up, a
place or a phone number to the desktop start its default handler (a script of the test's own, in XDG folders of
its own) with the right file or address; they are clicked with the mouse. A broken value says what is wrong
beside it and disables the action that would use it. Screenshots of the cards go to SCREENSHOT-DIRECTORY.

Usage: contentcardstest.py PATH-TO-BREVLINDER GS1-BARCODE-WRITER SCREENSHOT-DIRECTORY

One program reads every code of a test: "Choose Another Source", then the next image pasted with Ctrl+V. The
test runs itself, in the X and D-Bus session, to read the cards (see the helper mode at the end).
"""

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, errors_of, stop, wait_for  # noqa: E402
from accessibility import press, wait_until  # noqa: E402

PROGRAM = GS1_WRITER = SCREENSHOTS = None
DECODED_TEXT = "Decoded text"
CHOOSE_ANOTHER = "Choose Another Source"
PASTE = "Paste from Clipboard"
TITLES = ("Wi-Fi Network", "Contact", "Event", "Place", "Phone Number", "E-mail", "Text Message",
          "One-Time Password Set-up", "Payment", "GS1 Data", "Web Address")
HANDLED_TYPES = ("text/vcard", "text/calendar")
HANDLED_SCHEMES = ("x-scheme-handler/otpauth", "x-scheme-handler/geo", "x-scheme-handler/tel",
                   "x-scheme-handler/mailto", "x-scheme-handler/sms", "x-scheme-handler/http",
                   "x-scheme-handler/https")
# Generous, for a busy machine or a sanitizer build; every wait ends as soon as what it waits for is there.
TIMEOUT = 90


# What a value must be. Where the card may present a value in its own way (an IBAN in groups of four, a date or
# an amount in the user's format), the check takes what any presentation keeps.

def exactly(expected):
    check = lambda value: value == expected  # noqa: E731
    check.expected = repr(expected)
    return check


def without_spaces(expected):
    check = lambda value: re.sub(r"\s", "", value) == expected  # noqa: E731
    check.expected = f"{expected!r} (spaces aside)"
    return check


def containing(*parts):
    check = lambda value: all(part in value for part in parts)  # noqa: E731
    check.expected = f"something with {', '.join(map(repr, parts))}"
    return check


def with_digits(digits):
    """A number whatever its grouping and decimal sign: 1949.75 as "1’949.75", "1,949.75" or "1949,75"."""
    check = lambda value: re.sub(r"\D", "", value).lstrip("0") == digits.lstrip("0")  # noqa: E731
    check.expected = f"the digits {digits}"
    return check


def one_of(*checks):
    check = lambda value: any(each(value) for each in checks)  # noqa: E731
    check.expected = " or ".join(each.expected for each in checks)
    return check


EPC_PAYMENT = "\n".join(["BCD", "002", "1", "SCT", "BHBLDEHHXXX", "Franz Mustermänn", "DE71110220330123456789",
                         "EUR12.3", "GDDS", "RF18539007547034", "", "", ""]).rstrip("\n")
SWISS_BILL = "\n".join([
    "SPC", "0200", "1", "CH4431999123000889012", "S", "Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel",
    "CH", "", "", "", "", "", "", "", "1949.75", "CHF", "S", "Pia-Maria Rutschmann-Schnyder", "Grosse Marktgasse",
    "28", "9400", "Rorschach", "CH", "QRR", "210000000003139471430009017", "Order dated 18.06.2020", "EPD"])
VCARD = "\r\n".join([
    "BEGIN:VCARD", "VERSION:3.0", "N:Gump;Forrest;;Mr.;", "FN:Forrest Gump", "ORG:Bubba Gump Shrimp Co.",
    "TITLE:Shrimp Man", "TEL;TYPE=WORK,VOICE:(111) 555-1212", "EMAIL;TYPE=INTERNET:forrestgump@example.com",
    "ADR;TYPE=WORK:;;100 Waters Edge;Baytown;LA;30314;United States of America", "URL:https://example.com/forrest",
    "BDAY:1944-06-06", "NOTE:Likes shrimp\\, and running.", "END:VCARD"])
# Berlin is an hour ahead of UTC in March before the clocks change: 19:00 there is 18:00 for a user in UTC.
ICALENDAR = "\r\n".join([
    "BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Example//Concerts//EN", "BEGIN:VEVENT",
    "UID:20270312-concert@example.org", "DTSTAMP:20261201T120000Z", "DTSTART;TZID=Europe/Berlin:20270312T190000",
    "DTEND;TZID=Europe/Berlin:20270312T220000", "SUMMARY:Spring concert", "LOCATION:Philharmonie\\, Berlin",
    "DESCRIPTION:Doors open at 18:30.", "END:VEVENT", "END:VCALENDAR"])
OTP = ("otpauth://totp/ACME%20Co:john.doe@example.com?secret=HXDMVJECJJWSRB3HWIZR4IFUGFTMXBOZ&issuer=ACME%20Co"
       "&algorithm=SHA1&digits=6&period=30")
GEO = "geo:48.2010,16.3695,183;u=25"
TEL = "tel:+41446681800"
# The GS1 barcode's elements, unbracketed, with a group separator after the batch that the serial number follows.
GS1_ELEMENTS = "0109506000134352" + "17281231" + "3103000750" + "10ABC123" + "\x1d" + "21XYZ1"
GS1_TEXT = "(01)09506000134352(17)281231(3103)000750(10)ABC123(21)XYZ1"


class Code:
    """A code the test shows the program: its payload, its kind's title (None for plain text), the values that
    the card must show under their labels, and the screenshot to take of it."""

    def __init__(self, name, payload, title, fields=(), buttons=(), screenshot=None, decoded=None, texts=()):
        self.name = name
        self.payload = payload
        self.title = title
        self.fields = fields
        self.buttons = buttons
        self.screenshot = screenshot
        # What the decoded text shows: the payload, except for GS1 data, which the scan gives bracketed.
        self.decoded = payload if decoded is None else decoded
        self.texts = texts


CODES = (
    Code("wifi", "WIFI:T:WPA;S:<b>Café</b>;P:secret\\;42x;H:false;;", "Wi-Fi Network",
         (("Network name", exactly("<b>Café</b>")), ("Security", containing("WPA")),
          ("Password", exactly("secret;42x"))),
         ("Connect to “<b>Café</b>”", "Copy Password"), "card-wifi.png"),
    Code("plain text after a card", "Just a note: buy milk; WIFI:S:x;;", None),
    Code("mecard", "MECARD:N:Doe,John;TEL:+4930123456;EMAIL:john@example.org;NOTE:Bring a\\;coffee;;", "Contact",
         (("Name", containing("John", "Doe")), ("Phone", containing("+4930123456")),
          ("E-mail", containing("john@example.org")), ("Note", exactly("Bring a;coffee"))),
         ("Save Contact…", "Open in Address Book")),
    Code("vcard", VCARD, "Contact",
         (("Name", exactly("Forrest Gump")), ("Organization", exactly("Bubba Gump Shrimp Co.")),
          ("Title", exactly("Shrimp Man")), ("Phone", containing("(111) 555-1212")),
          ("E-mail", containing("forrestgump@example.com")), ("Address", containing("100 Waters Edge", "Baytown")),
          ("Web address", containing("https://example.com/forrest")), ("Birthday", containing("1944")),
          ("Note", exactly("Likes shrimp, and running."))),
         ("Save Contact…", "Open in Address Book"), "card-contact.png"),
    Code("icalendar", ICALENDAR, "Event",
         (("Title", exactly("Spring concert")), ("Starts", containing("2027", "18:00")),
          ("Ends", containing("21:00")), ("Time zone", containing("Europe/Berlin")),
          ("Location", exactly("Philharmonie, Berlin")), ("Description", exactly("Doors open at 18:30."))),
         ("Save Event…", "Open in Calendar"), "card-event.png"),
    Code("geo", GEO, "Place",
         (("Latitude", containing("48.201")), ("Longitude", containing("16.3695")), ("Altitude", containing("183")),
          ("Uncertainty", containing("25"))),
         ("Open Map", "Copy Coordinates")),
    Code("tel", TEL, "Phone Number", (("Number", without_spaces("+41446681800")),), ()),
    Code("mailto", "mailto:alice@example.org?cc=bob@example.org&bcc=carol@example.org&subject=Meeting%20notes"
                   "&body=See%20you%20at%2010", "E-mail",
         (("To", exactly("alice@example.org")), ("Cc", exactly("bob@example.org")),
          ("Bcc", exactly("carol@example.org")), ("Subject", exactly("Meeting notes")),
          ("Message", exactly("See you at 10"))),
         ("Write E-mail to alice@example.org",),
         texts=("The message would also go to carol@example.org, hidden from the other recipients.",)),
    Code("smsto", "SMSTO:+4930123456:Running late, 10 min", "Text Message",
         (("To", without_spaces("+4930123456")), ("Message", exactly("Running late, 10 min"))), ()),
    Code("otpauth", OTP, "One-Time Password Set-up",
         (("Issuer", exactly("ACME Co")), ("Account", exactly("john.doe@example.com")),
          ("Type", one_of(containing("TOTP"), containing("Time"), containing("time"))),
          ("Algorithm", one_of(exactly("SHA1"), exactly("SHA-1"))), ("Digits", exactly("6")),
          ("Period", containing("30")), ("Secret", without_spaces("HXDMVJECJJWSRB3HWIZR4IFUGFTMXBOZ"))),
         ("Add to Authenticator", "Copy Secret"), "card-otp.png"),
    Code("epc", EPC_PAYMENT, "Payment",
         (("Beneficiary", exactly("Franz Mustermänn")), ("IBAN", without_spaces("DE71110220330123456789")),
          ("BIC", exactly("BHBLDEHHXXX")), ("Amount", one_of(containing("12.30", "EUR"), containing("12,30", "EUR"),
                                                               containing("12.3", "EUR"), containing("12,3", "EUR"))),
          ("Reference", without_spaces("RF18539007547034"))),
         ("Copy IBAN", "Copy Amount", "Copy Reference"), "card-payment.png"),
    Code("swiss qr-bill", SWISS_BILL, "Payment",
         (("Beneficiary", containing("Robert Schneider AG")), ("IBAN", without_spaces("CH4431999123000889012")),
          ("Amount", containing("CHF")), ("Amount", with_digits("194975")),
          ("Reference", without_spaces("210000000003139471430009017")),
          ("Remittance information", containing("Order dated 18.06.2020")),
          ("Debtor", containing("Pia-Maria Rutschmann-Schnyder"))),
         ("Copy IBAN", "Copy Amount", "Copy Reference"), "card-swiss-bill.png"),
    Code("gs1", None, "GS1 Data",
         (("GTIN", without_spaces("09506000134352")), ("Expiry date", containing("2028")),
          ("Expiry date", one_of(containing("12"), containing("Dec"))), ("Net weight (kg)", with_digits("750")),
          ("Batch or lot", exactly("ABC123")), ("Serial number", exactly("XYZ1"))),
         ("Copy GTIN", "Copy Batch or lot", "Copy Serial number"), "card-gs1.png", decoded=GS1_TEXT),
    Code("web address", "https://kde.org/applications/", "Web Address",
         (("Host", exactly("kde.org")), ("Address", exactly("https://kde.org/applications/"))),
         ("Open Link", "Copy Link Address")),
    Code("plain text", "Meeting at noon, room 4", None),
)


def install_handler(root):
    """Makes a script the desktop's only handler of contacts, events and the schemes that a card opens, in XDG
    folders under root. The script keeps a copy of each file it is given (the program's file is a temporary one)
    in received/, then notes the argument. Returns the environment that points there, the file of notes and the
    folder of copies."""
    for folder in ("data/applications", "config/menus", "cache", "received"):
        os.makedirs(os.path.join(root, folder))
    notes = os.path.join(root, "notes")
    received = os.path.join(root, "received")
    script = os.path.join(root, "handler.sh")
    with open(script, "w") as file:
        file.write("#!/bin/sh\n"
                   f"[ -f \"$1\" ] && cp \"$1\" '{received}/'\n"
                   f"printf '%s\\n' \"$1\" >> '{notes}'\n")
    os.chmod(script, 0o755)
    applications = os.path.join(root, "data/applications")
    # Files by path (%f), addresses as they are (%u).
    with open(os.path.join(applications, "brevlinder-test-file-handler.desktop"), "w") as file:
        file.write("[Desktop Entry]\nType=Application\nName=File notes\nNoDisplay=true\n"
                   f"Exec={script} %f\nMimeType={';'.join(HANDLED_TYPES)};\n")
    with open(os.path.join(applications, "brevlinder-test-scheme-handler.desktop"), "w") as file:
        file.write("[Desktop Entry]\nType=Application\nName=Address notes\nNoDisplay=true\n"
                   f"Exec={script} %u\nMimeType={';'.join(HANDLED_SCHEMES)};\n")
    # The desktop finds its programs through the applications menu; a bare system has none.
    with open(os.path.join(root, "config/menus/applications.menu"), "w") as file:
        file.write('<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN" '
                   '"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd">\n'
                   "<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n")
    with open(os.path.join(root, "config/mimeapps.list"), "w") as file:
        file.write("[Default Applications]\n")
        file.writelines(f"{kind}=brevlinder-test-file-handler.desktop\n" for kind in HANDLED_TYPES)
        file.writelines(f"{scheme}=brevlinder-test-scheme-handler.desktop\n" for scheme in HANDLED_SCHEMES)
    environment = {"XDG_DATA_HOME": os.path.join(root, "data"), "XDG_CONFIG_HOME": os.path.join(root, "config"),
                   "XDG_CACHE_HOME": os.path.join(root, "cache"),
                   # The event's times are checked as a user in UTC sees them.
                   "TZ": "UTC"}
    return environment, notes, received


class Cards:
    """One look at the window: the decoded text and the showing cards, each a dict of its title, its fields
    ({label, name, text, description, states, place} of each control that a label labels), its buttons ({name,
    description, states, place}) and the names of its labels (warnings, problems, and the labels themselves)."""

    def __init__(self, found):
        self.decoded = found["decoded"]
        self.cards = found["cards"]
        self.names = found["names"]

    def card(self, title):
        return next((card for card in self.cards if card["title"] == title), None)

    def __str__(self):
        lines = [f"  decoded text: {self.decoded!r}"]
        for card in self.cards:
            lines.append(f"  card {card['title']!r} ({card['role']})")
            lines.extend(f"    {field['label']!r}: {field['name']!r} text {field['text']!r} "
                         f"description {field['description']!r} (found by its {field['found']})"
                         for field in card["fields"])
            lines.extend(f"    button {button['name']!r} {button['states']} description {button['description']!r}"
                         for button in card["buttons"])
            lines.extend(f"    label {text!r}" for text in card["texts"])
        if not self.cards:
            lines.append("  no card")
        return "\n".join(lines)


def look_at_cards(session, process, timeout=60):
    found = session.run(sys.executable, __file__, "--cards", str(process.pid), timeout=timeout)
    return Cards(json.loads(found.stdout))


def field_of(card, label):
    return [field for field in card["fields"] if field["label"] == label]


def button_of(card, name):
    return next((button for button in card["buttons"] if button["name"] == name), None)


def shows(code):
    """Whether a look shows code: its decoded text (which shows a carriage return in its own way) and its card,
    or none for plain text."""
    def condition(cards):
        if cards.decoded is None or re.sub(r"\s", "", cards.decoded) != re.sub(r"\s", "", code.decoded):
            return False
        if code.title is None:
            return not cards.cards
        return [card["title"] for card in cards.cards] == [code.title]
    return condition


def describe(pid):
    """A process's command line and state, for a message."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline, open(f"/proc/{pid}/stat") as stat:
            return f"{cmdline.read().replace(b'\0', b' ').decode(errors='replace').strip()} ({stat.read().rsplit(')', 1)[1].split()[0]})"
    except OSError:
        return pid


def end_kioexec(pid):
    """Ends the kioexec processes that pid started and removes the temporary files they were given."""
    for child in children_of(pid):
        try:
            with open(f"/proc/{child}/cmdline", "rb") as cmdline:
                arguments = [argument.decode(errors="replace") for argument in cmdline.read().split(b"\0")]
        except OSError:
            continue
        if not arguments or not arguments[0].endswith("/kioexec"):
            continue
        os.kill(int(child), signal.SIGTERM)
        for argument in arguments:
            if argument.startswith("file:///tmp/brevlinder-"):
                try:
                    os.remove(urllib.parse.urlparse(argument).path)
                except FileNotFoundError:
                    pass


def children_of(pid):
    """The processes that pid started and has not yet reaped."""
    children = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                # The parent's id is the second field after the program's name, which is in brackets.
                fields = stat.read().rsplit(")", 1)[1].split()
        except (OSError, IndexError):
            continue
        if int(fields[1]) == pid:
            children.append(entry)
    return children


class ContentCardsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-cards-")
        try:
            for code in CODES + BROKEN_CODES:
                cls.write_image(code)
        except BaseException:
            shutil.rmtree(cls.directory, ignore_errors=True)
            raise
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    @classmethod
    def image_of(cls, code):
        return os.path.join(cls.directory, re.sub(r"\W", "-", code.name) + ".png")

    @classmethod
    def write_image(cls, code):
        if code.payload is None:
            written = subprocess.run([GS1_WRITER, cls.image_of(code), GS1_ELEMENTS], capture_output=True, text=True,
                                     timeout=120, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        else:
            # Bytes as they are (-8), so that UTF-8 stays UTF-8 and a line break a line break.
            written = subprocess.run(["qrencode", "-8", "-s", "4", "-o", cls.image_of(code)],
                                     input=code.payload.encode(), capture_output=True, timeout=120)
        if written.returncode != 0:
            raise RuntimeError(f"could not make the image of {code.name}: {written.stderr}")

    def setUp(self):
        self.line_height = None
        root = tempfile.mkdtemp(prefix="brevlinder-cards-handler-")
        self.addCleanup(shutil.rmtree, root, ignore_errors=True)
        self.environment, self.notes, self.received = install_handler(root)

    def start(self, session, first):
        process = session.start(PROGRAM, self.image_of(first), env=self.environment)
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        return process, window

    def wait_for_code(self, session, process, code):
        return wait_until(session, process, shows(code), f"the {code.name} code", timeout=TIMEOUT,
                          looker=look_at_cards)

    def load(self, session, process, window, code):
        """Reads code as a user reads one image after another: "Choose Another Source", then the image pasted."""
        press(session, process, CHOOSE_ANOTHER)
        with open(self.image_of(code), "rb") as image:
            owner = session.own_selection(image.read(), "image/png")
        self.addCleanup(stop, owner)
        wait_until(session, process, lambda shown: "enabled" in (shown.button(PASTE) or []),
                   "an enabled paste button", timeout=TIMEOUT)
        session.key(window, "ctrl+v")
        return self.wait_for_code(session, process, code)

    def close(self, session, window, process):
        session.key(window, "Escape")
        self.assertEqual(process.wait(TIMEOUT), 0, errors_of(process)[-6000:])

    def click(self, session, window, button):
        x, y, width, height = button["place"]
        session.focus(window)
        session.run("xdotool", "mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")

    def notes_taken(self):
        if not os.path.exists(self.notes):
            return []
        with open(self.notes) as notes:
            return [line[:-1] for line in notes.readlines() if line.endswith("\n")]

    def check_card(self, code, cards):
        card = cards.card(code.title)
        for label, check in code.fields:
            fields = field_of(card, label)
            self.assertTrue(fields, f"no control is labelled {label!r}:\n{cards}")
            # Each value in a control of its own, its accessible name the value as the card shows it.
            self.assertTrue(any(check(field["name"]) for field in fields),
                            f"{label!r} is {[field['name'] for field in fields]}, not {check.expected}:\n{cards}")
            for field in fields:
                if field["text"]:
                    self.assertEqual(field["text"], field["name"], f"{label!r} reads otherwise as text")
        for name in code.buttons:
            self.assertIsNotNone(button_of(card, name), f"no button {name!r}:\n{cards}")
        for text in code.texts:
            self.assertIn(text, card["texts"], f"the card does not say {text!r}:\n{cards}")
        # Every line of a value shows whole. A line is as tall as the one-line values of the test's first card,
        # which the window laid out for a fresh start; a card that replaced another must leave them as much room.
        one_line = [field["place"][3] for field in card["fields"] if "\n" not in field["name"]]
        if self.line_height is None and one_line:
            self.line_height = min(one_line)
        for field in card["fields"]:
            lines = field["name"].count("\n") + 1
            self.assertGreaterEqual(field["place"][3], lines * self.line_height - 1,
                                    f"{field['label']!r} has {field['place'][3]} pixels for its {lines} line(s) of "
                                    f"{self.line_height}: it is cut off\n{field['name']}")

    def check_labelled(self, code, cards):
        """A screen reader says a value's name when the value gets the focus only if the label labels the value."""
        card = cards.card(code.title)
        unlabelled = sorted({field["label"] for field in card["fields"] if field["found"] != "relation"})
        self.assertFalse(unlabelled, f"the labels {unlabelled} label no value (no labelled-by relation); their "
                                     f"values were found only beside them in the form:\n{cards}")

    def test_the_card_of_each_kind_shows_its_values_under_their_labels(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, CODES[0])
            for index, code in enumerate(CODES):
                with self.subTest(code=code.name):
                    if index == 0:
                        cards = self.wait_for_code(session, process, code)
                    else:
                        cards = self.load(session, process, window, code)
                    if code.title is not None:
                        self.check_card(code, cards)
                    if code.screenshot:
                        # After the message's animation; a text cursor blinks slower than the window has to rest.
                        session.settle(window, process, timeout=10, quiet_for=0.4)
                        session.screenshot(window, os.path.join(SCREENSHOTS, code.screenshot))
                    if code.title is not None:
                        self.check_labelled(code, cards)
            self.close(session, window, process)

    def test_open_buttons_hand_the_code_to_the_default_handler(self):
        codes = {code.name: code for code in CODES}
        # The code, the button, and what the handler must get: a file with these lines, or this address.
        actions = (
            (codes["vcard"], "Open in Address Book", (".vcf", ("FN:Forrest Gump", "Bubba Gump Shrimp Co.",
                                                                "forrestgump@example.com", "555-1212"))),
            (codes["icalendar"], "Open in Calendar", (".ics", ("SUMMARY:Spring concert", "Europe/Berlin",
                                                               "20270312T190000"))),
            (codes["otpauth"], "Add to Authenticator", OTP),
            (codes["geo"], "Open Map", re.compile(r"geo:48\.2010?,16\.3695(,183)?(;u=25)?")),
            (codes["tel"], "Call ", TEL),
        )
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, actions[0][0])
            for index, (code, name, expected) in enumerate(actions):
                with self.subTest(code=code.name):
                    if index == 0:
                        cards = self.wait_for_code(session, process, code)
                    else:
                        cards = self.load(session, process, window, code)
                    card = cards.card(code.title)
                    # "Call " is followed by the number as the card writes it.
                    button = next((button for button in card["buttons"] if button["name"].startswith(name)), None)
                    self.assertIsNotNone(button, f"no button {name!r}:\n{cards}")
                    self.assertIn("enabled", button["states"], str(cards))
                    noted_before = self.notes_taken()
                    self.click(session, window, button)
                    noted = wait_for(lambda: self.notes_taken()[len(noted_before):],
                                     lambda: f"{name!r} to start the handler (it noted {self.notes_taken()})",
                                     timeout=TIMEOUT)
                    self.assertEqual(len(noted), 1, f"{name!r} started the handler more than once: {noted}")
                    if isinstance(expected, tuple):
                        suffix, lines = expected
                        self.assertTrue(noted[0].endswith(suffix), f"the handler got {noted[0]!r}")
                        with open(os.path.join(self.received, os.path.basename(noted[0])), encoding="utf-8") as got:
                            content = got.read()
                        for line in lines:
                            self.assertIn(line, content, f"the handler's file lacks {line!r}:\n{content}")
                    elif isinstance(expected, re.Pattern):
                        self.assertRegex(noted[0], expected)
                    else:
                        # KIO hands an address to a handler with its escapes decoded ("ACME Co", not "ACME%20Co").
                        self.assertEqual(urllib.parse.unquote(noted[0]), urllib.parse.unquote(expected))
            # KIO hands a temporary file to its handler through kioexec, which removes the file once the handler
            # has ended, and after a handler that ends at once waits minutes more, in case it passed the file on to
            # a running instance of itself. Brevlinder keeps the job that started kioexec until kioexec ends; the
            # test ends kioexec and its file itself, so that a program closed now leaves nothing behind either.
            end_kioexec(process.pid)
            wait_for(lambda: not children_of(process.pid),
                     lambda: f"the handlers to end: {[describe(child) for child in children_of(process.pid)]}", timeout=TIMEOUT)
            self.close(session, window, process)

    def test_a_broken_value_says_why_and_disables_its_action(self):
        with XSession(with_dbus=True) as session:
            process, window = self.start(session, BROKEN_CODES[0])
            for index, (code, (label, problem, action)) in enumerate(zip(BROKEN_CODES, BROKEN_VALUES)):
                with self.subTest(code=code.name):
                    if index == 0:
                        cards = self.wait_for_code(session, process, code)
                    else:
                        cards = self.load(session, process, window, code)
                    self.check_card(code, cards)
                    card = cards.card(code.title)
                    value = field_of(card, label)[0]
                    self.assertEqual(value["description"], problem, str(cards))
                    # The sentence itself shows right below the value, in the value's column.
                    shown = [field for field in card["problems"] if field["name"] == problem]
                    self.assertTrue(shown, f"the card does not say {problem!r}:\n{cards}")
                    x, y, width, height = value["place"]
                    below = shown[0]["place"]
                    self.assertTrue(y + height - 2 <= below[1] <= y + 3 * height and x - 4 <= below[0] < x + width,
                                    f"{problem!r} shows at {below}, not below {label!r} at {value['place']}")
                    button = button_of(card, action)
                    self.assertIsNotNone(button, f"no button {action!r}:\n{cards}")
                    self.assertNotIn("enabled", button["states"], f"{action!r} is enabled:\n{cards}")
                    self.assertIn(problem, button["description"], f"{action!r} does not say why:\n{cards}")
                    self.check_labelled(code, cards)
            self.close(session, window, process)


BROKEN_CODES = (
    Code("epc with a wrong iban", EPC_PAYMENT.replace("DE71", "DE72"), "Payment",
         (("IBAN", without_spaces("DE72110220330123456789")), ("Beneficiary", exactly("Franz Mustermänn"))),
         ("Copy IBAN",)),
    Code("wifi with a short password", "WIFI:T:WPA;S:Lobby;P:1234567;;", "Wi-Fi Network",
         (("Network name", exactly("Lobby")), ("Password", exactly("1234567"))), ("Connect to “Lobby”",)),
)
# Per broken code: the value's label, the sentence that says what is wrong with it, and the action it disables.
BROKEN_VALUES = (
    ("IBAN", "The IBAN's check digits are wrong.", "Copy IBAN"),
    ("Password", "A WPA password has 8 to 63 bytes, or 64 hexadecimal digits; this one has neither.",
     "Connect to “Lobby”"),
)


# The helper mode, run in the session's environment: pyatspi binds to the bus it finds there when imported.

def read_cards(pid):
    """Prints, as JSON, the decoded text and the showing cards of process pid (see Cards)."""
    import pyatspi
    from accessibletexts import application_of, place_of, text_of

    def states_of(node):
        state_set = node.getState()
        return [name for name, state in (("showing", pyatspi.STATE_SHOWING), ("enabled", pyatspi.STATE_ENABLED),
                                         ("focused", pyatspi.STATE_FOCUSED)) if state_set.contains(state)]

    def labels_of(node):
        """The names of the labels that label node (and not the group box that holds it)."""
        labels = []
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                targets = (relation.getTarget(index) for index in range(relation.getNTargets()))
                labels.extend(target.name or "" for target in targets if target.getRoleName() == "label")
        return labels

    application = application_of(pid)
    found = {"decoded": None, "cards": [], "names": []}

    def walk(node, card, depth=0):
        if node is None or depth > 40 or not node.getState().contains(pyatspi.STATE_SHOWING):
            return
        role = node.getRoleName()
        name = node.name or ""
        found["names"].append(name)
        if name == DECODED_TEXT:
            found["decoded"] = text_of(node).replace("\u2028", "\n")
        elif card is None and name in TITLES and role not in ("label", "push button", "text"):
            card = {"title": name, "role": role, "fields": [], "buttons": [], "texts": [], "problems": []}
            found["cards"].append(card)
        elif card is not None:
            entry = {"name": name, "description": node.description or "", "states": states_of(node),
                     "place": place_of(node)}
            if "button" in role:
                card["buttons"].append(entry)
            else:
                labels = labels_of(node)
                if labels:
                    card["fields"].extend(dict(entry, label=label.rstrip(":").strip(), text=text_of(node),
                                               found="relation") for label in labels)
                elif role == "label" and name:
                    card["texts"].append(name)
                    card["problems"].append(dict(entry, text=text_of(node)))
        for index in range(node.childCount):
            walk(node.getChildAtIndex(index), card, depth + 1)

    def by_rows(card):
        """The values of the form's rows whose label labels nothing: the first label to the right of the row's
        label, level with it. The relation is what a screen reader follows; this only finds the value to say
        which label lacks it."""
        labelled = {field["label"] for field in card["fields"]}
        labels = card["problems"]
        for row in labels:
            x, y, width, height = row["place"]
            if not row["name"].endswith(":") or row["name"].rstrip(":").strip() in labelled or width <= 0:
                continue
            level = [value for value in labels if value is not row and value["place"][0] >= x + width - 2
                     and abs(value["place"][1] - y) <= height // 2 + 2]
            if level:
                value = min(level, key=lambda value: value["place"][0])
                card["fields"].append(dict(value, label=row["name"].rstrip(":").strip(), found="row"))

    if application is not None:
        walk(application, None)
    for card in found["cards"]:
        by_rows(card)
    json.dump(found, sys.stdout)
    return 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--cards"]:
        sys.exit(read_cards(int(sys.argv[2])))
    PROGRAM, GS1_WRITER, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
