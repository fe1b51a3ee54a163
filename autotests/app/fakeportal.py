#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""A desktop screenshot portal for the tests, on the session bus of its environment.

    fakeportal.py URI CALLS-FILE       answers every Screenshot request with success and URI
    fakeportal.py --cancel CALLS-FILE  answers every Screenshot request as cancelled by the user

It owns org.freedesktop.portal.Desktop, answers org.freedesktop.portal.Screenshot.Screenshot with the path of a
Request object, and then emits that object's Response signal, as a real portal does once its dialog closes. Each
call's options are appended to CALLS-FILE as a JSON line. It prints "ready" once it owns its name.
"""

import json
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

INTERFACE = """
<node>
  <interface name="org.freedesktop.portal.Screenshot">
    <method name="Screenshot">
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""
SUCCESS, CANCELLED = 0, 1


def main(argv):
    answer, calls_file = argv[1], argv[2]
    loop = GLib.MainLoop()
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)

    def respond(connection, sender, path):
        results = {} if answer == "--cancel" else {"uri": GLib.Variant("s", answer)}
        connection.emit_signal(sender, path, "org.freedesktop.portal.Request", "Response",
                               GLib.Variant("(ua{sv})", (CANCELLED if answer == "--cancel" else SUCCESS, results)))
        return False

    def on_call(connection, sender, path, interface, method, parameters, invocation):
        _, options = parameters.unpack()
        with open(calls_file, "a") as calls:
            calls.write(json.dumps(options) + "\n")
        token = options.get("handle_token", "t")
        request = f"/org/freedesktop/portal/desktop/request/{sender[1:].replace('.', '_')}/{token}"
        invocation.return_value(GLib.Variant("(o)", (request,)))
        GLib.timeout_add(200, respond, connection, sender, request)

    def on_property(connection, sender, path, interface, name):
        return GLib.Variant("u", 1)

    def on_bus(connection, name):
        connection.register_object("/org/freedesktop/portal/desktop", node.interfaces[0], on_call, on_property, None)

    def on_name(connection, name):
        print("ready", flush=True)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                     on_bus, on_name, lambda *args: loop.quit())
    loop.run()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
