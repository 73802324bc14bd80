#!/usr/bin/env python3
"""A stall is no play time: the game stopped (SIGSTOP) for five seconds while a block falls in
level 1 and then continued (SIGCONT) goes on from where the block stood. Without a bound on a
frame's step the block would cover the whole five seconds of fall in one frame and land.

The wait of five seconds is the scenario itself; everything else waits for what it checks.
"""

import os
import signal
import time

from e2e_session import (Session, check, falling_block_top, hud_count, log, new_game,
                         quit_from_main_menu, required_environment, run, wait_for)

STOPPED_SECONDS = 5
# At the normal speed a block falls 120 units a second; the first frame after the stall moves it
# a tenth of a second's worth at most. Room is left for the frames that run before the look.
NEAR = 120


def stall():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"1",
                                  preloads=[required_environment("TOLVAR_E2E_EVEN_DEAL")])
        session.wait_screen("menu", 30)
        new_game(session)
        wait_for(lambda: (lambda seen: seen and seen[1] < 200)(falling_block_top(session, "level1")),
                 15, "the first block high above the stacks")
        os.kill(game.pid, signal.SIGSTOP)
        try:
            count = hud_count(session)
            stood = wait_for(lambda: falling_block_top(session, "level1"), 5, "the stopped block")
            time.sleep(STOPPED_SECONDS)
        finally:
            os.kill(game.pid, signal.SIGCONT)

        def moved_on():
            """The first look at which the game has run a frame since: the block moved, or the
            count changed because it landed."""
            if not hud_count(session).same_as(count):
                return ("landed", None)
            seen = falling_block_top(session, "level1")
            return ("falling", seen) if seen and seen[1] != stood[1] else None

        state, after = wait_for(moved_on, 10, "the game to run on after the stall")
        check(state == "falling", "the HUD's block count is unchanged: the block did not land")
        log("MEASURED: the block stood at y %d, %.2f s after the stall it is at y %d" %
            (stood[1], after[0] - stood[0] - STOPPED_SECONDS, after[1]))
        check(stood[1] < after[1] < stood[1] + NEAR,
              "the block goes on from near where it stood (y %d, then %d)" % (stood[1], after[1]))
        session.click(917, 610)  # level 1's main-menu button
        session.wait_screen("menu", 30)
        quit_from_main_menu(session, game)


run(stall)
