#!/usr/bin/env python3
"""Every click rectangle of every screen, clicked at its centre with the real mouse.

With Data.dat holding 5 (every level unlocked) and the even deal, the test walks the main menu,
help, play menu, level select, the three buttons of each of the five levels, the credits (by
playing level 5 to its end) and game over (by letting three blocks fall on one side), checking
after every click which picture the screen shows. On every screen that has rectangles, one click
lands exactly on an exclusive bound and must change nothing. Quit ends the run.
"""

import time

from e2e_session import (Session, check, falling_block_top, hud_count, log,
                         no_sanitizer_report, required_environment, run, steer_blocks, wait_for)

MAIN_MENU = {"play": (485, 410), "help": (485, 460), "quit": (485, 510)}
PLAY_MENU = {"back": (495, 490), "level select": (495, 455), "new game": (495, 420)}
LEVEL_SELECT = {"back": (95, 722), 1: (485, 337), 2: (485, 397), 3: (485, 457), 4: (485, 517),
                5: (485, 577)}
# The in-level buttons, x 891..944 inclusive, y per level (the middle of each range).
LEVEL_BUTTONS = {
    1: {"menu": (917, 610), "new game": (917, 545), "level select": (917, 577)},
    2: {"menu": (917, 595), "new game": (917, 525), "level select": (917, 560)},
    3: {"menu": (917, 577), "new game": (917, 512), "level select": (917, 544)},
    4: {"menu": (917, 575), "new game": (917, 512), "level select": (917, 542)},
    5: {"menu": (917, 615), "new game": (917, 552), "level select": (917, 582)},
}
# One exclusive bound per screen with rectangles: a click there must change nothing.
BOUNDS = {
    "menu": (440, 410),  # Play: 440 < x
    "playmenu": (400, 490),  # Back: 400 < x
    "levelselect": (410, 337),  # Level 1: 410 < x
    "level1": (890, 610),  # the buttons: 891 <= x
    "level2": (945, 595),  # x <= 944
    "level3": (917, 565),  # main menu: 566 <= y
    "level4": (917, 590),  # main menu: y <= 589
    "level5": (917, 540),  # start over: 541 <= y
}


def is_level(screen):
    return screen.startswith("level") and screen != "levelselect"


def steady_part(session, screen, image):
    """What must not change when nothing happens: the whole of a picture screen; in a level the
    panel on the right above and below the block count (blocks fall in the middle)."""
    if is_level(screen):
        return [image.crop(850, 0, 174, 180), image.crop(850, 210, 174, 558)]
    return [image]


class Tour:
    def __init__(self, session, game):
        self.session = session
        self.game = game
        self.screen = None
        self.clicked = 0

    def arrive(self, screen):
        self.screen = screen
        self.session.wait_screen(screen, 30)

    def click(self, point, screen):
        self.session.click(*point)
        self.clicked += 1
        self.arrive(screen)

    def bound(self):
        point = BOUNDS[self.screen]
        before = steady_part(self.session, self.screen, self.session.grab_steady())
        self.session.click(*point)
        time.sleep(0.8)
        after = steady_part(self.session, self.screen, self.session.grab_steady())
        check(all(a.mean_difference(b, 2) < 0.5 for a, b in zip(after, before)),
              "a click on the bound (%d, %d) of %s does nothing" % (point + (self.screen,)))

    def to_level_select(self):
        """From the main menu."""
        self.click(MAIN_MENU["play"], "playmenu")
        self.click(PLAY_MENU["level select"], "levelselect")

    def start_level(self, level):
        """From the level-select screen."""
        self.click(LEVEL_SELECT[level], "level%d" % level)

    def level_button(self, level, button, screen):
        self.click(LEVEL_BUTTONS[level][button], screen)


def tour():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"5",
                                  preloads=[required_environment("TOLVAR_E2E_EVEN_DEAL")])
        t = Tour(session, game)
        t.arrive("menu")
        t.bound()

        # Help: a click anywhere, or Escape, goes back.
        t.click(MAIN_MENU["help"], "help")
        session.screenshot("04-help")
        t.click((100, 100), "menu")
        t.click(MAIN_MENU["help"], "help")
        session.key("Escape")
        t.arrive("menu")

        # Play menu and level select, with their Back rectangles.
        t.click(MAIN_MENU["play"], "playmenu")
        t.bound()
        t.click(PLAY_MENU["back"], "menu")
        t.to_level_select()
        t.bound()
        t.click(LEVEL_SELECT["back"], "playmenu")
        t.click(PLAY_MENU["level select"], "levelselect")

        # Every level from its label, each left by its level-select button.
        for level in (1, 2, 3, 4, 5):
            t.start_level(level)
            t.bound()
            if level > 1:
                session.screenshot("%02d-level-%d" % (5 + level, level))
            t.level_button(level, "level select", "levelselect")

        # The main-menu button of every level.
        for level in (1, 2, 3, 4, 5):
            if t.screen == "menu":
                t.to_level_select()
            t.start_level(level)
            t.level_button(level, "menu", "menu")

        # The start-over button of every level leads to a new level 1. In level 1 itself the
        # screen stays; the falling block starts again from the top.
        t.to_level_select()
        for level in (2, 3, 4, 5):
            t.start_level(level)
            t.level_button(level, "new game", "level1")
            if level == 2:
                low = wait_for(lambda: (lambda top: top if top[1] > 250 else None)(
                    falling_block_top(session, "level1") or (0, 0)), 15, "the block to fall")
                count = hud_count(session)
                # Looked for at once after the click, before the new block is past the top:
                # however long the game takes to answer, the old block only goes lower.
                session.click(*LEVEL_BUTTONS[1]["new game"])
                t.clicked += 1
                again = wait_for(lambda: (lambda top: top if top[1] < low[1] - 150 else None)(
                    falling_block_top(session, "level1") or (0, 10000)), 15,
                    "a block high above where the old one was")
                t.arrive("level1")
                check(hud_count(session).same_as(count), "start over in level 1 starts the "
                      "level again (the block fell to %d, the new one is at %d, and no block "
                      "landed between)" % (low[1], again[1]))
            t.level_button(1, "level select", "levelselect")

        # Level 5 played to its end: the credits, with no countdown; a click goes back.
        t.start_level(5)
        steer_blocks(session, 30)
        t.arrive("credits")
        session.screenshot("13-credits")
        t.click((300, 300), "menu")

        # Three blocks of 4 on one side break level 1's balance of 9: game over.
        t.click(MAIN_MENU["play"], "playmenu")
        t.click(PLAY_MENU["new game"], "level1")
        session.key_down("Down")
        try:
            t.arrive("gameover")
        finally:
            session.key_up("Down")
        session.screenshot("12-game-over")
        t.click((300, 300), "menu")

        session.click(*MAIN_MENU["quit"])
        code = game.wait_exit(30)
        log("%d rectangles clicked" % (t.clicked + 1))
        check(code == 0, "Quit ends the program with exit code 0 (got %d)" % code)
        no_sanitizer_report(game)


run(tour)
