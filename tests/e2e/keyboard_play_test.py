#!/usr/bin/env python3
"""The whole road with keys alone, no click at all: main menu, play menu, level 1 played to its
end, the countdown, level 2 paused and resumed, back to the main menu through the paused level's
buttons, and Quit.

Before that, the main menu's focus ring: hidden at first, shown by the first arrow key, and gone
again once the mouse moves, leaving exactly the picture a mouse player has always seen.
The game runs with the even deal (every block weighs 4, dealt left), as in level_play_test.py.
"""

import time

from e2e_session import (LEFT_STRIP, Session, block_rows, check, log, no_sanitizer_report,
                         required_environment, run, steer_blocks, wait_for)

# Just above the main menu's Play button (its rectangle 440, 390 to 530, 430): the ring's top bar.
PLAY_RING = (430, 380, 110, 12)


def press(session, name):
    session.key(name, hold=0.1)


def play_with_keys():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"1",
                                  preloads=[required_environment("TOLVAR_E2E_EVEN_DEAL")])
        plain = session.wait_screen("menu", 30)

        press(session, "Down")  # only shows the focus, on Play
        wait_for(lambda: not session.grab_steady(*PLAY_RING).same_as(plain.crop(*PLAY_RING)),
                 10, "the focus ring around Play")
        session.xdotool("mousemove", "700", "100", "sleep", "0.05", "mousemove", "710", "110")
        menu = wait_for(lambda: (lambda image: image if image.crop(*PLAY_RING).mean_difference(
            plain.crop(*PLAY_RING)) < 1 else None)(session.grab_steady()), 10,
            "the ring gone once the mouse moved")
        difference = menu.mean_difference(plain)
        log("main menu after the mouse moved against the first one: mean difference %.3f"
            % difference)
        check(difference < 0.5 and session.shows("menu", menu),
              "the mouse hides the ring: the main menu as it always was")

        press(session, "Return")  # Play
        session.wait_screen("playmenu", 30)
        press(session, "KP_Enter")  # New game, where the focus starts
        session.wait_screen("level1", 30)

        steer_blocks(session, 10)
        session.wait_screen("level2", 40)
        check(game.progress_file() == b"2", "completing level 1 wrote 2 to Data.dat")

        def falling_rows():
            return block_rows(session, session.grab_steady(0, 0, 600, 640), "level2",
                              LEFT_STRIP, 0, 600)

        wait_for(lambda: falling_rows() or None, 15, "level 2's first block on screen")
        press(session, "p")
        dimmed = wait_for(lambda: (lambda image: image if image.mean_difference(
            session.reference("level2"), 4) > 30 else None)(session.grab_steady()),
            10, "the dimmed, paused scene")
        time.sleep(0.5)
        check(session.grab_steady().same_as(dimmed), "nothing moves while paused")
        press(session, "p")
        wait_for(lambda: session.shows("level2") or None, 10, "the scene back at full light")
        wait_for(lambda: (lambda rows: rows if rows and rows != falling_rows() else None)(
            falling_rows()), 10, "the block falling again")

        # Paused again with Escape: start over, level select, main menu in reading order.
        press(session, "Escape")
        wait_for(lambda: session.grab_steady().mean_difference(session.reference("level2"), 4)
                 > 30 or None, 10, "the paused scene")
        for _ in range(3):
            press(session, "Down")
        press(session, "space")
        session.wait_screen("menu", 30)

        for _ in range(3):
            press(session, "Tab")  # shows the focus on Play, then Help, then Quit
        press(session, "Return")
        code = game.wait_exit(30)
        check(code == 0, "Quit chosen with the keyboard ends the program with exit code 0 (got "
              "%d; Enter's key code would be 13)" % code)
        no_sanitizer_report(game)


run(play_with_keys)
