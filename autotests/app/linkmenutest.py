#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""A link's context menu in the built program under Xvfb, used as a user uses it: with the mouse (a right-click on
the link, then a click on the entry), and with the keyboard (Tab to the link, the Menu key, the arrow keys down to
the entry, Return). The open entry must start the desktop's handler for the link's scheme, here a script of the
test's own in XDG folders of its own, with the address; "Copy Link Address" must put the address on the X
clipboard, read back by xclip as another program. A screenshot of the open menu goes to SCREENSHOT-DIRECTORY.

Usage: linkmenutest.py PATH-TO-BREVLINDER SAMPLE-IMAGE SCREENSHOT-DIRECTORY

The test runs itself, in the X and D-Bus session, as a small screen reader (see the helper modes at the end):
where a link is drawn and what is selected come from the text's accessible interface, and which menu entry is
under the pointer or the keyboard from the focus events that the menu sends.
"""

import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from xsession import XSession, stop, wait_for  # noqa: E402
from accessibility import wait_until  # noqa: E402

PROGRAM = SAMPLE = SCREENSHOTS = None
SUCCESS = "Code in the image successfully scanned."
DECODED_TEXT = "Decoded text"
COPY_ENTRY = "Copy Link Address"
# The links of the sample: the text that shows each, the address it leads to, and its open entry.
LINKS = (
    ("https://kde.org/", "https://kde.org/", "Open Link https://kde.org/"),
    ("hello@example.org", "mailto:hello@example.org", "Send E-mail to hello@example.org"),
    ("+49 30 1234567", "tel:+49301234567", "Call +49301234567"),
)
SCHEMES = ("x-scheme-handler/http", "x-scheme-handler/https", "x-scheme-handler/mailto", "x-scheme-handler/tel")
# Generous, for a busy machine or a sanitizer build; every wait ends as soon as what it waits for is there.
TIMEOUT = 60


def install_link_handler(root):
    """Makes a script that notes each address it is given the desktop's only handler for web, e-mail and phone
    links, in XDG folders under root; returns the environment that points there and the file of notes."""
    for folder in ("data/applications", "config/menus", "cache"):
        os.makedirs(os.path.join(root, folder))
    notes = os.path.join(root, "opened-links")
    script = os.path.join(root, "note-link.sh")
    with open(script, "w") as file:
        file.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{notes}'\n")
    os.chmod(script, 0o755)
    with open(os.path.join(root, "data/applications/brevlinder-test-link-handler.desktop"), "w") as file:
        file.write("[Desktop Entry]\nType=Application\nName=Link notes\nNoDisplay=true\n"
                   f"Exec={script} %u\nMimeType={';'.join(SCHEMES)};\n")
    # The desktop finds its programs through the applications menu; a bare system has none.
    with open(os.path.join(root, "config/menus/applications.menu"), "w") as file:
        file.write('<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN" '
                   '"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd">\n'
                   "<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n")
    with open(os.path.join(root, "config/mimeapps.list"), "w") as file:
        file.write("[Default Applications]\n")
        file.writelines(f"{scheme}=brevlinder-test-link-handler.desktop\n" for scheme in SCHEMES)
    environment = {"XDG_DATA_HOME": os.path.join(root, "data"), "XDG_CONFIG_HOME": os.path.join(root, "config"),
                   "XDG_CACHE_HOME": os.path.join(root, "cache")}
    return environment, notes


class MenuFocus:
    """Hears, as a screen reader does, which menu entry the pointer or the keyboard is on."""

    def __init__(self, session):
        self.listener = subprocess.Popen([sys.executable, __file__, "--menu-focus"], env=session.env,
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.events = queue.Queue()
        if self.listener.stdout.readline().strip() != "listening":
            self.close()
            raise AssertionError("the menu focus listener did not start")
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.listener.stdout:
            self.events.put(json.loads(line))

    def close(self):
        if self.listener.poll() is None:
            self.listener.terminate()
            try:
                self.listener.wait(10)
            except subprocess.TimeoutExpired:
                self.listener.kill()
                self.listener.wait()
        # The reader ends at the end of the output, before the pipe is closed under it.
        if hasattr(self, "reader"):
            self.reader.join(10)
        self.listener.stdout.close()

    def drain(self):
        while not self.events.empty():
            self.events.get_nowait()

    def next(self, process, timeout):
        """The next entry of process's menus that gets the focus, as (name, place, the menu's entries as
        {name: place}); None when none does in time."""
        deadline = time.monotonic() + timeout
        while (left := deadline - time.monotonic()) > 0:
            try:
                pid, name, place, entries = self.events.get(timeout=left)
            except queue.Empty:
                return None
            if pid == process.pid:
                return name, place, {entry: entry_place for entry, entry_place in entries}
        return None


def centre(place):
    x, y, width, height = place
    return x + width // 2, y + height // 2


def contains(place, point):
    x, y, width, height = place
    return x <= point[0] < x + width and y <= point[1] < y + height


class LinkMenuTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="brevlinder-links-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.environment, self.notes = install_link_handler(self.root)
        os.makedirs(SCREENSHOTS, exist_ok=True)

    def start(self, session):
        process = session.start(PROGRAM, SAMPLE, env=self.environment)
        self.addCleanup(process.stderr.close)
        self.addCleanup(process.stdout.close)
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        wait_until(session, process, lambda shown: SUCCESS in shown.names(), "the scan's success")
        focus = MenuFocus(session)
        self.addCleanup(focus.close)
        # Whatever another program put on the clipboard before.
        self.addCleanup(stop, session.own_selection(b"copied before"))
        wait_for(lambda: self.clipboard(session) == b"copied before", "the clipboard of another program")
        return process, window, focus

    def ask(self, session, process, *request):
        """Asks the test's own screen reader about the decoded text of process."""
        answer = session.run(sys.executable, __file__, "--text", str(process.pid), *request, check=False,
                             timeout=TIMEOUT)
        return json.loads(answer.stdout) if answer.returncode == 0 else None

    def clipboard(self, session):
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=session.env, capture_output=True,
                                timeout=10)
        return result.stdout if result.returncode == 0 else None

    def opened_links(self):
        if not os.path.exists(self.notes):
            return []
        with open(self.notes) as notes:
            return notes.read().splitlines()

    def shown_menus(self, session, process):
        """process's windows that show a menu (and not, say, a tool tip)."""
        found = session.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid), check=False)
        return [shown for shown in found.stdout.split()
                if "_NET_WM_WINDOW_TYPE_POPUP_MENU" in session.run("xprop", "-id", shown, "_NET_WM_WINDOW_TYPE",
                                                                   check=False).stdout]

    def popup(self, session, process):
        """The menu that process shows."""
        return wait_for(lambda: (self.shown_menus(session, process) or [None])[-1], "the link's menu")

    def geometry(self, session, shown):
        values = dict(line.split("=", 1) for line in
                      session.run("xdotool", "getwindowgeometry", "--shell", shown).stdout.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def move(self, session, x, y):
        session.run("xdotool", "mousemove", "--sync", str(x), str(y))

    def choose_with_mouse(self, session, process, focus, entry, screenshot=None):
        """Moves the pointer down into the menu that a right-click opened until it is on an entry, then onto
        entry, and clicks it."""
        menu = self.popup(session, process)
        if screenshot:
            session.screenshot(menu, os.path.join(SCREENSHOTS, screenshot))
        x, y, width, height = self.geometry(session, menu)
        focus.drain()
        heard = None
        # Down the middle of the menu, as a hand moves, until the pointer is on an entry: one that the menu says
        # is under the pointer, not one that a menu before it spoke of late.
        for offset in range(2, height, 3):
            pointer = (x + width // 2, y + offset)
            self.move(session, *pointer)
            heard = focus.next(process, timeout=0.3)
            if heard and contains(heard[1], pointer):
                break
            heard = None
        self.assertIsNotNone(heard, "no menu entry took the pointer")
        name, _, entries = heard
        self.assertIn(entry, entries, f"the menu offers {list(entries)}")
        if name != entry:
            self.move(session, *centre(entries[entry]))
            while heard and heard[0] != entry:
                heard = focus.next(process, timeout=TIMEOUT)
            self.assertIsNotNone(heard, f"the pointer never got onto {entry!r}")
        session.run("xdotool", "click", "1")
        wait_for(lambda: not self.shown_menus(session, process), "the menu to close")

    def choose_with_keyboard(self, session, process, focus, entry):
        """Walks down the shown menu with the arrow key, as a screen reader user hears each entry, and presses
        Return on entry."""
        self.popup(session, process)
        focus.drain()
        heard = []
        while not heard or heard[-1] != entry:
            self.assertLess(len(heard), 10, f"the arrow key never reached {entry!r}; it went through {heard}")
            session.run("xdotool", "key", "Down")
            entered = focus.next(process, timeout=TIMEOUT)
            self.assertIsNotNone(entered, "the arrow key moved to no entry")
            heard.append(entered[0])
        session.run("xdotool", "key", "Return")
        wait_for(lambda: not self.shown_menus(session, process), "the menu to close")

    def tab_to(self, session, process, window, link_text):
        """Presses Tab until the link showing link_text has the keyboard focus (and so is selected). Should a
        slow program take a Tab too late, the next one passes the link: going once more round the window's Tab
        chain, which is shorter than the presses allowed, comes back to it."""
        for _ in range(30):
            session.key(window, "Tab")
            try:
                wait_for(lambda: self.ask(session, process, "--selection") == link_text, "", timeout=3)
                return
            except AssertionError:
                continue
        self.fail(f"Tab never reached the link {link_text!r}")

    def check_entries(self, session, process, choose):
        """Opens every link's menu through choose(link_text, entry) and checks what each entry does."""
        for link_text, address, open_entry in LINKS:
            opened_before = self.opened_links()
            choose(link_text, open_entry)
            wait_for(lambda: self.opened_links() == opened_before + [address],
                     lambda: f"{open_entry!r} to start the handler with {address} (it noted {self.opened_links()})")
            choose(link_text, COPY_ENTRY)
            wait_for(lambda: self.clipboard(session) == address.encode(),
                     lambda: f"{COPY_ENTRY!r} to put {address} on the clipboard (it holds {self.clipboard(session)!r})")
        self.assertEqual(self.opened_links(), [address for _, address, _ in LINKS], "copying opened a link")

    def close(self, session, process, window):
        session.key(window, "Escape")
        self.assertEqual(process.wait(TIMEOUT), 0)

    def test_entries_chosen_with_the_mouse(self):
        with XSession(with_dbus=True) as session:
            process, window, focus = self.start(session)
            session.focus(window)

            def choose(link_text, entry):
                place = self.ask(session, process, "--place", link_text)
                self.assertIsNotNone(place, f"the link {link_text!r} is not shown")
                self.move(session, *centre(place))
                session.run("xdotool", "click", "3")
                screenshot = "link-menu.png" if link_text == LINKS[0][0] and entry == COPY_ENTRY else None
                self.choose_with_mouse(session, process, focus, entry, screenshot)

            self.check_entries(session, process, choose)
            self.close(session, process, window)

    def test_entries_chosen_with_the_keyboard(self):
        with XSession(with_dbus=True) as session:
            process, window, focus = self.start(session)
            # Out of the way of the menus, which would otherwise take the entry under the pointer as chosen.
            self.move(session, 0, 0)

            def choose(link_text, entry):
                # The link keeps the focus after its menu has closed.
                if self.ask(session, process, "--selection") != link_text:
                    self.tab_to(session, process, window, link_text)
                session.run("xdotool", "key", "Menu")
                self.choose_with_keyboard(session, process, focus, entry)

            self.check_entries(session, process, choose)
            self.close(session, process, window)


# Helper modes, run in the session's environment: pyatspi binds to the bus it finds there when imported.

def decoded_text_of(pid):
    import pyatspi

    def find(node, depth=0):
        if node is None or depth > 40:
            return None
        if node.name == DECODED_TEXT:
            return node
        for index in range(node.childCount):
            found = find(node.getChildAtIndex(index), depth + 1)
            if found:
                return found
        return None

    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            node = find(application)
            return node.queryText() if node else None
    return None


def answer_about_text(pid, request):
    """--selection: the selected text; --place TEXT: where the middle of TEXT's second character is drawn."""
    import pyatspi

    text = decoded_text_of(pid)
    if text is None:
        return 1
    content = text.getText(0, -1)
    if request[0] == "--selection":
        start, end = text.getSelection(0) if text.getNSelections() > 0 else (0, 0)
        json.dump(content[start:end], sys.stdout)
        return 0
    offset = content.find(request[1])
    if offset < 0:
        return 1
    x, y, width, height = text.getCharacterExtents(offset + 1, pyatspi.DESKTOP_COORDS)
    json.dump([x, y, width, height], sys.stdout)
    return 0


def listen_to_menu_focus():
    """Prints "listening", then one JSON line [process id, entry, place, [[entry, place], ...]] each time an entry
    of a menu gets the focus."""
    import pyatspi

    def place_of(node):
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [extents.x, extents.y, extents.width, extents.height]

    def focused(event):
        if not event.detail1 or event.source.getRole() != pyatspi.ROLE_MENU_ITEM:
            return
        entry = event.source
        menu = entry.parent
        entries = [[sibling.name, place_of(sibling)] for sibling in menu] if menu else []
        print(json.dumps([event.host_application.get_process_id(), entry.name, place_of(entry), entries]), flush=True)

    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--menu-focus"]:
        sys.exit(listen_to_menu_focus())
    if sys.argv[1:2] == ["--text"]:
        sys.exit(answer_about_text(int(sys.argv[2]), sys.argv[3:]))
    PROGRAM, SAMPLE, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
