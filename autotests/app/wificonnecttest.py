#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""Joining the Wi-Fi network of a code with the built program under Xvfb: a WIFI: QR code made by qrencode is
scanned, the card's "Connect to" button is clicked with the mouse, and the connection that NetworkManager (python3-
dbusmock's, on a private bus that the program takes for its system bus) then holds has the code's settings; a code
of the same network with a new password updates that connection instead of adding another. Without NetworkManager
the button is disabled and says why.

Usage: wificonnecttest.py PATH-TO-BREVLINDER SCREENSHOT-DIRECTORY
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
from networkmanagermock import NetworkManagerMock, PrivateBus  # noqa: E402

PROGRAM = SCREENSHOTS = None
NETWORK = "Brevlinder Café"
CONNECT = f"Connect to “{NETWORK}”"
JOINED = f"“{NETWORK}” is saved, and NetworkManager is joining it."


def code_of(password, hidden=False):
    return f"WIFI:T:WPA;S:{NETWORK};P:{password};{'H:true;' if hidden else ''};"


class WifiConnectTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.directory = tempfile.mkdtemp(prefix="brevlinder-wifi-")
        cls.first = os.path.join(cls.directory, "first.png")
        cls.second = os.path.join(cls.directory, "second.png")
        subprocess.run(["qrencode", "-s", "6", "-o", cls.first, code_of("first password")], check=True)
        subprocess.run(["qrencode", "-s", "6", "-o", cls.second, code_of("second password", hidden=True)], check=True)
        os.makedirs(SCREENSHOTS, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.directory, ignore_errors=True)

    def start(self, session, system_bus, image):
        process = session.start(PROGRAM, image, env={"DBUS_SYSTEM_BUS_ADDRESS": system_bus.address})
        self.addCleanup(process.stderr.close)
        self.addCleanup(process.stdout.close)
        self.addCleanup(stop, process)
        window = session.wait_for_window(process)
        shown = wait_until(session, process, lambda shown: shown.place("button", CONNECT), f"the button '{CONNECT}'")
        return process, window, shown.place("button", CONNECT)

    def connect_with_the_mouse(self, session, process, window, place, screenshot):
        """Clicks the Connect button at place, waits for the window to say it joined, ends the program."""
        x, y, width, height, enabled = place
        self.assertTrue(enabled, f"{CONNECT} is disabled")
        session.focus(window)
        session.run("xdotool", "mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")
        wait_until(session, process, lambda shown: JOINED in shown.names() + shown.texts(), f"'{JOINED}'")
        session.screenshot(window, os.path.join(SCREENSHOTS, screenshot))
        session.key(window, "Escape")
        self.assertEqual(process.wait(60), 0)

    def run_program(self, session, network_manager, image, screenshot):
        process, window, place = self.start(session, network_manager, image)
        self.connect_with_the_mouse(session, process, window, place, screenshot)

    def test_connect_saves_the_network_and_a_new_password_updates_it(self):
        with NetworkManagerMock() as network_manager, XSession(with_dbus=True) as session:
            self.run_program(session, network_manager, self.first, "wifi-connect-joined.png")
            connections = wait_for(network_manager.connections, "the saved connection")
            self.assertEqual(len(connections), 1, connections)
            settings = connections[0]
            self.assertEqual(settings["connection"]["type"], "802-11-wireless")
            self.assertEqual(settings["connection"]["id"], NETWORK)
            self.assertEqual(settings["802-11-wireless"]["ssid"], NETWORK.encode())
            self.assertEqual(settings["802-11-wireless"]["mode"], "infrastructure")
            self.assertFalse(settings["802-11-wireless"]["hidden"])
            self.assertEqual(settings["802-11-wireless-security"]["key-mgmt"], "wpa-psk")
            self.assertEqual(settings["802-11-wireless-security"]["psk"], "first password")
            self.assertEqual(network_manager.active_connections(), network_manager.connection_paths())
            uuid = settings["connection"]["uuid"]

            self.run_program(session, network_manager, self.second, "wifi-connect-updated.png")
            connections = network_manager.connections()
            self.assertEqual(len(connections), 1, connections)
            settings = connections[0]
            self.assertEqual(settings["connection"]["uuid"], uuid)
            self.assertEqual(settings["802-11-wireless-security"]["psk"], "second password")
            self.assertTrue(settings["802-11-wireless"]["hidden"])

    def test_without_network_manager_the_button_is_disabled(self):
        with PrivateBus() as bus, XSession(with_dbus=True) as session:
            process, window, place = self.start(session, bus, self.first)
            session.screenshot(window, os.path.join(SCREENSHOTS, "wifi-connect-unavailable.png"))
            self.assertFalse(place[4], f"{CONNECT} is enabled on a system bus without NetworkManager")

if __name__ == "__main__":
    PROGRAM, SCREENSHOTS = (os.path.abspath(argument) for argument in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
