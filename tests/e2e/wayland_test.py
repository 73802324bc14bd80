#!/usr/bin/env python3
"""The game as a native Wayland client, under weston nested in Xvfb.

Full screen on weston's output: the logo, then the main menu; a click on Help and Escape back
(pointer and keys reach it); a click on Quit ends the game with exit code 0.
"""

import time

from e2e_session import Session, check, log, no_sanitizer_report, run, wait_for


def wayland():
    with Session("1024x768", compositor=True) as session:
        started = time.monotonic()
        game = session.start_game(progress=b"1")
        wait_for(lambda: session.difference(session.grab(), "logo") < 2.5, 30, "the logo",
                 interval=0.01)
        log("MEASURED: %.2f s from exec to the first frame on screen (Wayland)" %
            (time.monotonic() - started))
        session.wait_screen("menu", 40)
        session.click(485, 460)  # Help
        session.wait_screen("help", 30)
        session.key("Escape")
        session.wait_screen("menu", 30)
        check(game.running(), "the game runs on weston")
        session.click(485, 510)  # Quit
        check(game.wait_exit(30) == 0, "Quit ends the game with exit code 0")
        no_sanitizer_report(game)


run(wayland)
