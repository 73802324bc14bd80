#!/usr/bin/env python3
"""The whole picture on a 2048x1536 screen, with openbox and with no window manager at all.

On each, the window covers the screen, the main menu seen at half size matches the main menu of
a 1024x768 screen (under 3 % of its pixels differ by more than a tenth), and the HUD of level 1
lights a box twice as wide and as high as on the 1024x768 screen: the text scales with the view.
"""

from e2e_session import Session, check, log, new_game, no_sanitizer_report, run

# The HUD's last three lines ("Balance", "differential: 9", "Blocks left: 10"), in drawing units.
HUD_LINES = (850, 130, 174, 85)


def white_box(image):
    """(width, height) of the box around the pure white pixels: level 1's HUD text."""
    left, top, right, bottom = image.width, image.height, -1, -1
    for y in range(image.height):
        for x in range(image.width):
            if image.pixel(x, y) == (255, 255, 255):
                left, top = min(left, x), min(top, y)
                right, bottom = max(right, x), max(bottom, y)
    return (right - left + 1, bottom - top + 1) if right >= 0 else (0, 0)


def share_differing(image, other):
    """The share of pixels in which some channel differs by more than a tenth of its range."""
    differing = 0
    for offset in range(0, len(image.data), 4):
        for channel in range(3):
            if abs(image.data[offset + channel] - other.data[offset + channel]) > 25.5:
                differing += 1
                break
    return differing / (image.width * image.height)


def menu_and_hud(screen, window_manager, screenshots=False):
    """The main menu seen at the size of the drawing space, and the HUD's white box in pixels."""
    with Session(screen, window_manager=window_manager) as session:
        width, height = (int(side) for side in screen.split("x"))
        session.scale = height // 768
        game = session.start_game(progress=b"1")
        menu = session.wait_screen("menu", 40)
        window = session.wait_window("Tolvar", 10)
        check(window[2:] == (0, 0, width, height),
              "on %s the window covers the screen (%s)" % (screen, window[2:]))
        if screenshots:
            session.screenshot("%s-main-menu" % screen, session.grab_pixels())
        new_game(session)
        hud = white_box(session.grab_pixels(*HUD_LINES))
        if screenshots:
            session.screenshot("%s-level-1" % screen, session.grab_pixels())
        log("HUD text box on %s: %dx%d pixels" % (screen, hud[0], hud[1]))
        check(game.running(), "the game still runs")
        game.process.terminate()
        game.wait_exit(20)
        no_sanitizer_report(game)
        return menu, hud


def whole_picture_on_large_screens():
    small_menu, small_hud = menu_and_hud("1024x768", window_manager=True)
    check(small_hud[0] > 50 and small_hud[1] > 20, "the HUD text shows at 1024x768")
    for window_manager in (True, False):
        what = "with openbox" if window_manager else "with no window manager"
        menu, hud = menu_and_hud("2048x1536", window_manager, screenshots=window_manager)
        differing = share_differing(menu, small_menu)
        log("MEASURED: %.2f %% of the main menu's pixels differ, %s" % (100 * differing, what))
        check(differing < 0.03, "the main menu at half size matches the 1024x768 one, " + what)
        ratios = (hud[0] / small_hud[0], hud[1] / small_hud[1])
        check(all(1.9 <= ratio <= 2.1 for ratio in ratios),
              "the HUD text is twice as large, %s (%.2f x %.2f)" % ((what,) + ratios))


run(whole_picture_on_large_screens)
