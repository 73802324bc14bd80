#!/usr/bin/env python3
"""An X desktop of our own: an X server on a display number it picks itself, and on it, where
asked, openbox as the window manager and weston as a Wayland compositor.

The X server is Xvfb, or Xorg on its dummy driver where the screen must change size later. It
tells its display number through -displayfd, so that runs side by side never collide, and each
part counts as up once it is seen to be: the server once it takes a connection, openbox once it
has claimed the screen, weston once its socket is there. close() ends everything started, in
the reverse order.

The end-to-end session (e2e_session.Session) starts its desktop with this. Run as a program it
starts one and runs a command on it, for the scripts and tests written in shell:

    x_desktop.py [--screen WIDTHxHEIGHT] [--window-manager] [--] COMMAND [ARGUMENT...]

The command runs with DISPLAY naming the desktop and TOLVAR_X_DESKTOP set to the same (so that a
script can tell it already runs on one). SIGTERM and SIGHUP are passed on to the command (Ctrl-C
reaches it from the terminal itself); the desktop ends after the command, whatever ended it, and
the exit code is the command's, 128 + the signal's number where a signal ended it.
"""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import x_display

# Where log() writes: the tests' own output, or standard error where a command's output is on
# standard output.
log_stream = sys.stdout
_started = time.monotonic()


def log(text):
    print("[%7.2f] %s" % (time.monotonic() - _started, text), file=log_stream, flush=True)


class E2EFailure(Exception):
    pass


def wait_for(predicate, timeout, what, interval=0.05):
    """Polls until predicate() gives a true value, which it returns; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise E2EFailure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


# The project's list of Debian packages, which names the programs the tests call from each.
PACKAGE_LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                            "scripts", "debian-packages.txt")


def package_of(program):
    """The Debian package the project's list gives for program, or None."""
    with open(PACKAGE_LIST) as listing:
        for line in listing:
            words = line.split("#", 1)[0].split()
            if len(words) > 2 and program in words[2:]:
                return words[1]
    return None


def require_programs(*programs):
    """Fails, naming the package to install, unless every program is on PATH."""
    for program in programs:
        if shutil.which(program) is None:
            raise E2EFailure("%s not found: it comes with the Debian package %s "
                             "(scripts/install-dependencies.sh play test)"
                             % (program, package_of(program) or "(none listed)"))


# How long the X server may take to tell its display number.
X_SERVER_TIMEOUT = 20


def exit_status(code):
    """A subprocess return code in words."""
    if code < 0:
        return "killed by signal %d" % -code
    return "exit status %d" % code


def last_words(path, lines=3):
    """The last lines a program wrote to its log file at path, as one line to add to a failure
    (empty where there are none); Xorg's bare "(EE)" markers left out."""
    try:
        with open(path, "rb") as log_file:
            log_file.seek(max(0, os.path.getsize(path) - 4096))
            text = log_file.read().decode(errors="replace")
    except OSError:
        return ""
    words = [line.strip() for line in text.splitlines() if line.strip() not in ("", "(EE)")]
    return ": " + " / ".join(words[-lines:]) if words else ""


# Xorg on its dummy driver: one output whose modes xrandr can switch between (Xvfb's one output
# cannot be made smaller). Room in its video memory for 4096x4096 at 32 bits.
XORG_DUMMY_CONFIG = """Section "Device"
    Identifier "tolvar-e2e-card"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Monitor"
    Identifier "tolvar-e2e-monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "tolvar-e2e-screen"
    Device "tolvar-e2e-card"
    Monitor "tolvar-e2e-monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes %s
    EndSubSection
EndSection
"""


class XDesktop:
    def __init__(self, folder, screen="1024x768", window_manager=False, compositor=False,
                 later_screens=()):
        """folder: where the desktop's configuration and logs go (the caller's, and removed by
        the caller); compositor: weston nested in the X server, for Wayland clients;
        later_screens: the sizes set_screen_size() may switch the screen to, which makes the X
        server Xorg on its dummy driver."""
        self.folder = folder
        self.screen = screen
        self.later_screens = tuple(later_screens)
        self.window_manager = window_manager
        self.compositor = compositor
        self.processes = []
        self.number = None
        self.env = None
        self.display = None
        # What a Wayland client needs besides env to reach weston; empty without a compositor.
        self.wayland_env = {}

    def programs(self):
        """The programs start() calls."""
        return (("Xorg", "xrandr") if self.later_screens else ("Xvfb",)) + \
            (("openbox", "xprop") if self.window_manager else ()) + \
            (("weston",) if self.compositor else ())

    def start(self):
        """Starts the X server and what runs on it; what started is ended again on a failure."""
        require_programs(*self.programs())
        try:
            self._start_x_server()
            if self.window_manager:
                self.start_window_manager()
            if self.compositor:
                self._start_compositor()
        except BaseException:
            self.close()
            raise

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes = []
        if self.display is not None:
            self.display.close()
            self.display = None

    def _start_x_server(self):
        server = self._xorg_arguments() if self.later_screens else \
            ["Xvfb", "-screen", "0", self.screen + "x24"]
        read_end, write_end = os.pipe()
        # The server's standard error, for the reason it gives when it ends at once.
        errors_path = os.path.join(self.folder, "x-server.stderr")
        with open(errors_path, "wb") as errors:
            x_server = subprocess.Popen(
                server + ["-displayfd", str(write_end), "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=errors)
        self.processes.append(x_server)
        os.close(write_end)
        try:
            self.number = self._read_display_number(x_server, server[0], read_end,
                                                   errors_path)
        finally:
            os.close(read_end)
        self.env = dict(os.environ)
        self.env["DISPLAY"] = ":%d" % self.number
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("XAUTHORITY", None)
        self.display = wait_for(self._connect, 20, "the X server to accept connections")
        log("%s on :%d, %dx%d" % (server[0], self.number, self.display.width,
                                  self.display.height))

    @staticmethod
    def _read_display_number(x_server, name, pipe, errors_path):
        """The display number the X server writes to its -displayfd pipe. Fails, saying what
        happened, when the server ends or closes the pipe first, or has not written it within
        X_SERVER_TIMEOUT seconds; the reads never block past that. errors_path: where the
        server's standard error goes."""
        number = b""
        deadline = time.monotonic() + X_SERVER_TIMEOUT
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise E2EFailure("%s hung: no display number within %.0f s"
                                 % (name, X_SERVER_TIMEOUT))
            # Short slices, so that a server which ends while a child of its still holds the
            # pipe open is seen to end too.
            if select.select([pipe], [], [], min(remaining, 0.05))[0]:
                chunk = os.read(pipe, 16)
                if not chunk:
                    break
                number += chunk
            elif x_server.poll() is not None:
                break
        if not number.endswith(b"\n"):
            try:
                status = x_server.wait(timeout=5)
            except subprocess.TimeoutExpired:
                raise E2EFailure("%s closed its display pipe without a display number"
                                 % name) from None
            raise E2EFailure("%s died at once (%s)%s" % (
                name, exit_status(status), last_words(errors_path)))
        if not number.strip().isdigit():
            raise E2EFailure("%s gave %r for its display number" % (name, number.decode(
                errors="replace")))
        return int(number)

    def _xorg_arguments(self):
        """Xorg on its dummy driver, starting at the screen's size with a mode for each later
        one, and with a configuration of its own only."""
        config = os.path.join(self.folder, "xorg.conf")
        with open(config, "w") as stream:
            stream.write(XORG_DUMMY_CONFIG % " ".join(
                '"%s"' % size for size in (self.screen,) + self.later_screens))
        empty = os.path.join(self.folder, "xorg.conf.d")
        os.makedirs(empty)
        return ["Xorg", "-config", config, "-configdir", empty, "+extension", "RANDR",
                "-logfile", os.path.join(self.folder, "xorg.log")]

    def set_screen_size(self, size):
        """Switches the screen to another of its sizes with xrandr, as a user or a new monitor
        does, and waits until the X server gives new clients that size."""
        subprocess.run(["xrandr", "-s", size], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)
        wanted = tuple(int(side) for side in size.split("x"))

        def resized():
            display = self._connect()
            if display is not None and (display.width, display.height) != wanted:
                display.close()
                display = None
            return display

        display = wait_for(resized, 20, "the screen to be %s" % size)
        self.display.close()
        self.display = display
        log("screen switched to %s" % size)

    def _connect(self):
        try:
            return x_display.XDisplay(self.number)
        except OSError:
            return None

    def start_window_manager(self):
        """Starts openbox and waits until it manages the screen; also again after it ended."""
        config = os.path.join(self.folder, "openbox-rc.xml")
        with open(config, "w") as rc:
            rc.write("<openbox_config xmlns=\"http://openbox.org/3.4/rc\"/>\n")
        self.processes.append(subprocess.Popen(
            ["openbox", "--sm-disable", "--config-file", config], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))

        def managed():
            result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                    capture_output=True, text=True)
            return "window id" in result.stdout

        wait_for(managed, 20, "openbox to manage the screen")
        log("openbox is up")

    def _start_compositor(self):
        """weston on the X server, one output as large as the screen; its X11 backend brings the
        X server's pointer and keyboard in as a seat (the headless backend has none)."""
        runtime = os.path.join(self.folder, "xdg-runtime")
        os.makedirs(runtime, mode=0o700)
        width, height = self.screen.split("x")
        self.processes.append(subprocess.Popen(
            ["weston", "--backend=x11-backend.so", "--use-pixman", "--width=" + width,
             "--height=" + height, "--socket=tolvar-e2e", "--idle-time=0",
             "--log=" + os.path.join(self.folder, "weston.log")],
            env=dict(self.env, XDG_RUNTIME_DIR=runtime),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for(lambda: os.path.exists(os.path.join(runtime, "tolvar-e2e")), 20,
                 "weston's Wayland socket")
        self.wayland_env = {"WAYLAND_DISPLAY": "tolvar-e2e", "XDG_RUNTIME_DIR": runtime}
        log("weston is up")


# -- run as a program: a command on a desktop of its own ---------------------------------------

# Signals that end the command, and so the desktop after it.
PASSED_ON = (signal.SIGTERM, signal.SIGHUP)
ENDING = PASSED_ON + (signal.SIGINT,)


def run_on_desktop(command, screen, window_manager):
    """Runs command on a desktop of its own and returns its exit code."""
    state = {"command": None}

    def on_signal(number, _frame):
        command_process = state["command"]
        if command_process is None:
            raise SystemExit(128 + number)  # still starting: the desktop ends on the way out
        if number in PASSED_ON and command_process.poll() is None:
            command_process.send_signal(number)

    for number in ENDING:
        signal.signal(number, on_signal)
    with tempfile.TemporaryDirectory(prefix="tolvar-x-desktop-") as folder:
        desktop = XDesktop(folder, screen=screen, window_manager=window_manager)
        desktop.start()
        try:
            env = dict(desktop.env, TOLVAR_X_DESKTOP=desktop.env["DISPLAY"])
            try:
                state["command"] = subprocess.Popen(command, env=env)
            except OSError as error:
                raise E2EFailure("cannot run %s: %s" % (command[0], error.strerror))
            code = state["command"].wait()
        finally:
            desktop.close()
    return 128 - code if code < 0 else code


def main():
    global log_stream
    log_stream = sys.stderr
    parser = argparse.ArgumentParser(
        description="Runs a command on an X desktop of its own and ends the desktop after it.")
    parser.add_argument("--screen", default="1024x768", help="the screen's size, WIDTHxHEIGHT")
    parser.add_argument("--window-manager", action="store_true", help="openbox on the screen")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="the command and its arguments")
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    if not command:
        parser.error("no command given")
    try:
        sys.exit(run_on_desktop(command, options.screen, options.window_manager))
    except E2EFailure as failure:
        log("x_desktop: %s" % failure)
        sys.exit(1)


if __name__ == "__main__":
    main()
