#!/usr/bin/env python3
"""Level 1 played to its end with real key input, the level-complete countdown and level 2.

The game runs with an even deal (even_deal_preload.cpp: every block weighs 4 and is dealt to the
left column), so the balance is kept by steering the blocks left and right in turn:
- the first block falls at its normal speed, then Down hurries it (at least twice as fast);
- every block is steered with Left or Right while Down stays held; every landing changes the
  HUD's "Blocks left" count, ten in all, and the steered blocks stack in both columns;
- after the last landing the box counts down (several different numbers one after another),
  level 2 fades in, and Data.dat holds 2.
"""

import time

from e2e_session import (LEFT_STRIP, RIGHT_STRIP, E2EFailure, Session, block_rows, check,
                         falling_block_top, hud_count, log, new_game, quit_from_main_menu,
                         required_environment, run, steer_blocks, wait_for)

COMPLETION_BOX = (150, 350, 500, 100)
# Inside the box's grab: the countdown's number at the end of the text (raster position 200, 400
# on screen), and the text and box to its left.
COUNTDOWN_NUMBER = (420, 30, 60, 30)
BOX_WITHOUT_NUMBER = (0, 0, 420, 100)
# A landed block's rows in a column strip beyond those of the board alone, at least.
BLOCK_ROWS = 25


def fall_speed(session, seconds):
    """The speed of the falling block between two looks at least seconds apart."""
    first = wait_for(lambda: falling_block_top(session, "level1"), 15, "the falling block")
    second = wait_for(lambda: (lambda sample: sample if sample and sample[0] - first[0] >= seconds
                               else None)(falling_block_top(session, "level1")), 15,
                      "the falling block %.1f s later" % seconds)
    check(second[1] > first[1], "the block falls")
    return (second[1] - first[1]) / (second[0] - first[0])


def hurried_speed(session, normal):
    """Waits, with Down held, for the block to fall more than twice as fast as normal over 0.15 s
    at least: however late the key reaches the game, the block is still far above the stacks."""
    samples = []

    def hurried():
        sample = falling_block_top(session, "level1")
        if sample is None:
            return None
        samples.append(sample)
        earlier = [old for old in samples if sample[0] - old[0] >= 0.15]
        if not earlier:
            return None
        speed = (sample[1] - earlier[-1][1]) / (sample[0] - earlier[-1][0])
        return speed if speed > 2 * normal else None

    return wait_for(hurried, 5, "Down to hurry the falling block (more than twice as fast)")


def play_level_one():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"1",
                                  preloads=[required_environment("TOLVAR_E2E_EVEN_DEAL")])
        session.wait_screen("menu", 30)
        new_game(session)

        # The columns below y 560 as the level starts: the board alone, the first block still
        # high above it.
        board_only = session.grab_steady()
        board_rows = {side: len(block_rows(session, board_only, "level1", strip, 560, 768))
                      for side, strip in (("left", LEFT_STRIP), ("right", RIGHT_STRIP))}

        normal = fall_speed(session, 0.5)
        session.key_down("Down")
        hurried = hurried_speed(session, normal)
        log("MEASURED: fall speed %.0f px/s, hurried %.0f px/s" % (normal, hurried))

        def rows_beyond_board(image, side):
            strip = LEFT_STRIP if side == "left" else RIGHT_STRIP
            return (len(block_rows(session, image, "level1", strip, 560, 768)) -
                    board_rows[side])

        def look_at_columns(block, direction):
            log("block %d landed, steered %s" % (block + 1, direction))
            if block in (0, 1):
                # How deep a block lands depends on the length of the frame it lands in, so
                # the whole column down to the screen's bottom is looked at: a landed block
                # (40 rows, drawn over the board) adds at least BLOCK_ROWS rows there to the
                # board's own, wherever the board's tilt and that frame put it. The other column
                # is not looked at: the next block may already be falling into it.
                image = session.grab_steady()
                if block == 0:
                    left = rows_beyond_board(image, "left")
                    check(left >= BLOCK_ROWS, "the first block, steered left, lies in the left "
                          "column (rows beyond the board's: %d)" % left)
                else:
                    right = rows_beyond_board(image, "right")
                    check(right >= BLOCK_ROWS, "the second block, dealt left and steered "
                          "right, lies in the right column (rows beyond the board's: %d)" % right)
            if block == 6:
                session.screenshot("06-level-1")

        counts_seen = steer_blocks(session, 10, look_at_columns)
        check(len({bytes(image.data) for image in counts_seen}) == 11,
              "the HUD count took eleven different values, 10 down to 0")

        box = wait_for(lambda: (lambda image: image if image.mean_difference(
            session.reference("level1").crop(*COMPLETION_BOX), 4) > 20 else None)(
                session.grab_steady(*COMPLETION_BOX)), 10, "the level-complete box")
        scene = session.grab_steady()
        check(session.classify(scene)[0] == "level1" and hud_count(session).same_as(counts_seen[-1]),
              "the box stands over the finished level 1, whose HUD still reads 0")
        session.screenshot("11-level-complete", scene)
        # The number changes at the end of the text while the rest of the box stays as it is;
        # once the fade to level 2 begins, the rest changes too.
        numbers = [box.crop(*COUNTDOWN_NUMBER)]
        deadline = time.monotonic() + 30
        while True:
            image = session.grab_steady(*COMPLETION_BOX)
            if not image.crop(*BOX_WITHOUT_NUMBER).same_as(box.crop(*BOX_WITHOUT_NUMBER)):
                break
            number = image.crop(*COUNTDOWN_NUMBER)
            if not number.same_as(numbers[-1]):
                numbers.append(number)
            if time.monotonic() > deadline:
                raise E2EFailure("the countdown did not end within 30 s")
            time.sleep(0.05)
        log("the box showed %d different numbers" % len(numbers))
        check(len(numbers) in (5, 6), "the box counts down from 5, one number after another")
        session.wait_screen("level2", 30)
        check(game.progress_file() == b"2", "completing level 1 wrote 2 to Data.dat")

        session.click(917, 595)  # level 2's main-menu button
        session.wait_screen("menu", 30)
        quit_from_main_menu(session, game)


run(play_level_one)
