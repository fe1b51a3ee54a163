#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""A desktop portal for the tests, on the session bus of its environment.

    fakeportal.py ANSWER CALLS-FILE

ANSWER says how it answers org.freedesktop.portal.Screenshot.Screenshot:

    a URI                   with success and that URI, as when the user took a screenshot
    --cancel                as cancelled by the user (response 1)
    --fail                  with a failure (response 2), as a portal whose backend could not take one
    --refuse                with a D-Bus error instead of a request, as a portal that cannot even try
    --without-screenshot    not at all: the portal has no Screenshot interface, as one without a backend for it
                            (it offers the Settings interface instead, so that the object itself is there)

It owns org.freedesktop.portal.Desktop; a request is answered with the path of a Request object, on which it
then emits the Response signal, as a real portal does once its dialog closes. Each Screenshot call's options are
appended to CALLS-FILE as a JSON line, also those it refuses. It prints "ready" once it owns its name (when the
bus started it, to the bus's output). It ends when its bus does.
"""

import json
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

SCREENSHOT = """
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
SETTINGS = """
<node>
  <interface name="org.freedesktop.portal.Settings">
    <property name="version" type="u" access="read"/>
  </interface>
</node>
"""
SUCCESS, CANCELLED, FAILED = 0, 1, 2
OPTIONS = {"--cancel", "--fail", "--refuse", "--without-screenshot"}


def main(argv):
    answer, calls_file = argv[1], argv[2]
    if answer.startswith("--") and answer not in OPTIONS:
        print(__doc__, file=sys.stderr)
        return 2
    loop = GLib.MainLoop()
    node = Gio.DBusNodeInfo.new_for_xml(SETTINGS if answer == "--without-screenshot" else SCREENSHOT)

    def respond(connection, sender, path):
        if answer == "--cancel":
            response, results = CANCELLED, {}
        elif answer == "--fail":
            response, results = FAILED, {}
        else:
            response, results = SUCCESS, {"uri": GLib.Variant("s", answer)}
        connection.emit_signal(sender, path, "org.freedesktop.portal.Request", "Response",
                               GLib.Variant("(ua{sv})", (response, results)))
        return False

    def on_call(connection, sender, path, interface, method, parameters, invocation):
        _, options = parameters.unpack()
        with open(calls_file, "a") as calls:
            calls.write(json.dumps(options) + "\n")
        if answer == "--refuse":
            invocation.return_dbus_error("org.freedesktop.portal.Error.Failed", "No screenshot backend is running")
            return
        token = options.get("handle_token", "t")
        request = f"/org/freedesktop/portal/desktop/request/{sender[1:].replace('.', '_')}/{token}"
        invocation.return_value(GLib.Variant("(o)", (request,)))
        GLib.timeout_add(200, respond, connection, sender, request)

    def on_property(connection, sender, path, interface, name):
        return GLib.Variant("u", 2)

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
