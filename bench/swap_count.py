"""The real program's CPU use and frame rate over an interval, for the benchmarks that run it on
Xvfb: the game runs with swap_counter_preload loaded, which appends its count of buffer swaps to
a file on SIGUSR1.

    GAME-BINARY SWAP-COUNTER-PRELOAD [DATA-DIR]

are the arguments of every such benchmark; DATA-DIR defaults to the Data/ beside GAME-BINARY.
"""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from e2e_session import wait_for  # noqa: E402

SECONDS = 10  # each measured interval


def preload_from_arguments(arguments):
    """Points the e2e session at the game and data the arguments name; returns the preload."""
    game_binary, preload = os.path.abspath(arguments[1]), os.path.abspath(arguments[2])
    data = arguments[3] if len(arguments) > 3 else os.path.join(os.path.dirname(game_binary),
                                                                "Data")
    os.environ["TOLVAR_E2E_GAME"] = game_binary
    os.environ["TOLVAR_E2E_DATA"] = os.path.abspath(data)
    os.environ.setdefault("TOLVAR_E2E_GL_DRIVER_PIN", preload)  # any preload will do here
    return preload


def start_counted_game(session, preload):
    """The game on the session's desktop with its swaps counted and its music mixed as on a
    desktop; returns the game and the file its counts go to."""
    out = os.path.join(session.folder, "swaps.txt")
    game = session.start_game(progress=b"1", preloads=[preload], extra_env={
        "TOLVAR_SWAP_COUNT_OUT": out, "SDL_AUDIODRIVER": "dummy"})
    return game, out


def counted(game, out):
    """(swaps so far, CPU seconds so far, now)."""
    lines = len(open(out).read().split()) if os.path.exists(out) else 0
    os.kill(game.pid, signal.SIGUSR1)
    wait_for(lambda: os.path.exists(out) and len(open(out).read().split()) > lines, 5,
             "the swap count")
    return int(open(out).read().split()[-1]), game.cpu_seconds(), time.monotonic()


def measure_cpu(game, out, what):
    """Prints the game's CPU (every thread, llvmpipe's included) and frame rate over SECONDS."""
    swaps0, cpu0, time0 = counted(game, out)
    time.sleep(SECONDS)
    swaps1, cpu1, time1 = counted(game, out)
    elapsed = time1 - time0
    print("%-14s CPU %5.1f %% of a core, %6.1f frames/s" % (
        what, 100 * (cpu1 - cpu0) / elapsed, (swaps1 - swaps0) / elapsed), flush=True)
