#!/usr/bin/env python3
"""The game in the browser, as a player meets it: two visits with the same browser profile.

The site (TOLVAR_WEB_SITE) is served on 127.0.0.1 at a fixed port and played in Debian's headless
Chromium; the screens are compared with the pictures of a desktop build's Data/ folder
(TOLVAR_E2E_DATA), as the desktop tests compare them.

First visit, a new player:
- the first picture the canvas shows is the logo, not black; then the main menu, matching the
  desktop's picture;
- the music plays (the page's sound output is above silence);
- Down shows the yellow focus ring around Play; M silences the music, and Settings.txt in the
  page's store then says "music = off";
- Enter, Enter: level 1, which moves, with ink in the HUD;
- back to the main menu and Quit: the canvas gives way to the end page, with its link to play
  again; Data.dat is in the store.
Between the visits the store's Data.dat is given progress 3, as a player who reached level 3 has.
Second visit, the same profile: no music (the setting was found), M brings it back; the level
select shows the labels of levels 1 to 3 and not 4 (the progress was found).
"""

import base64
import json
import os
import sys
import tempfile

from browser import Browser, SiteServer

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_session import (HUD_COUNT, MAIN_MENU_PLAY, check, required_environment,  # noqa: E402
                         run)
from game_pictures import (DRAWING_HEIGHT, DRAWING_WIDTH, PICTURE_MATCH,  # noqa: E402
                           GamePictures, is_level)
from x_desktop import log, wait_for  # noqa: E402
from x_display import Image  # noqa: E402

PROBES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "page_probes.js")

# SwiftShader filters the pictures a little differently from Mesa's llvmpipe: the same screens
# read up to this many times the desktop's limit.
RENDERER_SLACK = 1.4
# Just above the main menu's Play button (its rectangle 440, 390 to 530, 430): the ring's top bar.
PLAY_RING = (430, 380, 110, 12)
PLAY_MENU_LEVEL_SELECT = (495, 455)
# Level-select labels: the 25 pixels above each baseline, from x 410 to 560.
LABEL_ROWS = {1: 325, 2: 385, 3: 445, 4: 505, 5: 565}
AUDIBLE = 0.01  # the music's peak is well above this
SILENT = 0.0005  # what SDL sends once the music is off is zeros
SILENT_LOOKS = 6  # looks in a row, each at the last 2048 samples

# Reads the player's files the page keeps in IndexedDB (Emscripten's IDBFS: one database per
# mounted folder, its files as records keyed by path, their bytes in `contents`): the texts of
# the files named NAME, each after it was replaced by REPLACEMENT where that is not null.
STORED_FILES = """(async (name, replacement) => {
  const asked = (request) => new Promise((done, failed) => {
    request.onsuccess = () => done(request.result);
    request.onerror = () => failed(request.error);
  });
  const texts = [];
  for (const info of await indexedDB.databases()) {
    const database = await asked(indexedDB.open(info.name));
    for (const storeName of database.objectStoreNames) {
      const store = database.transaction(storeName, replacement === null ? "readonly"
                                         : "readwrite").objectStore(storeName);
      for (const key of await asked(store.getAllKeys())) {
        if (typeof key !== "string" || !key.endsWith("/" + name)) continue;
        const record = await asked(store.get(key));
        if (replacement !== null) {
          record.contents = new TextEncoder().encode(replacement);
          record.timestamp = new Date();
          await asked(store.put(record, key));
        }
        texts.push(new TextDecoder().decode(record.contents));
      }
    }
    database.close();
  }
  return texts;
})"""


class Visit:
    """One visit to the site in a Chromium on the profile folder."""

    def __init__(self, test_folder, profile, url, pictures):
        self.pictures = pictures
        self.browser = Browser(profile, os.path.join(test_folder, "chromium.log"))
        self.page = self.browser.page
        self.page.call("Runtime.enable")
        self.page.call("Page.enable")
        self.page.call("Emulation.setDeviceMetricsOverride", width=DRAWING_WIDTH,
                       height=DRAWING_HEIGHT, deviceScaleFactor=1, mobile=False)
        self.page.call("Page.addScriptToEvaluateOnNewDocument",
                       source="self.tolvarKeepPixels = true;")
        with open(PROBES) as probes:
            self.page.call("Page.addScriptToEvaluateOnNewDocument", source=probes.read())
        self.page.call("Page.navigate", url=url)
        self.canvas = None

    def close(self):
        self.browser.close()

    def frames(self):
        return self.page.evaluate("self.tolvarProbes ? tolvarProbes.frames : 0")

    def find_canvas(self):
        """The canvas's place on the page once it shows a frame: x, y, width, height."""
        wait_for(lambda: self.frames() > 0, 120, "the page's first frame", interval=0.1)
        self.canvas = self.page.evaluate(
            "(() => { const box = document.querySelector('canvas').getBoundingClientRect();"
            " return [box.x, box.y, box.width, box.height]; })()")
        log("the canvas is at %s" % self.canvas)
        check(abs(self.canvas[2] * 3 - self.canvas[3] * 4) < 4, "the canvas is 4:3")

    def grab(self, x=0, y=0, width=DRAWING_WIDTH, height=DRAWING_HEIGHT, step=None):
        """Pixels of a rectangle of the drawing space as the last frame left them, one a unit.
        A large one is read at every 4th pixel of every 4th row and stretched back (a whole
        frame's bytes take seconds through the DevTools socket): the pixels at places that are
        multiples of 4 from its corner, all the checks of large grabs look at, are the frame's
        own."""
        step = step or (4 if width * height > 100000 else 1)
        return self.image(self.page.evaluate(
            "tolvarProbes.pixels(%d, %d, %d, %d, %d)" % (x, y, width, height, step)),
            width, height)

    def first_frame(self):
        """The page's first frame, as the page kept it."""
        return self.image(wait_for(lambda: self.page.evaluate("tolvarProbes.firstFrame"), 30,
                                   "the first frame kept"), DRAWING_WIDTH, DRAWING_HEIGHT)

    @staticmethod
    def image(pixels, width, height):
        """An image of width x height from what tolvarProbes.pixels() gave."""
        columns, rows, rgba = pixels
        image = Image.from_rgba(columns, rows, base64.b64decode(rgba))
        return image.resized(width, height) if (columns, rows) != (width, height) else image

    def wait_screen(self, name, timeout=60):
        """Waits until the canvas shows the picture of name and two looks in a row agree (a fade
        is over; in a level, the right-hand panel); returns the last look."""
        state = {"last": None}

        def settled():
            image = self.grab()
            last, state["last"] = state["last"], image
            if last is None or not self.pictures.shows(name, image, RENDERER_SLACK):
                return None
            if is_level(name):
                panel = (850, 0, 174, 768)
                return image if image.crop(*panel).mean_difference(last.crop(*panel)) < 0.5 \
                    else None
            return image if image.mean_difference(last, 4) < 0.5 else None

        image = wait_for(settled, timeout, "the %s screen" % name, interval=0.05)
        log("the canvas shows %s (difference %.2f)" % (name, self.pictures.difference(image, name)))
        return image

    def press(self, key, until=None, what=None):
        """Presses and releases a key; with until, holds it until until() is true."""
        self.page.key_event("keyDown", key)
        if until is not None:
            wait_for(until, 30, what or "%s to take effect" % key)
        self.page.key_event("keyUp", key)

    def click(self, x, y):
        left, top, canvas_width, _ = self.canvas
        unit = canvas_width / DRAWING_WIDTH
        self.page.click(left + x * unit, top + y * unit)

    def loudness(self):
        return self.page.evaluate("self.tolvarProbes ? tolvarProbes.loudness() : 0")

    def wait_audible(self):
        wait_for(lambda: self.loudness() > AUDIBLE, 60, "the music to be heard")

    def wait_silent(self):
        looks = {"silent": 0}

        def silent_for_a_while():
            looks["silent"] = looks["silent"] + 1 if self.loudness() < SILENT else 0
            return looks["silent"] >= SILENT_LOOKS

        wait_for(silent_for_a_while, 30, "the music to stop", interval=0.05)

    def stored(self, name, replacement=None):
        return self.page.evaluate("%s(%s, %s)" % (STORED_FILES, json.dumps(name),
                                                  json.dumps(replacement)))


def yellow_pixels(image):
    count = 0
    for y in range(image.height):
        for x in range(image.width):
            red, green, blue = image.pixel(x, y)
            count += red > 170 and green > 170 and blue < 110
    return count


def label_difference(visit, level):
    """How far the place of a level's label differs from the bare level-select picture."""
    label = (410, LABEL_ROWS[level] + 1, 150, 24)
    return visit.grab(*label).mean_difference(visit.pictures.reference("levelselect").crop(*label))


def first_visit(visit, pictures):
    visit.find_canvas()
    first = visit.first_frame()
    check(not first.is_black() and pictures.shows("logo", first, RENDERER_SLACK),
          "the first frame is the logo, not black (nearest %s, difference %.2f)"
          % pictures.classify(first))
    menu = visit.wait_screen("menu")
    difference = pictures.difference(menu, "menu", 8)
    check(difference < PICTURE_MATCH * RENDERER_SLACK,
          "the main menu is the desktop's picture (mean difference %.2f over every 8th pixel)"
          % difference)
    visit.wait_audible()
    log("ok: the music plays (peak %.3f)" % visit.loudness())

    visit.press("Down", until=lambda: yellow_pixels(visit.grab(*PLAY_RING)) > 100,
                what="the yellow ring around Play")
    log("ok: Down shows the yellow ring around Play")
    visit.press("m")
    visit.wait_silent()
    settings = wait_for(lambda: [text for text in visit.stored("Settings.txt")
                                 if "music = off" in text], 30, "Settings.txt saved")
    check("music = off" in settings[0], "M silences the music and saves \"music = off\"")

    visit.press("Return")
    visit.wait_screen("playmenu")
    visit.press("Return")
    level = visit.wait_screen("level1")
    wait_for(lambda: visit.grab(0, 0, 600, 640).mean_difference(level.crop(0, 0, 600, 640), 4)
             > 0.05, 30, "level 1 to move")
    hud = visit.grab(*HUD_COUNT).mean_difference(pictures.reference("level1").crop(*HUD_COUNT))
    check(hud > 8, "level 1 moves, with ink in the HUD (difference %.1f)" % hud)

    # Paused with Escape: start over, level select, main menu in reading order.
    visit.press("Escape", until=lambda: visit.grab().mean_difference(
        pictures.reference("level1"), 4) > 30, what="the paused scene")
    for _ in range(3):
        visit.press("Down")
    visit.press("space")
    visit.wait_screen("menu")
    for _ in range(3):
        visit.press("Tab")  # Play, Help, Quit
    visit.press("Return")
    end = wait_for(lambda: visit.page.evaluate(
        "(() => { const canvas = document.querySelector('canvas');"
        " const shown = canvas && canvas.getClientRects().length > 0"
        " && getComputedStyle(canvas).visibility !== 'hidden';"
        " const link = [...document.querySelectorAll('a[href]')].find("
        "   (a) => a.getClientRects().length > 0);"
        " return !shown && link ? document.body.innerText : null; })()"), 30, "the end page")
    log("ok: Quit leaves the end page: %r" % " ".join(end.split()))
    # The end is thrown on the page in the task that shows it, so it is already reported here.
    thrown = [event["params"]["exceptionDetails"].get("text") for event in visit.page.events
              if event["method"] == "Runtime.exceptionThrown"]
    check(not thrown, "nothing was thrown on the page from the logo to the end (%r)" % thrown)
    progress = visit.stored("Data.dat")
    check(progress == ["1"], "the store holds Data.dat with progress 1 (%r)" % progress)
    visit.stored("Data.dat", "3")


def second_visit(visit, pictures):
    visit.find_canvas()
    visit.wait_screen("menu")
    visit.wait_silent()
    check(visit.stored("Settings.txt")[0].count("music = off") == 1,
          "the second visit finds music = off: no music")
    visit.press("m")
    visit.wait_audible()
    log("ok: M brings the music back")

    visit.click(*MAIN_MENU_PLAY)
    visit.wait_screen("playmenu")
    visit.click(*PLAY_MENU_LEVEL_SELECT)
    visit.wait_screen("levelselect")
    wait_for(lambda: label_difference(visit, 1) > 8, 30, "the labels drawn")
    differences = [round(label_difference(visit, level), 1) for level in LABEL_ROWS]
    check(all(difference > 8 for difference in differences[:3]) and
          all(difference < 3 for difference in differences[3:]),
          "the second visit finds progress 3: labels of levels 1 to 3 only %s" % differences)


def two_visits():
    site = required_environment("TOLVAR_WEB_SITE")
    pictures = GamePictures(required_environment("TOLVAR_E2E_DATA"))
    pictures.read_all()
    with tempfile.TemporaryDirectory(prefix="tolvar-web-") as folder:
        server = SiteServer(site, os.path.join(folder, "server.log"))
        profile = os.path.join(folder, "profile")
        try:
            for check_visit in (first_visit, second_visit):
                log("-- %s" % check_visit.__name__.replace("_", " "))
                visit = Visit(folder, profile, server.url, pictures)
                try:
                    check_visit(visit, pictures)
                finally:
                    visit.close()
        finally:
            server.close()


run(two_visits)
