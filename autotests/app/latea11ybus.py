#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""Makes an accessibility bus known on a session bus only now: a screen reader that comes after the program.

    latea11ybus.py ADDRESS

Owns org.a11y.Bus on the session bus in DBUS_SESSION_BUS_ADDRESS and answers GetAddress with ADDRESS, an
accessibility bus that is already running elsewhere, with its registry and listeners; prints "ready" once the
name is owned and serves until it is terminated. A program on this session bus that watches for the name then
connects to that accessibility bus, as it would when a screen reader is started after it.
"""

import sys

from gi.repository import Gio, GLib

INTERFACES = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.a11y.Bus">
    <method name="GetAddress"><arg type="s" direction="out"/></method>
  </interface>
  <interface name="org.a11y.Status">
    <property name="IsEnabled" type="b" access="readwrite"/>
    <property name="ScreenReaderEnabled" type="b" access="readwrite"/>
  </interface>
</node>
""")


def main():
    address = sys.argv[1]
    loop = GLib.MainLoop()

    def call(connection, sender, path, interface, method, parameters, invocation):
        invocation.return_value(GLib.Variant("(s)", (address,)))

    def get_property(connection, sender, path, interface, name):
        return GLib.Variant("b", True)

    def acquired(connection, name):
        print("ready", flush=True)

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    for interface in INTERFACES.interfaces:
        bus.register_object("/org/a11y/bus", interface, call, get_property, None)
    Gio.bus_own_name_on_connection(bus, "org.a11y.Bus", Gio.BusNameOwnerFlags.NONE, acquired, None)
    loop.run()


if __name__ == "__main__":
    main()
