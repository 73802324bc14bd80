#!/usr/bin/env python3
"""Started from another folder, the game works from its own; with no Data/ anywhere it says so.

- Started with an empty working folder, the game finds Data/ beside its program: the logo and
  the menu show, the progress file beside the program is the one read (level select would show
  it; here: it is neither replaced nor copied), and nothing is created in the working folder.
- With no Data/ in either folder: an "ERROR" box, standard error naming both folders, exit code
  1 once the box is answered, and no Data.dat made anywhere.
"""

import os
import signal

from e2e_session import Session, check, log, no_sanitizer_report, run


def empty_folder(session, name):
    path = os.path.join(session.folder, name)
    os.makedirs(path)
    return path


def from_another_folder():
    with Session("1024x768") as session:
        elsewhere = empty_folder(session, "elsewhere")
        game = session.start_game(progress=b"3", cwd=elsewhere)
        session.wait_screen("menu", 60)
        check(os.listdir(elsewhere) == [], "nothing is created in the working folder")
        os.kill(game.pid, signal.SIGTERM)
        code = game.wait_exit(10)
        check(code == 0, "the game ends normally (exit code %d)" % code)
        check(game.progress_file() == b"3", "the progress file beside the program is kept")
        check(os.listdir(elsewhere) == [], "nothing is left in the working folder")
        no_sanitizer_report(game)


def no_data_anywhere():
    with Session("1024x768", window_manager=True) as session:
        elsewhere = empty_folder(session, "nowhere")
        game = session.start_game(progress=None, data=False, cwd=elsewhere)
        session.answer_box("ERROR", "Return")
        code = game.wait_exit(30)
        check(code == 1, "the game ends with exit code 1 (got %d)" % code)
        said = game.output()
        log("standard error: %r" % said)
        check(elsewhere in said and game.folder in said,
              "standard error names the working folder and the program's folder")
        check(os.listdir(elsewhere) == [], "nothing is created in the working folder")
        check(game.progress_file() is None, "no Data.dat is created beside the program")
        no_sanitizer_report(game)


def both():
    from_another_folder()
    no_data_anywhere()


run(both)
