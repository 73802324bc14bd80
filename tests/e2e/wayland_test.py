#!/usr/bin/env python3
"""The game as a native Wayland client, under weston nested in Xvfb.

A first start without Data.dat shows its error box through zenity, as boxes are shown on
Wayland, and ends once it is answered, leaving Data.dat holding 1. Then full screen on weston's
output: the logo, the main menu; a click on Help and Escape back (pointer and keys reach it); a
click on Quit ends the game with exit code 0.
"""

import os
import time

from e2e_session import Session, check, log, quit_from_main_menu, run, wait_for


def zenity_box_saying(text):
    """True while a zenity process shows a box with the text (zenity takes it as an argument)."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as cmdline:
                words = cmdline.read().split(b"\0")
        except OSError:
            continue
        if words and words[0].endswith(b"zenity") and text.encode() in words:
            return True
    return False


def wayland():
    with Session("1024x768", compositor=True) as session:
        first = session.start_game(progress=None)
        wait_for(lambda: zenity_box_saying("Can't open Data.dat"), 30, "the box through zenity")
        # Return until the box has taken it: zenity's window comes up a little after zenity.
        wait_for(lambda: session.key("Return", hold=0.05) or not first.running(), 30,
                 "the box to be answered", interval=1.0)
        check(first.wait_exit(30) == 1 and first.progress_file() == b"1",
              "the answered box ends the first start, Data.dat now holds 1")

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
        quit_from_main_menu(session, game)


run(wayland)
