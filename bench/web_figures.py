#!/usr/bin/env python3
"""The browser game's figures, each beside its floor measured in the same run of one headless
Chromium (the web test's: SwiftShader WebGL, sound without a gesture), printed as one table:

    bench/web_figures.py SITE BARE_PAGE

SITE is the built site (build-web/site); BARE_PAGE the folder of bare_window.html, the bare
SDL + WebGL program of bench/bare_window.cpp built with the same data preloaded
(bench/run_web_benchmarks.sh builds both). Both, and bench/web_textured_quad.html, are served
from one folder on 127.0.0.1.

- browser CPU on the still main menu (the logo's hold and the fade over, nothing drawn, the
  music playing), against level 1's in the same run: at most 0.03x; beside it, what the browser
  spends on a page that only plays silence as SDL plays sound there (bench/web_silent_sound.html);
- frames a second in level 1, against the page drawing one textured quad: 60, and at least 0.8x;
- navigation to the first frame (the first WebGL clear or draw), against the bare page: at most
  1.3x;
- transfer: tolvar.wasm and tolvar.js gzipped at most 1.5 MB, the whole page at most 7 MB, as a
  server that compresses sends it (each file gzipped); its plain size beside it.
"""

import gzip
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import SITE_PORT, Browser, SiteServer  # noqa: E402
from x_desktop import log, wait_for  # noqa: E402  (on the path browser adds)

HERE = os.path.dirname(os.path.abspath(__file__))
PROBES = os.path.join(HERE, "..", "tests", "web", "page_probes.js")
MEASURE_SECONDS = 10
STILL_LOOK_SECONDS = 2
MEGABYTE = 1000 * 1000
PAGE_FILES = ("index.html", "tolvar.js", "tolvar.wasm", "tolvar.data", "favicon.png")


class Measured:
    def __init__(self, browser):
        self.browser = browser
        self.page = browser.page

    def open(self, path):
        self.page.call("Page.navigate", url=self.url + path)
        return wait_for(lambda: self.page.evaluate(
            "self.tolvarProbes && tolvarProbes.firstFrameAt"), 120, "%s's first frame" % path,
            interval=0.02)

    def frames(self):
        return self.page.evaluate("tolvarProbes.frames")

    def wait_still(self, what):
        """Waits until the page draws no frame for STILL_LOOK_SECONDS."""
        def still():
            before = self.frames()
            time.sleep(STILL_LOOK_SECONDS)
            return self.frames() == before
        wait_for(still, 120, what, interval=0)

    def wait_drawing(self, what):
        """Waits until the page draws a frame in each of a few looks in a row."""
        def drawing():
            counts = [self.frames()]
            for _ in range(3):
                time.sleep(0.1)
                counts.append(self.frames())
            return all(later > earlier for earlier, later in zip(counts, counts[1:]))
        wait_for(drawing, 60, what, interval=0)

    def over(self, seconds):
        """(CPU seconds a second, frames a second) of the browser over the next seconds."""
        cpu_before, frames_before = self.browser.cpu_seconds(), self.frames()
        started = time.monotonic()
        time.sleep(seconds)
        elapsed = time.monotonic() - started
        return ((self.browser.cpu_seconds() - cpu_before) / elapsed,
                (self.frames() - frames_before) / elapsed)

    def press(self, key):
        self.page.key_event("keyDown", key)
        self.page.key_event("keyUp", key)


def link_folder(folder, source, names=None):
    for name in names or os.listdir(source):
        os.symlink(os.path.join(source, name), os.path.join(folder, name))


def row(figure, mine, floor, target, met):
    print("| %s | %s | %s | %s | %s |" % (figure, mine, floor, target, "yes" if met else "NO"))


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    site, bare = (os.path.abspath(argument) for argument in sys.argv[1:])
    with tempfile.TemporaryDirectory(prefix="tolvar-web-bench-") as folder:
        served = os.path.join(folder, "served")
        os.makedirs(os.path.join(served, "bare"))
        link_folder(served, site)
        link_folder(os.path.join(served, "bare"), bare)
        for floor_page in ("web_textured_quad.html", "web_silent_sound.html"):
            os.symlink(os.path.join(HERE, floor_page),
                       os.path.join(served, floor_page.replace("web_", "", 1)))
        server = SiteServer(served, os.path.join(folder, "server.log"), SITE_PORT + 1)
        browser = Browser(os.path.join(folder, "profile"), os.path.join(folder, "chromium.log"))
        try:
            browser.page.call("Page.enable")
            browser.page.call("Emulation.setDeviceMetricsOverride", width=1024, height=768,
                              deviceScaleFactor=1, mobile=False)
            with open(PROBES) as probes:
                browser.page.call("Page.addScriptToEvaluateOnNewDocument", source=probes.read())
            measured = Measured(browser)
            measured.url = server.url

            game_first_frame = measured.open("index.html")
            log("the game's first frame %.0f ms after navigation" % game_first_frame)
            # The logo is one frame held still: the menu comes with the fade's frames after it.
            wait_for(lambda: measured.frames() > 1, 60, "the fade from the logo")
            measured.wait_still("the still main menu")
            menu_cpu, menu_fps = measured.over(MEASURE_SECONDS)
            log("still main menu: %.3f CPU, %.1f frames a second" % (menu_cpu, menu_fps))
            measured.press("Down")
            measured.press("Return")
            measured.wait_drawing("the fade to the play menu")
            measured.wait_still("the still play menu")
            measured.press("Return")
            measured.wait_drawing("level 1")
            time.sleep(STILL_LOOK_SECONDS)  # the fade into the level
            level_cpu, level_fps = measured.over(MEASURE_SECONDS / 2)
            log("level 1: %.3f CPU, %.1f frames a second" % (level_cpu, level_fps))

            measured.open("textured_quad.html")
            measured.wait_drawing("the textured quad")
            _, quad_fps = measured.over(MEASURE_SECONDS / 2)
            browser.page.call("Page.navigate", url=server.url + "silent_sound.html")
            wait_for(lambda: browser.page.evaluate(
                "typeof context !== 'undefined' && context.state === 'running'"), 30,
                "the silence playing")
            silence_cpu, _ = measured.over(MEASURE_SECONDS)
            bare_first_frame = measured.open("bare/bare_window.html")
        finally:
            browser.close()
            server.close()

    def plain(names):
        return sum(os.path.getsize(os.path.join(site, name)) for name in names)

    def gzipped(names):
        return sum(len(gzip.compress(open(os.path.join(site, name), "rb").read(), 6))
                   for name in names)

    code_files = ("tolvar.js", "tolvar.wasm")
    code, code_gzipped = plain(code_files), gzipped(code_files)
    page, page_gzipped = plain(PAGE_FILES), gzipped(PAGE_FILES)

    print("| figure | Tolvar | floor | target | met |")
    print("|---|---|---|---|---|")
    ratio = menu_cpu / level_cpu
    row("browser CPU, still main menu", "%.1f%% of a core (%.3fx level 1's)"
        % (100 * menu_cpu, ratio), "level 1: %.1f%%; a page playing silence: %.1f%% (%.3fx)"
        % (100 * level_cpu, 100 * silence_cpu, silence_cpu / level_cpu), "at most 0.03x",
        ratio <= 0.03)
    row("frames a second, level 1", "%.1f" % level_fps, "one textured quad: %.1f" % quad_fps,
        "60, at least 0.8x", level_fps >= 59 and level_fps >= 0.8 * quad_fps)
    ratio = game_first_frame / bare_first_frame
    row("navigation to first frame", "%.0f ms (%.2fx)" % (game_first_frame, ratio),
        "bare SDL + WebGL page, same data: %.0f ms" % bare_first_frame, "at most 1.3x",
        ratio <= 1.3)
    row("transfer", "wasm + js %.2f MB gzipped (%.2f MB plain); page %.2f MB gzipped (%.2f MB "
        "plain)" % (code_gzipped / MEGABYTE, code / MEGABYTE, page_gzipped / MEGABYTE,
                    page / MEGABYTE), "-", "1.5 MB gzipped; 7 MB",
        code_gzipped <= 1.5 * MEGABYTE and page_gzipped <= 7 * MEGABYTE)
    return 0


sys.exit(main())
