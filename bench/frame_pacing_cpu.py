#!/usr/bin/env python3
"""CPU use and frame rate of the real program in the main menu and in level 1, 10 s each, on
Xvfb with Mesa's software renderer, where the buffer swap does not wait for the display.

    bench/frame_pacing_cpu.py GAME-BINARY SWAP-COUNTER-PRELOAD [DATA-DIR]

DATA-DIR defaults to the Data/ beside GAME-BINARY. The CPU is the program's own (every thread,
llvmpipe's included), not the X server's. Measure on an otherwise idle machine.
"""

import sys

from swap_count import measure_cpu, preload_from_arguments, start_counted_game
from e2e_session import Session, new_game  # found on the path swap_count adds


def main():
    preload = preload_from_arguments(sys.argv)
    with Session("1024x768") as session:
        game, out = start_counted_game(session, preload)
        session.wait_screen("menu", 60)
        measure_cpu(game, out, "menu")
        new_game(session)
        measure_cpu(game, out, "level 1")


main()
