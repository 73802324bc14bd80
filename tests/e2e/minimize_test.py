#!/usr/bin/env python3
"""Minimizing the game stops its frames; restoring brings back the same screen.

On the help screen, a still screen, the game draws its picture once and waits; minimized by the
window manager (openbox, through xdotool windowminimize) it must go on waiting: its CPU use over
10 s, read from /proc/<pid>/stat, stays under 5% of a core. Restored (wmctrl -a), it shows the
help screen again and still answers clicks; Quit then ends it with exit code 0.
"""

import subprocess
import time

from e2e_session import Session, check, log, quit_from_main_menu, run, wait_for

MINIMIZED_SECONDS = 10.0


def cpu_share(game, seconds):
    before = game.cpu_seconds()
    started = time.monotonic()
    time.sleep(seconds)
    return (game.cpu_seconds() - before) / (time.monotonic() - started)


def minimize_and_restore():
    with Session("1024x768", window_manager=True) as session:
        game = session.start_game(progress=b"1")
        session.wait_screen("menu", 30)
        session.click(485, 460)
        shown = session.wait_screen("help", 30)
        window_id = session.wait_window("Tolvar", 10)[0]

        running = cpu_share(game, 3.0)
        log("MEASURED: CPU use while the help screen is shown: %.1f%% of one core" % (running * 100))

        session.xdotool("windowminimize", str(window_id))
        wait_for(lambda: not session.mapped(window_id), 10, "the window to be minimized")
        time.sleep(0.5)
        minimized = cpu_share(game, MINIMIZED_SECONDS)
        log("MEASURED: CPU use while minimized, over %.0f s: %.2f%% of one core" %
            (MINIMIZED_SECONDS, minimized * 100))
        check(minimized < 0.05, "minimized, the game uses under 5% of a core")
        check(game.running(), "the game still runs while minimized")

        subprocess.run(["wmctrl", "-i", "-a", hex(window_id)], env=session.env, check=True)
        wait_for(lambda: session.mapped(window_id), 10, "the window to come back")
        restored = session.wait_screen("help", 30)
        check(restored.mean_difference(shown, 4) < 0.5, "restored, the game shows the same "
              "help screen")
        session.click(300, 300)
        session.wait_screen("menu", 30)
        quit_from_main_menu(session, game)


run(minimize_and_restore)
