#!/usr/bin/env python3
"""Windowed play on purpose, on a 1280x1024 screen with openbox.

--windowed gives a window whose client area is 1024x768, placed by the window manager (centred)
rather than at the screen's corner; Alt+Enter makes it cover the screen,
F11 brings the window back, and the main menu's Quit still works through the window: exit code 0.
"""

from e2e_session import Session, check, log, quit_from_main_menu, run, wait_for


def client_size(session):
    window = session.find_window("Tolvar")
    return window[4:] if window else None


def shows_menu_in_window(session):
    """The menu in the window, wherever the window manager has placed it by now."""
    session.origin = session.find_window("Tolvar")[2:4]
    return session.shows("menu")


def windowed_then_full_screen_then_windowed():
    with Session("1280x1024", window_manager=True) as session:
        game = session.start_game(progress=b"1", arguments=["--windowed"])
        session.wait_window("Tolvar", 30)
        check(client_size(session) == (1024, 768), "--windowed gives a 1024x768 client area")
        wait_for(lambda: shows_menu_in_window(session), 40, "the menu in the window")
        x, y = session.origin
        check(x > 64 and y > 64 and x + 1024 < 1280 and y + 768 < 1024,
              "the window is placed inside the screen, not at its corner (%d, %d)" % (x, y))

        session.xdotool("key", "alt+Return")
        wait_for(lambda: client_size(session) == (1280, 1024), 10, "the window to cover the screen")
        log("ok: Alt+Enter makes the window cover the 1280x1024 screen")
        session.key("F11")
        wait_for(lambda: client_size(session) == (1024, 768), 10, "the window to come back")
        log("ok: F11 brings the 1024x768 window back")

        wait_for(lambda: shows_menu_in_window(session), 20, "the menu in the window again")
        check(game.running(), "the game runs on in the window")
        quit_from_main_menu(session, game, "Quit through the window")


run(windowed_then_full_screen_then_windowed)
