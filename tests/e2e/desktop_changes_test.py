#!/usr/bin/env python3
"""The window follows the desktop: the window manager ends under a full-screen game on a
2048x1536 screen.

- openbox ends as it does on logout (SIGTERM) and gives the window its windowed size back: the
  game notices by itself and covers the whole screen again, the main menu whole at twice its size.
- Then openbox is started again and killed (SIGKILL, as a crash ends it): F11 brings the window
  back, and F11 again makes it cover the whole screen by itself with nobody left to ask; the whole
  main menu shows and Quit, clicked on it, ends the game with 0.
"""

import signal

from e2e_session import Session, check, log, quit_from_main_menu, run, wait_for

SCREEN = (2048, 1536)


def window_geometry(session):
    window = session.find_window("Tolvar")
    return window[2:] if window else None


def press_in_game(session, key):
    """A key pressed with the game's window focused: with no window manager nobody gives it the
    focus."""
    window = session.find_window("Tolvar")
    session.xdotool("windowfocus", "--sync", str(window[0]))
    session.key(key, hold=0.1)


def window_manager_ends():
    with Session("%dx%d" % SCREEN, window_manager=True) as session:
        session.scale = 2
        game = session.start_game(progress=b"1")
        session.wait_screen("menu", 40)
        check(window_geometry(session) == (0, 0) + SCREEN, "full screen under openbox")

        def end_openbox(number):
            openbox = next(process for process in session.processes
                           if process.args and process.args[0] == "openbox" and
                           process.poll() is None)
            openbox.send_signal(number)
            openbox.wait(timeout=10)
            log("openbox ended by %s" % signal.Signals(number).name)

        end_openbox(signal.SIGTERM)
        sizes = set()

        def covers_again():
            geometry = window_geometry(session)
            sizes.add(geometry)
            return geometry == (0, 0) + SCREEN and len(sizes) > 1
        wait_for(covers_again, 10, "the window to cover the screen again", interval=0.01)
        log("window geometries seen: %s" % sorted(sizes, key=str))
        session.wait_screen("menu", 20)
        check(window_geometry(session) == (0, 0) + SCREEN,
              "with openbox gone the window covers the screen again by itself, the menu whole")

        session.start_window_manager()
        wait_for(lambda: window_geometry(session) == (0, 0) + SCREEN, 10,
                 "the window to stay full screen under the new openbox")
        end_openbox(signal.SIGKILL)

        press_in_game(session, "F11")
        wait_for(lambda: (window_geometry(session) or (0, 0, 0, 0))[2:] == (1024, 768), 10,
                 "F11 to bring the 1024x768 window back")
        press_in_game(session, "F11")
        wait_for(lambda: window_geometry(session) == (0, 0) + SCREEN, 10,
                 "F11 again to cover the whole screen with no window manager")
        log("ok: the window covers the %dx%d screen again" % SCREEN)
        session.wait_screen("menu", 20)
        check(game.running(), "the whole main menu shows, laid out for the whole screen")
        quit_from_main_menu(session, game, "Quit clicked on the menu")


run(window_manager_ends)
