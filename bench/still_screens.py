#!/usr/bin/env python3
"""What a still screen costs and how soon a press shows on it: the real program on Xvfb with
openbox and Mesa's software renderer, beside a bare window drawing one picture at the display's
rate on the same desktop.

    bench/still_screens.py GAME-BINARY SWAP-COUNTER-PRELOAD VIRTUAL-PAD-PRELOAD BARE-WINDOW

Prints one "name value" line a figure, for bench/run_benchmarks.sh:

  floor_hz, floor_cpu            the bare window's rate and CPU (% of a core) drawing at it
  menu_cpu, menu_fps             the still main menu, a fresh one with nothing focused
  menu_vmhwm_kb                  the game's peak resident memory there
  paused_cpu                     level 1 paused with P
  minimized_cpu                  minimized on the main menu
  pad_menu_cpu, pad_minimized_cpu  the same two with a gamepad plugged in
  key_frames, pad_frames         from a Down press (key, or the pad's D-pad) on the still main
                                 menu to the end of the first swap whose picture shows it, in
                                 frames of 1/60 s, median of PRESSES
  play_p99_ms, fade_p99_ms       p99 of the intervals between swaps in level 1 and in crossfades

CPU is the program's own (every thread, llvmpipe's included) over SECONDS. A key's moment is
just before the XTEST request that makes it (a round trip to the X server is in the figure); a
pad press's is taken by the pad's own thread just before it sets the button. Swap times and the
picture each swap presents come from swap_counter_preload. Measure on an otherwise idle machine:
latencies and intervals suffer from a loaded one, CPU percentages much less.
"""

import ctypes
import os
import random
import signal
import statistics
import subprocess
import sys
import time

import swap_count
import x_desktop
from interval_figures import p99
from e2e_session import Session, wait_for  # found on the path swap_count adds

SECONDS = swap_count.SECONDS
FRAME = 1.0 / 60
PRESSES = 9
# The main menu's buttons and the focus ring around them (window pixels, full screen 1024x768).
MENU_BUTTONS = "400 370 200 170"
FADE_SECONDS = 1.6  # a crossfade takes about 1.7 s; its first 1.6 s are surely in it
FADES = 3  # main menu to play menu and back, each time
PLAY_SECONDS = 5


def log(text):
    x_desktop.log("still_screens: " + text)


def report(name, value):
    print("%s %s" % (name, "nan" if value is None else "%.6g" % value), flush=True)


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def cpu_percent(pid, seconds=SECONDS):
    """The process's CPU over the next seconds, in percent of one core."""
    ticks0, time0 = cpu_ticks(pid), time.monotonic()
    time.sleep(seconds)
    ticks1, time1 = cpu_ticks(pid), time.monotonic()
    return 100.0 * (ticks1 - ticks0) / os.sysconf("SC_CLK_TCK") / (time1 - time0)


class XTestKeys:
    """Key presses through XTEST on the session's display, each timed just before it is sent."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise x_desktop.E2EFailure("cannot open %s for XTEST" % display)

    def press(self, key, hold=0.1):
        """Presses and releases key; returns the moment of the press."""
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(key.encode()))
        pressed = time.monotonic()
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
        self.x11.XSync(self.display, 0)
        time.sleep(hold)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
        self.x11.XSync(self.display, 0)
        return pressed

    def close(self):
        self.x11.XCloseDisplay(self.display)


class CountedGame:
    """The game with its swaps timed, and a pad plugged in (and pressed from here) where asked."""

    def __init__(self, session, counter, pad=None, watch=None, pad_presses=False):
        self.session = session
        folder = session.folder
        runs = len(session.games)
        self.times = os.path.join(folder, "swap-times-%d.txt" % runs)
        self.presses_out = os.path.join(folder, "pad-presses-%d.txt" % runs)
        self.fifo = os.path.join(folder, "pad-%d.fifo" % runs)
        env = {"SDL_AUDIODRIVER": "dummy", "TOLVAR_SWAP_TIMES_OUT": self.times}
        if watch:
            env["TOLVAR_SWAP_WATCH"] = watch
        if pad_presses:
            os.mkfifo(self.fifo)
            env.update(TOLVAR_PAD_PRESSES=self.fifo, TOLVAR_PAD_PRESSES_OUT=self.presses_out)
        self.game = session.start_game(progress=b"1", preloads=[counter] + ([pad] if pad else []),
                                       extra_env=env)
        self.pad_requests = None

    @property
    def pid(self):
        return self.game.pid

    def wait_still_menu(self):
        self.session.wait_screen("menu", 60)
        time.sleep(1)

    def swaps(self):
        """[(end of the swap in s, picture hash)] of every swap so far."""
        def lines():
            if not os.path.exists(self.times):
                return []
            with open(self.times) as times:
                return times.read().splitlines()

        dumps = sum(line.startswith("#") for line in lines())
        os.kill(self.pid, signal.SIGUSR2)
        wait_for(lambda: sum(line.startswith("#") for line in lines()) > dumps, 5,
                 "the swap times")
        return [(int(line.split()[0]) / 1e9, line.split()[1]) for line in lines()
                if not line.startswith("#")]

    def press_pad(self, button):
        if self.pad_requests is None:
            self.pad_requests = wait_for(self._open_requests, 10, "the pad's request FIFO")
        os.write(self.pad_requests, button.encode())

    def _open_requests(self):
        try:
            return os.open(self.fifo, os.O_WRONLY | os.O_NONBLOCK)
        except OSError:
            return None

    def pad_presses(self):
        wait_for(lambda: os.path.exists(self.presses_out), 5, "the pad's press times")
        time.sleep(0.2)
        with open(self.presses_out) as lines:
            return [int(line) / 1e9 for line in lines]

    def minimize(self):
        window = self.session.wait_window("Tolvar", 30)
        self.session.xdotool("windowminimize", str(window[0]))
        wait_for(lambda: not self.session.mapped(window[0]), 10, "the game to be minimized")
        time.sleep(2)

    def end(self):
        if self.pad_requests is not None:
            os.close(self.pad_requests)
        self.game.process.kill()
        self.game.process.wait()


def press_to_picture_seconds(swaps, pressed):
    """From a press to the end of the first swap after it whose picture differs from the one on
    screen when it came; None when no swap shows it."""
    before = [picture for end, picture in swaps if end <= pressed]
    if not before:
        return None
    for end, picture in swaps:
        if end > pressed and picture != before[-1]:
            return end - pressed
    return None


def median_frames(swaps, presses, what):
    delays = [press_to_picture_seconds(swaps, pressed) for pressed in presses]
    shown = [delay for delay in delays if delay is not None]
    log("%s: %d of %d presses shown, frames %s" % (
        what, len(shown), len(delays), " ".join("%.2f" % (d / FRAME) for d in shown)))
    return statistics.median(shown) / FRAME if len(shown) == len(delays) else None


def intervals_within(swaps, start, end):
    """Milliseconds between consecutive swaps that both end within [start, end]."""
    inside = [swap_end for swap_end, _ in swaps if start <= swap_end <= end]
    return [1000 * (b - a) for a, b in zip(inside, inside[1:])]


def settle_between_presses():
    # Off any beat the game may keep: a press lands anywhere within a frame.
    time.sleep(0.5 + random.uniform(0, FRAME))


def floor(session, bare_window):
    window = subprocess.Popen([bare_window, "--draw"], env=session.env, stdout=subprocess.PIPE,
                              text=True)
    try:
        rate = int(window.stdout.readline().split()[1])
        session.wait_window("bare window", 30)
        time.sleep(1)
        report("floor_hz", rate)
        report("floor_cpu", cpu_percent(window.pid))
    finally:
        window.kill()
        window.wait()


def menu_fades_play_and_pause(session, counter):
    run = CountedGame(session, counter)
    run.wait_still_menu()
    menu_start = time.monotonic()
    report("menu_cpu", cpu_percent(run.pid))
    menu_swaps = [end for end, _ in run.swaps() if end >= menu_start]
    report("menu_fps", len(menu_swaps) / (time.monotonic() - menu_start))
    with open("/proc/%d/status" % run.pid) as status:
        report("menu_vmhwm_kb", int(status.read().split("VmHWM:")[1].split()[0]))

    fades = []
    for _ in range(FADES):
        for key, screen in (("Return", "playmenu"), ("Escape", "menu")):
            fades.append(time.monotonic())
            session.key(key, hold=0.1)
            session.wait_screen(screen, 30)
            time.sleep(0.5)
    session.key("Return", hold=0.1)
    session.wait_screen("playmenu", 30)
    session.key("Return", hold=0.1)
    wait_for(lambda: session.shows("level1"), 30, "level 1")
    time.sleep(FADE_SECONDS + 0.5)  # past the crossfade into the level
    play_start = time.monotonic()
    time.sleep(PLAY_SECONDS)
    play_end = time.monotonic()

    session.key("p", hold=0.1)
    # Paused once the falling block stands still.
    state = {"last": None}

    def still():
        image, last = session.grab(0, 0, 800, 768), state["last"]
        state["last"] = image
        return last is not None and image.same_as(last)

    wait_for(still, 30, "the level to pause", interval=0.3)
    time.sleep(1)
    report("paused_cpu", cpu_percent(run.pid))

    swaps = run.swaps()
    fade_intervals = [interval for start in fades
                      for interval in intervals_within(swaps, start, start + FADE_SECONDS)]
    play_intervals = intervals_within(swaps, play_start, play_end)
    log("fades: %d intervals, median %.1f ms; play: %d intervals, median %.1f ms" % (
        len(fade_intervals), statistics.median(fade_intervals or [0]), len(play_intervals),
        statistics.median(play_intervals or [0])))
    report("fade_p99_ms", p99(fade_intervals))
    report("play_p99_ms", p99(play_intervals))
    run.end()


def key_presses_then_minimized(session, counter):
    run = CountedGame(session, counter, watch=MENU_BUTTONS)
    run.wait_still_menu()
    keys = XTestKeys(session.env["DISPLAY"])
    presses = []
    try:
        for _ in range(PRESSES):
            presses.append(keys.press("Down"))
            settle_between_presses()
    finally:
        keys.close()
    report("key_frames", median_frames(run.swaps(), presses, "keys"))
    run.minimize()
    report("minimized_cpu", cpu_percent(run.pid))
    run.end()


def with_a_pad(session, counter, pad):
    run = CountedGame(session, counter, pad=pad)
    run.wait_still_menu()
    report("pad_menu_cpu", cpu_percent(run.pid))
    run.minimize()
    report("pad_minimized_cpu", cpu_percent(run.pid))
    run.end()

    run = CountedGame(session, counter, pad=pad, watch=MENU_BUTTONS, pad_presses=True)
    run.wait_still_menu()
    for _ in range(PRESSES):
        run.press_pad("d")
        settle_between_presses()
    report("pad_frames", median_frames(run.swaps(), run.pad_presses(), "pad"))
    run.end()


def main():
    x_desktop.log_stream = sys.stderr
    game, counter, pad, bare_window = (os.path.abspath(path) for path in sys.argv[1:5])
    swap_count.preload_from_arguments([sys.argv[0], game, counter])
    with Session("1024x768", window_manager=True) as session:
        floor(session, bare_window)
        menu_fades_play_and_pause(session, counter)
        key_presses_then_minimized(session, counter)
        with_a_pad(session, counter, pad)


main()
