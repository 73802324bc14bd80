#!/usr/bin/env python3
"""How soon a key shows on screen, and the CPU of a paused level against the main menu's, on
Xvfb with Mesa's software renderer.

    bench/keys_and_pause.py GAME-BINARY SWAP-COUNTER-PRELOAD [DATA-DIR]

A key's delay is from just before xdotool sends it to the first grab that shows its effect,
counted in frames of 1/30 s: an upper bound, since the grab's own time is in it. The CPU is the
program's own, every thread included. Measure on an otherwise idle machine.
"""

import sys
import time

from swap_count import measure_cpu, preload_from_arguments, start_counted_game
from e2e_session import Session, wait_for  # found on the path swap_count adds

FRAME = 1.0 / 30
PLAY_RING = (430, 380, 110, 12)  # just above the main menu's Play button: the ring's top bar


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
    preload = preload_from_arguments(sys.argv)
    with Session("1024x768") as session:
        game, out = start_counted_game(session, preload)
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
