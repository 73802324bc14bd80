#!/usr/bin/env python3
"""The screen shrinks under a full-screen game with no window manager: xrandr switches a
1600x1200 screen to 1024x768 while the game's window covers it by itself.

Nobody resizes a window when the screen changes size: the game notices by itself and covers the
smaller screen, the whole main menu shows, and Quit, clicked where it now is, ends the game
with 0.
"""

from e2e_session import Session, check, quit_from_main_menu, run, wait_for


def window_geometry(session):
    window = session.find_window("Tolvar")
    return window[2:] if window else None


def screen_shrinks():
    with Session("1600x1200", later_screens=("1024x768",)) as session:
        game = session.start_game(progress=b"1")
        wait_for(lambda: window_geometry(session) == (0, 0, 1600, 1200), 40,
                 "the window to cover the 1600x1200 screen")
        wait_for(lambda: not session.grab().is_black(), 20, "the game to draw on the screen")
        session.set_screen_size("1024x768")
        wait_for(lambda: window_geometry(session) == (0, 0, 1024, 768), 10,
                 "the window to cover the screen again at 1024x768")
        session.wait_screen("menu", 40)
        check(window_geometry(session) == (0, 0, 1024, 768),
              "the whole main menu shows on the smaller screen")
        quit_from_main_menu(session, game, "Quit clicked on the menu")


run(screen_shrinks)
