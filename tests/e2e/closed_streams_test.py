#!/usr/bin/env python3
"""Nothing the game writes reaches Data.dat but a save, and nothing in Data/ can hang it.

- Started with standard error closed (as some launchers and service managers start programs),
  with Data.dat holding 3: a refused argument (its usage goes to standard error) and a whole run
  without a sound device (said on standard error) through the menu to Quit leave Data.dat byte
  for byte as it was.
- A FIFO in place of the menu's module: the start-up does not hang on it; the logo and the menu
  show, the FIFO is named on standard error, and Quit clicked while Left is held (the last message
  handled is then a key) ends the program with exit code 0.
"""

import os

from e2e_session import Session, check, log, no_sanitizer_report, run

MENU_TRACK = "Data/Musat/menumusa.it"
QUIT = (485, 510)


def closed_standard_error(session):
    refused = session.start_game(progress=b"3", arguments=["--bad"], stderr_closed=True)
    code = refused.wait_exit(30)
    check(code == 2, "--bad with standard error closed ends with exit code 2 (got %d)" % code)
    check(refused.progress_file() == b"3",
          "and Data.dat still holds exactly 3 (%r)" % refused.progress_file())

    game = session.start_game(progress=b"3", stderr_closed=True,
                              extra_env={"SDL_AUDIODRIVER": "nosuchdriver"})
    session.wait_screen("menu", 40)
    session.click(*QUIT)
    code = game.wait_exit(30)
    check(code == 0, "a silent run with standard error closed quits with exit code 0")
    check(game.progress_file() == b"3",
          "and Data.dat still holds exactly 3 (%r)" % game.progress_file())


def fifo_module(session):
    game = session.start_game(progress=b"2",
                              prepare=lambda folder: (os.remove(os.path.join(folder, MENU_TRACK)),
                                                      os.mkfifo(os.path.join(folder, MENU_TRACK))))
    session.wait_screen("menu", 40)
    check(game.running(), "with a FIFO for the menu's module the menu shows")
    session.key_down("Left")
    try:
        session.click(*QUIT)
        code = game.wait_exit(30)
    finally:
        session.key_up("Left")
    log("exit code %d" % code)
    check(code == 0, "Quit clicked with Left held ends with exit code 0")
    said = [line for line in game.output().splitlines() if MENU_TRACK in line]
    check(len(said) >= 1 and "not a regular file" in said[0],
          "standard error names the FIFO (%r)" % said)
    check(game.progress_file() == b"2", "Data.dat still holds 2")
    no_sanitizer_report(game)


def closed_streams():
    with Session("1024x768") as session:
        closed_standard_error(session)
        fifo_module(session)


run(closed_streams)
