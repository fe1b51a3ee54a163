#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Brevlinder developers
# SPDX-License-Identifier: GPL-2.0-or-later
"""Runs Brevlinder in a private X server (Xvfb) and looks at its window.

Used as a module by the end-to-end tests, and as a command by scripts/run when there is no display:

    xsession.py screenshot OUTPUT.png -- PROGRAM [ARGUMENT...]

starts PROGRAM under Xvfb, waits until its window has appeared and settled, writes a screenshot of the
window to OUTPUT.png, prints that path and ends the program. It exits 0 on success, and non-zero when the
program crashed or never showed a window.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


class XSessionError(RuntimeError):
    pass


class XSession:
    """A private Xvfb server with an optional D-Bus session bus, ended on exit."""

    def __init__(self, width=1024, height=768, with_dbus=False):
        self.width = width
        self.height = height
        self.with_dbus = with_dbus
        self.server = None
        self.dbus = None
        self.env = dict(os.environ)
        self.env.pop("QT_QPA_PLATFORM", None)
        self._runtime_dir = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.width}x{self.height}x24",
             "-nolisten", "tcp", "-ac", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display_pipe:
            number = display_pipe.readline().strip()
        if not number:
            self.__exit__(None, None, None)
            raise XSessionError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"
        self.env.pop("XAUTHORITY", None)
        self._runtime_dir = tempfile.mkdtemp(prefix="brevlinder-xdg-")
        self.env["XDG_RUNTIME_DIR"] = self._runtime_dir
        if self.with_dbus:
            self._start_dbus()
        return self

    def _start_dbus(self):
        self.dbus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=self.env, text=True)
        address = self.dbus.stdout.readline().strip()
        if not address:
            raise XSessionError("the D-Bus session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["NO_AT_BRIDGE"] = "0"
        # The accessibility bus has to be there before the program asks for it.
        launcher = "/usr/libexec/at-spi-bus-launcher"
        if os.path.exists(launcher):
            self.atspi = subprocess.Popen([launcher, "--launch-immediately"], env=self.env,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)

    def __exit__(self, *exc):
        for process in (getattr(self, "atspi", None), self.dbus, self.server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self._runtime_dir:
            shutil.rmtree(self._runtime_dir, ignore_errors=True)
        return False

    def run(self, *args, **kwargs):
        return subprocess.run(list(args), env=self.env, check=kwargs.pop("check", True),
                              capture_output=True, text=True, **kwargs)

    def start(self, program, *args, stdin=subprocess.DEVNULL, env=None):
        environment = dict(self.env)
        environment.update(env or {})
        return subprocess.Popen([program, *args], env=environment, stdin=stdin,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def own_selection(self, data, target="UTF8_STRING", selection="clipboard"):
        """Makes xclip, as another program, own the X selection with data under target; it serves it until another
        owner takes the selection over or it is stopped. Returns the xclip process."""
        owner = subprocess.Popen(["xclip", "-selection", selection, "-t", target, "-i", "-quiet"], env=self.env,
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        owner.stdin.write(data)
        owner.stdin.close()
        return owner

    def wait_for_window(self, process, timeout=20):
        """Returns the id of the process's first visible window, or raises when there is none in time."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if process.poll() is not None:
                raise XSessionError(f"the program ended with exit code {process.returncode} before showing a window")
            found = self.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid), check=False)
            windows = found.stdout.split()
            if windows:
                return windows[0]
            time.sleep(0.1)
        raise XSessionError("the program showed no window in time")

    def focus(self, window):
        # Without a window manager nothing gives a window the keyboard focus but this.
        self.run("xdotool", "windowfocus", "--sync", window)

    def key(self, window, *keys):
        self.focus(window)
        self.run("xdotool", "key", "--clearmodifiers", *keys)

    def window_pixels(self, window):
        return subprocess.run(["import", "-window", window, "-depth", "8", "rgb:-"], env=self.env,
                              capture_output=True).stdout

    def settle(self, window, process=None, timeout=15, quiet_for=1.0):
        """Waits until the window's pixels have not changed for quiet_for seconds."""
        deadline = time.monotonic() + timeout
        last = None
        quiet_since = time.monotonic()
        while time.monotonic() < deadline:
            if process is not None and process.poll() is not None:
                raise XSessionError(f"the program ended with exit code {process.returncode}")
            pixels = self.window_pixels(window)
            now = time.monotonic()
            if pixels != last:
                last, quiet_since = pixels, now
            elif now - quiet_since >= quiet_for:
                return
            time.sleep(0.2)

    def screenshot(self, window, path):
        self.run("import", "-window", window, path)
        return path


def stop(process, timeout=10):
    """Ends the program politely, then firmly; returns its exit code."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    for stream in (process.stdin, process.stdout, process.stderr):
        if stream:
            stream.close()
    return process.returncode


def take_screenshot(output, program_and_args):
    with XSession() as session:
        process = session.start(*program_and_args)
        try:
            window = session.wait_for_window(process)
            session.settle(window, process)
            session.screenshot(window, output)
        except XSessionError as error:
            stop(process)
            sys.stderr.write(process.stderr.read())
            print(f"brevlinder did not show its window: {error}", file=sys.stderr)
            return 1
        crashed = process.poll() is not None
        stop(process)
        if crashed:
            sys.stderr.write(process.stderr.read())
            print(f"brevlinder ended with exit code {process.returncode} while it was being looked at", file=sys.stderr)
            return 1
    print(output)
    return 0


def main(argv):
    if len(argv) < 4 or argv[0] != "screenshot" or argv[2] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    return take_screenshot(os.path.abspath(argv[1]), argv[3:])


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
