#!/usr/bin/env python3
"""The full-screen question on a screen smaller than 1024x768 (800x600), answered both ways.

The real message boxes appear on the X server and are answered with real keys; a preloaded
library logs what each box said, so the test can check the texts exactly.
- Declined (Escape, the No button's key): "Program Will Now Close." follows, the program ends
  with exit code 0, no game window ever appears and no teardown message is shown.
- Accepted (Return, the Yes button's key): the game runs in a window that fits the screen, in
  the game's 4:3 shape; a click reaches the drawn Quit button through the window's frame.
And where no OpenGL window can be had at all (the GL library missing), no question is asked: the
window code's own "Can't Find A Suitable PixelFormat." is shown and the program ends with code 1.
"""

import os
import time

from e2e_session import (MAIN_MENU_QUIT, Session, check, log, no_sanitizer_report,
                         required_environment, run)

QUESTION = ("caption: Ravu GL\nbuttons: Yes No\n"
            "text: The Requested Fullscreen Mode Is Not Supported By\n"
            "Your Video Card. Use Windowed Mode Instead?\n--\n")
WILL_CLOSE = "caption: ERROR\nbuttons: OK\ntext: Program Will Now Close.\n--\n"


def start_with_box_log(session, name, extra_env=None):
    box_log = os.path.join(session.folder, name)
    game = session.start_game(
        progress=b"1", preloads=[required_environment("TOLVAR_E2E_MESSAGE_BOX_LOG_LIBRARY")],
        extra_env=dict(extra_env or {}, TOLVAR_E2E_MESSAGE_BOX_LOG=box_log))
    return game, box_log


def read_log(path):
    if not os.path.exists(path):
        return ""
    with open(path) as boxes:
        return boxes.read()


def declined():
    with Session("800x600", window_manager=True) as session:
        game, box_log = start_with_box_log(session, "declined-boxes.txt")
        session.wait_window("Ravu GL", 30)
        check(read_log(box_log) == QUESTION, "the question asks to use a window instead")
        session.answer_box("Ravu GL", "Escape")
        session.wait_window("ERROR", 30)
        check(read_log(box_log) == QUESTION + WILL_CLOSE,
              "declining shows \"Program Will Now Close.\" with the caption ERROR")
        session.answer_box("ERROR", "Return")
        code = game.wait_exit(30)
        check(code == 0, "the program then ends with exit code 0 (got %d)" % code)
        check(read_log(box_log) == QUESTION + WILL_CLOSE,
              "no other box (no teardown message) was shown")
        check(session.find_window("Tolvar") is None, "no game window appeared")
        no_sanitizer_report(game)


def accepted():
    with Session("800x600", window_manager=True) as session:
        game, box_log = start_with_box_log(session, "accepted-boxes.txt")
        session.answer_box("Ravu GL", "Return")
        window = session.wait_window("Tolvar", 30)
        # The window manager frames the window once it is mapped; read where it finally is.
        time.sleep(0.5)
        window = session.wait_window("Tolvar", 5)
        _, _, x, y, width, height = window
        log("the window's client area is %dx%d at (%d, %d)" % (width, height, x, y))
        check(width <= 800 and height <= 600 and abs(width * 3 - height * 4) <= 4,
              "answering Yes gives a window that fits the screen, in the game's 4:3 shape")
        check(read_log(box_log) == QUESTION, "only the question was shown")

        # Quit, where the scaled window draws it, is on the screen and takes a click: clicked
        # until the main menu is there to take it.
        quit_x = x + MAIN_MENU_QUIT[0] * width // 1024
        quit_y = y + MAIN_MENU_QUIT[1] * height // 768
        for _ in range(60):
            if not game.running():
                break
            session.xdotool("mousemove", str(quit_x), str(quit_y), "sleep", "0.05", "click", "1")
            time.sleep(0.5)
        code = game.wait_exit(10)
        check(code == 0, "Quit clicked in the window ends the game with exit code 0 (got %d)" % code)
        no_sanitizer_report(game)


def without_opengl():
    with Session("1024x768", window_manager=True) as session:
        game, box_log = start_with_box_log(session, "no-gl-boxes.txt",
                                           {"SDL_OPENGL_LIBRARY": "/nonexistent/libGL.so.1"})
        session.answer_box("ERROR", "Return")
        code = game.wait_exit(30)
        check(read_log(box_log) ==
              "caption: ERROR\nbuttons: OK\ntext: Can't Find A Suitable PixelFormat.\n--\n",
              "without OpenGL the one box says no pixel format was found")
        check(code == 1, "and the program ends with exit code 1 (got %d)" % code)
        no_sanitizer_report(game)


def both():
    declined()
    accepted()
    without_opengl()


run(both)
