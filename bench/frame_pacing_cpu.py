#!/usr/bin/env python3
"""CPU use and frame rate of the real program in the main menu and in level 1, 10 s each, on
Xvfb with Mesa's software renderer, where the buffer swap does not wait for the display.

    bench/frame_pacing_cpu.py GAME-BINARY SWAP-COUNTER-PRELOAD [DATA-DIR]

DATA-DIR defaults to the Data/ beside GAME-BINARY. The CPU is the program's own (every thread,
llvmpipe's included), not the X server's. Measure on an otherwise idle machine.
"""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_session import Session, wait_for  # noqa: E402

SECONDS = 10


def counted(game, out):
    """(swaps so far, CPU seconds so far, now)."""
    lines = len(open(out).read().split()) if os.path.exists(out) else 0
    os.kill(game.pid, signal.SIGUSR1)
    wait_for(lambda: os.path.exists(out) and len(open(out).read().split()) > lines, 5,
             "the swap count")
    return int(open(out).read().split()[-1]), game.cpu_seconds(), time.monotonic()


def measure(game, out, what):
    swaps0, cpu0, time0 = counted(game, out)
    time.sleep(SECONDS)
    swaps1, cpu1, time1 = counted(game, out)
    elapsed = time1 - time0
    print("%-8s CPU %5.1f %% of a core, %6.1f frames/s" % (
        what, 100 * (cpu1 - cpu0) / elapsed, (swaps1 - swaps0) / elapsed), flush=True)


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
        measure(game, out, "menu")
        session.click(485, 410)
        session.wait_screen("playmenu", 30)
        session.click(495, 420)
        wait_for(lambda: session.shows("level1"), 30, "level 1")
        measure(game, out, "level 1")


main()
