#!/usr/bin/env python3
"""How soon a key shows on screen, and the CPU of a paused level against the main menu's, on
Xvfb with Mesa's software renderer.

    bench/keys_and_pause.py GAME-BINARY SWAP-COUNTER-PRELOAD [DATA-DIR]

A key's delay is from just before xdotool sends it to the first grab that shows its effect,
counted in frames of 1/30 s: an upper bound, since the grab's own time is in it. The CPU is the
program's own, every thread included. Measure on an otherwise idle machine.
"""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_session import Session, wait_for  # noqa: E402

SECONDS = 10
FRAME = 1.0 / 30
PLAY_RING = (430, 380, 110, 12)  # just above the main menu's Play button: the ring's top bar


def counted(game, out):
    lines = len(open(out).read().split()) if os.path.exists(out) else 0
    os.kill(game.pid, signal.SIGUSR1)
    wait_for(lambda: os.path.exists(out) and len(open(out).read().split()) > lines, 5,
             "the swap count")
    return int(open(out).read().split()[-1]), game.cpu_seconds(), time.monotonic()


def measure_cpu(game, out, what):
    swaps0, cpu0, time0 = counted(game, out)
    time.sleep(SECONDS)
    swaps1, cpu1, time1 = counted(game, out)
    elapsed = time1 - time0
    print("%-14s CPU %5.1f %% of a core, %6.1f frames/s" % (
        what, 100 * (cpu1 - cpu0) / elapsed, (swaps1 - swaps0) / elapsed), flush=True)


def key_delay(session, key, region, what):
    before = session.grab_steady(*region)
    start = time.monotonic()
    session.xdotool("keydown", key)
    wait_for(lambda: not session.grab(*region).same_as(before), 5, what, interval=0.001)
    seen = time.monotonic()
    session.xdotool("keyup", key)
    print("%-14s key to screen %.1f frames (%.0f ms)" % (what, (seen - start) / FRAME,
                                                         1000 * (seen - start)), flush=True)


def main():
    game_binary, preload = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    data = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(game_binary), "Data")
    os.environ["TOLVAR_E2E_GAME"] = game_binary
    os.environ["TOLVAR_E2E_DATA"] = os.path.abspath(data)
    os.environ.setdefault("TOLVAR_E2E_GL_DRIVER_PIN", preload)  # any preload will do here
    with Session("1024x768") as session:
        out = os.path.join(session.folder, "swaps.txt")
        game = session.start_game(progress=b"1", preloads=[preload], extra_env={
            "TOLVAR_SWAP_COUNT_OUT": out, "SDL_AUDIODRIVER": "dummy"})
        session.wait_screen("menu", 60)
        measure_cpu(game, out, "main menu")
        key_delay(session, "Down", PLAY_RING, "menu Down")
        session.xdotool("key", "Return")
        session.wait_screen("playmenu", 30)
        session.xdotool("key", "Return")
        wait_for(lambda: session.shows("level1"), 30, "level 1")
        key_delay(session, "p", (0, 0, 1024, 768), "level P")
        time.sleep(0.5)
        measure_cpu(game, out, "paused level")


main()
