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

import atexit
import os
import secrets
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Every process started in a session carries this variable, and so does everything those processes start in
# turn (KIO's workers, services the bus activates, the accessibility registry): the session finds them all
# when it ends, whatever path the test took.
SESSION_MARK = "BREVLINDER_XSESSION"
# Long enough for a sanitizer build on a busy two-core machine; reached only when something is wrong.
COMMAND_TIMEOUT = 120


class XSessionError(RuntimeError):
    pass


# Sessions entered and not yet left; a test that entered one by hand and then died is cleaned up on the way out.
_open_sessions = []


@atexit.register
def _end_open_sessions():
    for session in reversed(list(_open_sessions)):
        session.__exit__(None, None, None)


def read_line(stream, timeout):
    """The next line of a child's output, or "" when none comes within timeout seconds."""
    ready, _, _ = select.select([stream], [], [], timeout)
    return stream.readline() if ready else ""


class XSession:
    """A private Xvfb server with an optional D-Bus session bus. On leaving it ends every process started in it:
    the programs, the helpers, the bus and the server, also when the test failed half-way."""

    def __init__(self, width=1024, height=768, with_dbus=False):
        self.width = width
        self.height = height
        self.with_dbus = with_dbus
        self.server = None
        self.dbus = None
        self.atspi = None
        self.env = dict(os.environ)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env[SESSION_MARK] = f"{os.getpid()}-{secrets.token_hex(8)}"
        self._runtime_dir = None
        self._started = []

    def __enter__(self):
        _open_sessions.append(self)
        try:
            self._start_server()
            self._runtime_dir = tempfile.mkdtemp(prefix="brevlinder-xdg-")
            self.env["XDG_RUNTIME_DIR"] = self._runtime_dir
            if self.with_dbus:
                self._start_dbus()
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def _start_server(self):
        # -displayfd lets the server take the first free display number itself: sessions started side by side
        # by parallel tests never race for one.
        read_end, write_end = os.pipe()
        self.server = self.popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.width}x{self.height}x24",
             "-nolisten", "tcp", "-ac", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display_pipe:
            number = read_line(display_pipe, COMMAND_TIMEOUT).strip()
        if not number:
            raise XSessionError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"
        self.env.pop("XAUTHORITY", None)

    def _start_dbus(self):
        self.dbus = self.popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        address = read_line(self.dbus.stdout, COMMAND_TIMEOUT).strip()
        if not address:
            raise XSessionError("the D-Bus session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["NO_AT_BRIDGE"] = "0"
        # The accessibility bus has to be there before the program asks for it.
        launcher = "/usr/libexec/at-spi-bus-launcher"
        if os.path.exists(launcher):
            self.atspi = self.popen([launcher, "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self._wait_for_bus_name("org.a11y.Bus", self.atspi)

    def _wait_for_bus_name(self, name, owner, timeout=COMMAND_TIMEOUT):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if owner.poll() is not None:
                raise XSessionError(f"the owner of {name} ended with exit code {owner.returncode}")
            answer = self.run("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                              "org.freedesktop.DBus.NameHasOwner", f"string:{name}", check=False)
            if "boolean true" in answer.stdout:
                return
            time.sleep(0.05)
        raise XSessionError(f"nobody took the bus name {name} in time")

    def __exit__(self, *exc):
        if self in _open_sessions:
            _open_sessions.remove(self)
        # The programs and helpers first, politely, so that they do not see their display or bus vanish.
        for process in reversed(self._started):
            if process not in (self.server, self.dbus, self.atspi):
                stop(process)
        self._end_marked_processes()
        for process in (self.atspi, self.dbus, self.server):
            if process:
                stop(process)
        if self._runtime_dir:
            shutil.rmtree(self._runtime_dir, ignore_errors=True)
        return False

    def _marked_processes(self):
        mark = f"\0{SESSION_MARK}={self.env[SESSION_MARK]}\0".encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open(f"/proc/{entry}/environ", "rb") as environ:
                    if mark in b"\0" + environ.read() + b"\0":
                        found.append(int(entry))
            except OSError:
                pass  # gone meanwhile, or a zombie
        return found

    def _end_marked_processes(self, timeout=10):
        """Ends every process that carries the session's mark: what the programs left behind, and the session's
        own services. Whatever has not ended after timeout seconds is killed."""
        own = {process.pid: process for process in self._started}
        deadline = time.monotonic() + timeout
        signalled = set()
        while True:
            for process in own.values():
                process.poll()  # reaps the children that have ended
            remaining = self._marked_processes()
            if not remaining:
                return
            end = signal.SIGKILL if time.monotonic() > deadline else signal.SIGTERM
            for pid in remaining:
                if end == signal.SIGKILL or pid not in signalled:
                    try:
                        os.kill(pid, end)
                    except ProcessLookupError:
                        pass
                    signalled.add(pid)
            time.sleep(0.05)

    def popen(self, args, **kwargs):
        """Starts a helper process in the session's environment; it is ended with the session."""
        kwargs.setdefault("env", self.env)
        process = subprocess.Popen(list(args), **kwargs)
        return self.adopt(process)

    def adopt(self, process):
        """Ends process with the session, if it still runs then. Returns process."""
        self._started.append(process)
        return process

    def run(self, *args, **kwargs):
        kwargs.setdefault("timeout", COMMAND_TIMEOUT)
        return subprocess.run(list(args), env=self.env, check=kwargs.pop("check", True),
                              capture_output=True, text=True, **kwargs)

    def start(self, program, *args, stdin=subprocess.DEVNULL, env=None):
        environment = dict(self.env)
        environment.update(env or {})
        return self.popen([program, *args], env=environment, stdin=stdin,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def own_selection(self, data, target="UTF8_STRING", selection="clipboard"):
        """Makes xclip, as another program, own the X selection with data under target; it serves it until another
        owner takes the selection over or it is stopped. Returns the xclip process."""
        owner = self.popen(["xclip", "-selection", selection, "-t", target, "-i", "-quiet"],
                           stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        owner.stdin.write(data)
        owner.stdin.close()
        return owner

    def wait_for_window(self, process, timeout=60):
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
                              capture_output=True, timeout=COMMAND_TIMEOUT).stdout

    def settle(self, window, process=None, timeout=15, quiet_for=1.0):
        """Waits until the window's pixels have not changed for quiet_for seconds; returns whether they came to
        rest in time (a blinking text cursor never does)."""
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
                return True
            time.sleep(0.2)
        return False

    def screenshot(self, window, path):
        self.run("import", "-window", window, path)
        return path


def wait_for(condition, message, timeout=60):
    """Returns condition's first true value; fails after timeout seconds, saying what it waited for (message, or
    what it returns when it is callable). The deadline leaves room for a busy machine or a sanitizer build."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {message() if callable(message) else message}")


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


def errors_of(process, timeout=10):
    """Ends the program (if it still runs) and returns what it wrote to standard error, to show why a test failed.
    Gives up after timeout seconds: a process the program started may hold the stream open."""
    if process.poll() is None:
        process.terminate()
    try:
        return process.communicate(timeout=timeout)[1] or ""
    except subprocess.TimeoutExpired:
        process.kill()
        return "(standard error stayed open)"
    except ValueError:
        return "(standard error was already read)"


def take_screenshot(output, program_and_args):
    with XSession() as session:
        process = session.start(*program_and_args)
        try:
            window = session.wait_for_window(process)
            session.settle(window, process)
            session.screenshot(window, output)
        except XSessionError as error:
            sys.stderr.write(errors_of(process))
            print(f"brevlinder did not show its window: {error}", file=sys.stderr)
            return 1
        if process.poll() is not None:
            sys.stderr.write(errors_of(process))
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
