#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""NetworkManager for the tests: python3-dbusmock's networkmanager template on a private bus that stands in for
the system bus.

    with NetworkManagerMock() as network_manager:
        env["DBUS_SYSTEM_BUS_ADDRESS"] = network_manager.address
        ...                                   # run the program with env
        network_manager.connections()         # the saved connections' settings, as Python dicts

PrivateBus alone gives the bus without NetworkManager on it, for a test that starts and ends the mock itself.
Everything started here ends when the block is left, also when the test failed half-way.

As a command, it runs a program with a private bus as its system bus and ends the bus afterwards:

    networkmanagermock.py --private-bus PROGRAM [ARGUMENT...]
"""

import os
import select
import subprocess
import sys
import tempfile
import time

import dbus

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from xsession import stop  # noqa: E402

NETWORK_MANAGER = "org.freedesktop.NetworkManager"
MOCK_OBJECT = "/org/freedesktop"
MOCK_INTERFACE = "org.freedesktop.DBus.Mock"
SETTINGS_OBJECT = "/org/freedesktop/NetworkManager/Settings"
SETTINGS_INTERFACE = "org.freedesktop.NetworkManager.Settings"
CONNECTION_INTERFACE = "org.freedesktop.NetworkManager.Settings.Connection"
# A device state that NetworkManager's clients take as a Wi-Fi adapter ready to join a network.
DEVICE_DISCONNECTED = 30
# Room for a busy two-core machine; reached only when something is wrong.
TIMEOUT = 60


def plain(value):
    """A D-Bus value as plain Python: byte arrays as bytes, the rest as str, int, bool, list and dict."""
    if isinstance(value, dbus.Array) and value.signature == "y":
        return bytes(value)
    if isinstance(value, (dbus.ByteArray, bytes)):
        return bytes(value)
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.String, dbus.ObjectPath)):
        return str(value)
    if isinstance(value, (dbus.Byte, dbus.Int16, dbus.Int32, dbus.Int64, dbus.UInt16, dbus.UInt32, dbus.UInt64)):
        return int(value)
    if isinstance(value, dbus.Double):
        return float(value)
    if isinstance(value, (dict, dbus.Dictionary)):
        return {plain(key): plain(item) for key, item in value.items()}
    if isinstance(value, (list, tuple, dbus.Array, dbus.Struct)):
        return [plain(item) for item in value]
    return value


class PrivateBus:
    """A D-Bus daemon of the test's own. It is a session bus by configuration, which lets anyone own any name,
    as the mock must to pose as NetworkManager on what the program takes for its system bus."""

    def __init__(self):
        self.process = None
        self.address = None
        self._connection = None

    def __enter__(self):
        try:
            self.process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            ready, _, _ = select.select([self.process.stdout], [], [], TIMEOUT)
            self.address = self.process.stdout.readline().strip() if ready else ""
            if not self.address:
                raise RuntimeError("the private D-Bus daemon did not start")
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def __exit__(self, *exc):
        if self._connection is not None:
            self._connection.close()
            self._connection = None
        if self.process is not None:
            stop(self.process)
        return False

    @property
    def connection(self):
        if self._connection is None:
            self._connection = dbus.bus.BusConnection(self.address)
        return self._connection

    def has_owner(self, name):
        return bool(self.connection.name_has_owner(name))


class NetworkManagerMock:
    """The networkmanager template of python3-dbusmock with one Wi-Fi device (or none), on a private bus."""

    def __init__(self, wifi_device=True, bus=None):
        self.wifi_device = wifi_device
        self._own_bus = bus is None
        self.bus = bus
        self.process = None
        self._errors = None

    @property
    def address(self):
        return self.bus.address

    def __enter__(self):
        try:
            if self._own_bus:
                self.bus = PrivateBus().__enter__()
            env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=self.bus.address)
            # A file rather than a pipe: nobody reads the mock's complaints until it has ended.
            self._errors = tempfile.TemporaryFile(mode="w+")
            self.process = subprocess.Popen([sys.executable, "-m", "dbusmock", "--template", "networkmanager"],
                                            env=env, stdout=subprocess.DEVNULL, stderr=self._errors)
            deadline = time.monotonic() + TIMEOUT
            while not self.bus.has_owner(NETWORK_MANAGER):
                if self.process.poll() is not None:
                    self._errors.seek(0)
                    raise RuntimeError(f"dbusmock ended with exit code {self.process.returncode}: {self._errors.read()}")
                if time.monotonic() > deadline:
                    raise RuntimeError("dbusmock did not take NetworkManager's name in time")
                time.sleep(0.05)
            if self.wifi_device:
                self._mock().AddWiFiDevice("wlan0", "wlan0", DEVICE_DISCONNECTED)
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def __exit__(self, *exc):
        if self.process is not None:
            stop(self.process)
        if self._errors is not None:
            self._errors.close()
        if self._own_bus and self.bus is not None:
            self.bus.__exit__(*exc)
        return False

    def _object(self, path, interface):
        return dbus.Interface(self.bus.connection.get_object(NETWORK_MANAGER, path), interface)

    def _mock(self):
        return self._object(MOCK_OBJECT, MOCK_INTERFACE)

    def connection_paths(self):
        return [str(path) for path in self._object(SETTINGS_OBJECT, SETTINGS_INTERFACE).ListConnections()]

    def connections(self):
        """The settings of every connection NetworkManager holds, passwords included, in the order it lists them."""
        return [plain(self._object(path, CONNECTION_INTERFACE).GetSettings()) for path in self.connection_paths()]

    def active_connections(self):
        """The paths of the saved connections that NetworkManager has been asked to activate."""
        manager = dbus.Interface(self.bus.connection.get_object(NETWORK_MANAGER, "/org/freedesktop/NetworkManager"),
                                 dbus.PROPERTIES_IFACE)
        found = []
        for active in manager.Get(NETWORK_MANAGER, "ActiveConnections"):
            properties = dbus.Interface(self.bus.connection.get_object(NETWORK_MANAGER, active), dbus.PROPERTIES_IFACE)
            found.append(str(properties.Get(NETWORK_MANAGER + ".Connection.Active", "Connection")))
        return found


def run_on_private_bus(argv):
    with PrivateBus() as bus:
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=bus.address)
        program = subprocess.Popen(argv, env=env)
        try:
            return program.wait()
        finally:
            stop(program)


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] != "--private-bus":
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(run_on_private_bus(sys.argv[2:]))
