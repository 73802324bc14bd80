#!/usr/bin/env python3
"""The game's window on a 1024x768 screen, and a close request from the window manager.

A window titled "Tolvar" covering the 1024x768 screen appears and shows the logo; the time from
starting the program to the first frame on screen is measured. Once the menu is up, openbox is
asked to close the window (wmctrl -c, the same request as the close button of a frame): the
window goes within a second and the program ends with exit code 0.
"""

import subprocess
import time

from e2e_session import Session, check, log, no_sanitizer_report, run, wait_for


def window_and_close():
    with Session("1024x768", window_manager=True) as session:
        started = time.monotonic()
        game = session.start_game(progress=b"1")

        first_frame = wait_for(lambda: not session.grab(256, 192, 512, 384).is_black(), 30,
                               "the first frame", interval=0.01)
        log("MEASURED: %.2f s from exec to the first frame on screen" %
            (time.monotonic() - started))
        check(first_frame and session.shows("logo"), "the first frame shows the logo")

        window = session.wait_window("Tolvar", 10)
        window_id, _, x, y, width, height = window
        check((width, height) == (1024, 768), "the window Tolvar is 1024x768 (%dx%d)" %
              (width, height))
        check((x, y) == (0, 0), "the window covers the screen from (0, 0)")

        session.wait_screen("menu", 30)
        check(game.running(), "the game runs on the menu")

        requested = time.monotonic()
        subprocess.run(["wmctrl", "-i", "-c", hex(window_id)], env=session.env, check=True)
        wait_for(lambda: not game.running() or session.find_window("Tolvar") is None, 5,
                 "the window to close")
        gone = time.monotonic() - requested
        log("MEASURED: the window went %.2f s after the close request" % gone)
        check(gone < 1.0, "the window is gone within a second of the close request")
        code = game.wait_exit(30)
        log("MEASURED: the process ended %.2f s after the close request" %
            (time.monotonic() - requested))
        check(code == 0, "the close request ends the program with exit code 0 (got %d)" % code)
        no_sanitizer_report(game)


run(window_and_close)
