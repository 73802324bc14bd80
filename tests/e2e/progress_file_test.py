#!/usr/bin/env python3
"""Start-up with the progress file: the logo, the menu and Quit; and a missing Data.dat.

- With Data.dat holding 3: the logo, then the menu; the level-select screen shows the labels of
  levels 1 to 3 only and a click on level 4's place does nothing; back to the menu, Quit ends
  the program with exit code 0 and the file still holds 3.
- Without Data.dat: the "ERROR" box says "Can't open Data.dat"; once it is answered the program
  ends with exit code 1 (the game was not played) and leaves a Data.dat holding 1.
"""

import os
import time

from e2e_session import (Session, check, log, no_sanitizer_report, quit_from_main_menu,
                         required_environment, run, wait_for)

# Level-select labels: the 25 pixels above each baseline, from x 410 to 560.
LABEL_ROWS = {1: 325, 2: 385, 3: 445, 4: 505, 5: 565}


def label_difference(session, image, level):
    """How far the label's place differs from the bare level-select picture."""
    top = LABEL_ROWS[level]
    region = image.crop(410, top + 1, 150, 24)
    reference = session.reference("levelselect").crop(410, top + 1, 150, 24)
    return region.mean_difference(reference, 2)


def logo_menu_and_quit():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"3")
        logo = wait_for(lambda: (lambda image: image if session.shows("logo", image) else None)(
            session.grab()), 60, "the logo", interval=0.02)
        session.screenshot("01-logo", logo)
        log("the logo is shown first")
        session.screenshot("02-main-menu", session.wait_screen("menu", 30))

        session.click(485, 410)
        session.screenshot("03-play-menu", session.wait_screen("playmenu", 30))
        session.click(495, 455)
        # The labels come with the first frame after the fade, which a starved game may draw
        # well after the fade's last frame has stood still for a while.
        session.wait_screen("levelselect", 30)
        image = wait_for(lambda: (lambda grab: grab if label_difference(session, grab, 1) > 8
                                  else None)(session.grab_steady()), 30, "the labels drawn")
        session.screenshot("05-level-select-progress-3", image)
        log("label differences: %s" % [round(label_difference(session, image, level), 1)
                                       for level in LABEL_ROWS])
        for level in (1, 2, 3):
            check(label_difference(session, image, level) > 8,
                  "with progress 3 the label of level %d is drawn" % level)
        for level in (4, 5):
            check(label_difference(session, image, level) < 3,
                  "with progress 3 the label of level %d is not drawn" % level)

        session.click(485, 517)  # the centre of level 4's place: locked
        time.sleep(1.0)
        check(session.grab().mean_difference(image, 4) < 0.5,
              "a click on locked level 4 does nothing")
        session.click(95, 722)
        session.wait_screen("playmenu", 30)
        session.click(495, 490)
        session.wait_screen("menu", 30)
        quit_from_main_menu(session, game)
        check(game.progress_file() == b"3", "Data.dat still holds 3")


def missing_progress_file():
    # A window manager gives the box the keyboard, as on any desktop.
    with Session("1024x768", window_manager=True) as session:
        box_log = os.path.join(session.folder, "boxes.txt")
        game = session.start_game(
            progress=None, preloads=[required_environment("TOLVAR_E2E_MESSAGE_BOX_LOG_LIBRARY")],
            extra_env={"TOLVAR_E2E_MESSAGE_BOX_LOG": box_log})
        session.wait_window("ERROR", 30)
        with open(box_log) as boxes:
            said = boxes.read()
        check(said == "caption: ERROR\nbuttons: OK\ntext: Can't open Data.dat\n--\n",
              "the ERROR box says \"Can't open Data.dat\"")
        session.answer_box("ERROR", "Return")
        code = game.wait_exit(30)
        log("exit code %d" % code)
        check(code == 1, "the program then ends with exit code 1: it was not played")
        check(game.progress_file() == b"1", "a fresh Data.dat holding 1 is left behind")
        no_sanitizer_report(game)


def both():
    logo_menu_and_quit()
    missing_progress_file()


run(both)
