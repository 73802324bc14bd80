"""What every end-to-end test needs: its own X server, the game in a scratch folder, real input.

A Session starts an X desktop of its own (x_desktop: Xvfb on a display number the server picks
itself, or Xorg on its dummy driver where the screen must change size later, optionally openbox
as the window manager) and copies the built game (binary and Data/) to a temporary folder with a
fresh Data.dat. Input goes through xdotool (XTEST, the same path as a real keyboard and mouse);
pixels come back through x_display's GetImage. Everything the session started is killed when it
ends, whatever happened. The game's screens are recognised by game_pictures.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from game_pictures import DRAWING_HEIGHT, DRAWING_WIDTH, GamePictures, is_level
from x_desktop import E2EFailure, XDesktop, log, require_programs, wait_for

def check(condition, what):
    if not condition:
        raise E2EFailure(what)
    log("ok: " + what)


def required_environment(name):
    value = os.environ.get(name)
    if not value:
        raise E2EFailure("%s is not set; run the test through ctest" % name)
    return value


class GameRun:
    """The game running in its own working folder."""

    def __init__(self, session, folder, process):
        self.session = session
        self.folder = folder
        self.process = process
        self.started = time.monotonic()

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EFailure("the game did not end within %.1f s" % timeout)

    def progress_file(self):
        path = os.path.join(self.folder, "Data.dat")
        if not os.path.exists(path):
            return None
        with open(path, "rb") as data:
            return data.read()

    def cpu_seconds(self):
        """User and system CPU time of the whole process (every thread) so far."""
        with open("/proc/%d/stat" % self.pid) as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        ticks = os.sysconf("SC_CLK_TCK")
        return (int(fields[11]) + int(fields[12])) / ticks

    def output(self):
        texts = []
        for name in ("game.out", "game.err"):
            with open(os.path.join(self.folder, name), errors="replace") as stream:
                texts.append(stream.read())
        return "".join(texts)


class Session:
    def __init__(self, screen="1024x768", window_manager=False, compositor=False,
                 later_screens=()):
        """compositor: run the game natively on Wayland, under weston nested in the X server;
        later_screens: the sizes set_screen_size() may switch the screen to, which makes the X
        server Xorg on its dummy driver."""
        self.compositor = compositor
        self.window_manager = window_manager
        self.games = []
        self.folder = tempfile.mkdtemp(prefix="tolvar-e2e-")
        self.desktop = XDesktop(self.folder, screen, window_manager, compositor, later_screens)
        self._pictures = None
        self.screenshots = []
        # Where the drawing space's top-left corner is on the screen: (0, 0) in full screen,
        # moved by the window manager's frame in a window; and how many screen pixels a unit of
        # the drawing space spans (2 on a 2048x1536 screen in full screen).
        self.origin = (0, 0)
        self.scale = 1

    @property
    def env(self):
        """The environment of a program on the session's X server."""
        return self.desktop.env

    @property
    def display(self):
        return self.desktop.display

    @property
    def processes(self):
        """What runs the desktop: the X server, then openbox and weston where there are."""
        return self.desktop.processes

    # -- set-up and teardown -------------------------------------------------------------------

    def __enter__(self):
        try:
            require_programs(*self.desktop.programs(), "xdotool", "xwininfo", "convert",
                             *(("wmctrl",) if self.window_manager else ()),
                             *(("zenity",) if self.compositor else ()))
            self.desktop.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, kind, value, trace):
        if value is not None:
            for game in self.games:
                log("game output:\n" + game.output())
        self.close()
        return False

    def close(self):
        self._write_screenshots()
        for game in self.games:
            if game.running():
                game.process.kill()
                game.process.wait()
        self.desktop.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def set_screen_size(self, size):
        """Switches the screen to another of its sizes, as a user or a new monitor does, and
        waits until the X server gives new clients that size."""
        check(size in self.desktop.later_screens, "%s is one of the screen's sizes" % size)
        self.desktop.set_screen_size(size)

    def start_window_manager(self):
        """Starts openbox (again) and waits until it manages the screen."""
        self.desktop.start_window_manager()

    # -- the game -------------------------------------------------------------------------------

    def start_game(self, progress=b"1", preloads=(), extra_env=None, data=True, cwd=None,
                   arguments=(), prepare=None, stderr_closed=False):
        """Copies the game to a fresh folder and starts it. progress: Data.dat's bytes, or None
        for no Data.dat at all; data: whether Data/ is copied beside the program; cwd: the
        working folder to start in, the game's own folder when None; prepare: called with the
        folder before the start; stderr_closed: started with descriptor 2 closed, as some
        launchers do."""
        binary = required_environment("TOLVAR_E2E_GAME")
        required_data = required_environment("TOLVAR_E2E_DATA")
        self.read_references()
        folder = os.path.join(self.folder, "game%d" % len(self.games))
        os.makedirs(folder)
        shutil.copy2(binary, os.path.join(folder, "tolvar"))
        if data:
            shutil.copytree(required_data, os.path.join(folder, "Data"))
        if progress is not None:
            with open(os.path.join(folder, "Data.dat"), "wb") as data_file:
                data_file.write(progress)
        if prepare is not None:
            prepare(folder)
        env = dict(self.env)
        if self.compositor:
            # A Wayland client only: the X server is weston's, not the game's.
            env.pop("DISPLAY", None)
            env.update(self.desktop.wayland_env, SDL_VIDEODRIVER="wayland")
        # Keeps Mesa's driver loaded to the end, so that its leftovers carry its name in the leak
        # report (see gl_driver_pin_preload.cpp).
        libraries = [required_environment("TOLVAR_E2E_GL_DRIVER_PIN")] + list(preloads)
        env["LD_PRELOAD"] = ":".join(libraries)
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        if extra_env:
            env.update(extra_env)
        out = open(os.path.join(folder, "game.out"), "w")
        err = open(os.path.join(folder, "game.err"), "w")
        process = subprocess.Popen([os.path.join(folder, "tolvar")] + list(arguments),
                                   cwd=cwd or folder, env=env, stdout=out,
                                   stderr=None if stderr_closed else err,
                                   preexec_fn=(lambda: os.close(2)) if stderr_closed else None)
        out.close()
        err.close()
        game = GameRun(self, folder, process)
        self.games.append(game)
        log("game started, pid %d, Data.dat %r" % (process.pid, progress))
        return game

    # -- windows --------------------------------------------------------------------------------

    def windows(self):
        """Every named window on the screen: (id, name, x, y, width, height), absolute position."""
        result = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env,
                                capture_output=True, text=True)
        found = []
        pattern = re.compile(r'^\s+(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+'
                             r'\+(-?\d+)\+(-?\d+)')
        for line in result.stdout.splitlines():
            match = pattern.match(line)
            if match:
                found.append((int(match.group(1), 16), match.group(2), int(match.group(5)),
                              int(match.group(6)), int(match.group(3)), int(match.group(4))))
        return found

    def find_window(self, name):
        for window in self.windows():
            if window[1] == name:
                return window
        return None

    def wait_window(self, name, timeout):
        return wait_for(lambda: self.find_window(name), timeout, "a window named %r" % name)

    def wait_no_window(self, name, timeout):
        wait_for(lambda: self.find_window(name) is None, timeout, "%r to go away" % name)

    def mapped(self, window_id):
        result = subprocess.run(["xwininfo", "-id", str(window_id)], env=self.env,
                                capture_output=True, text=True)
        return "Map State: IsViewable" in result.stdout

    def answer_box(self, name, key):
        """Points at the message box named name and presses key on it."""
        window = self.wait_window(name, 30)
        _, _, x, y, width, height = window
        self.xdotool("mousemove", str(x + width // 2), str(y + 10), "sleep", "0.2", "key", key)
        return window

    # -- input ----------------------------------------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + list(args), env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def click(self, x, y):
        """A left click at (x, y) of the drawing space."""
        if self.compositor:
            # weston's X11 backend counts the pointer from where it last came in: bring it in at
            # the corner first.
            self.xdotool("mousemove", "0", "0", "sleep", "0.1")
        self.xdotool("mousemove", str(self.origin[0] + x * self.scale),
                     str(self.origin[1] + y * self.scale), "sleep", "0.05", "click", "1")
        log("click (%d, %d)" % (x, y))

    def key(self, name, hold=0.3):
        """Presses and releases a key, held long enough for several frames to see it: the game
        reads keys as held states, as a player's press lasts."""
        self.xdotool("keydown", name, "sleep", str(hold), "keyup", name)

    def key_down(self, name):
        self.xdotool("keydown", name)

    def key_up(self, name):
        self.xdotool("keyup", name)

    # -- looking at the screen --------------------------------------------------------------------

    def grab(self, x=0, y=0, width=DRAWING_WIDTH, height=DRAWING_HEIGHT):
        """Pixels of a rectangle of the drawing space, clipped to the screen, one a unit."""
        return self.grab_pixels(x, y, width, height).sampled(self.scale)

    def grab_pixels(self, x=0, y=0, width=DRAWING_WIDTH, height=DRAWING_HEIGHT):
        """The screen's own pixels over a rectangle of the drawing space, clipped to the screen."""
        left = self.origin[0] + x * self.scale
        top = self.origin[1] + y * self.scale
        width = min(width * self.scale, self.display.width - left)
        height = min(height * self.scale, self.display.height - top)
        return self.display.grab(left, top, width, height)

    @property
    def pictures(self):
        if self._pictures is None:
            self._pictures = GamePictures(required_environment("TOLVAR_E2E_DATA"))
        return self._pictures

    def read_references(self):
        """Reads every picture the screen is compared with. Called before a game starts: on a
        loaded machine reading them takes longer than a screen as short as the logo's stays up."""
        self.pictures.read_all()

    def reference(self, name):
        return self.pictures.reference(name)

    def difference(self, image, name):
        return self.pictures.difference(image, name)

    def classify(self, image=None):
        return self.pictures.classify(image if image is not None else self.grab())

    def shows(self, name, image=None):
        return self.pictures.shows(name, image if image is not None else self.grab())

    def wait_screen(self, name, timeout=30):
        """Waits until the screen shows the picture of name and has stopped changing (a fade is
        over); returns the last grab."""
        state = {"last": None}

        def settled():
            image = self.grab()
            last = state["last"]
            state["last"] = image
            if not self.shows(name, image) or last is None:
                return None
            if is_level(name):
                # Blocks move in a level: the right-hand panel must have settled instead.
                return image if image.crop(850, 0, 174, 768).same_as(last.crop(850, 0, 174, 768)) \
                    else None
            return image if image.mean_difference(last, 4) < 0.5 else None

        image = wait_for(settled, timeout, "the %s screen" % name, interval=0.15)
        log("screen shows %s" % name)
        return image

    def grab_steady(self, x=0, y=0, width=DRAWING_WIDTH, height=DRAWING_HEIGHT):
        """A grab that two looks in a row agree on: the driver may put a frame on screen in
        strips, and a look between two strips sees half of each frame."""
        last = self.grab(x, y, width, height)
        while True:
            image = self.grab(x, y, width, height)
            if image.same_as(last):
                return image
            last = image

    def screenshot(self, name, image=None):
        """Keeps a screenshot, written as a PNG when the session ends, and only when
        TOLVAR_SCREENSHOT_DIR names a folder."""
        if not os.environ.get("TOLVAR_SCREENSHOT_DIR"):
            return
        self.screenshots.append((name, image if image is not None else self.grab_steady()))
        log("screenshot %s" % name)

    def _write_screenshots(self):
        folder = os.environ.get("TOLVAR_SCREENSHOT_DIR")
        if not folder or not self.screenshots:
            return
        os.makedirs(folder, exist_ok=True)
        for name, image in self.screenshots:
            image.write_png(os.path.join(folder, name + ".png"))
        self.screenshots = []


def run(test):
    """Runs test(), reports the outcome and gives ctest its exit code."""
    try:
        test()
    except E2EFailure as failure:
        log("FAILED: %s" % failure)
        sys.exit(1)
    log("passed")
    sys.exit(0)


def no_sanitizer_report(game):
    output = game.output()
    for marker in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
        if marker in output:
            raise E2EFailure("the sanitizers reported a fault:\n" + output)


# -- the menus ---------------------------------------------------------------------------------

MAIN_MENU_PLAY = (485, 410)
MAIN_MENU_QUIT = (485, 510)
PLAY_MENU_NEW_GAME = (495, 420)


def new_game(session):
    """From the main menu on screen: Play, then New game; returns once level 1 shows."""
    session.click(*MAIN_MENU_PLAY)
    session.wait_screen("playmenu", 30)
    session.click(*PLAY_MENU_NEW_GAME)
    session.wait_screen("level1", 30)


def quit_from_main_menu(session, game, how="Quit"):
    """Clicks Quit on the main menu on screen: the game ends with exit code 0 and the sanitizers
    report nothing."""
    session.click(*MAIN_MENU_QUIT)
    code = game.wait_exit(30)
    check(code == 0, "%s ends the game with exit code 0 (got %d)" % (how, code))
    no_sanitizer_report(game)


signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))


# -- playing a level ---------------------------------------------------------------------------

LEFT_STRIP = 232  # the middle of the left column (x 220..245)
RIGHT_STRIP = 562  # the middle of the right column (x 550..575)
HUD_COUNT = (850, 183, 174, 24)  # around the HUD's "Blocks left: %i" line, baseline y 200


def block_rows(session, image, level, strip, top, bottom):
    """Rows of the column strip x = strip, from top to bottom, that a block covers."""
    reference = session.reference(level)
    rows = []
    for y in range(top, min(bottom, image.height)):
        mine = image.pixel(strip, y)
        theirs = reference.pixel(strip, y)
        if sum(abs(a - b) for a, b in zip(mine, theirs)) > 90:
            rows.append(y)
    return rows


def falling_block_top(session, level):
    """(time, y) of the top of a block wholly on screen in the left column above y 600, or
    None. Only a run of rows of a block's height counts: the last frames of the fade into the
    level differ from the picture all the way down."""
    before = time.monotonic()
    image = session.grab(0, 0, 600, 640)
    now = (before + time.monotonic()) / 2  # a loaded machine may take a while over a grab
    rows = block_rows(session, image, level, LEFT_STRIP, 0, 600)
    if not rows or rows[0] <= 2:
        return None
    last = 0
    while last + 1 < len(rows) and rows[last + 1] - rows[last] <= 4:
        last += 1
    height = rows[last] - rows[0] + 1
    return (now, rows[0]) if 30 <= height <= 44 else None


def hud_count(session):
    return session.grab_steady(*HUD_COUNT)


def wait_landing(session, count_before, timeout, what):
    """Waits until the HUD's block count differs from count_before; returns the new one."""
    return wait_for(lambda: (lambda now: now if not now.same_as(count_before) else None)(
        hud_count(session)), timeout, what, interval=0.05)


# A hurried block (360 px/s) falls from above the screen to the stacks' tops in about
# (top + 60) / 360 s and must be steered before. Past HURRIED_BLOCKS landings that is under 1.3 s
# and shrinking to 0.4 s, too little for a loaded machine to see a landing and switch keys in.
# From then on blocks fall at their own speed (120 px/s), which leaves 1.2 s at least.
HURRIED_BLOCKS = 12


def steer_blocks(session, blocks, on_landing=None):
    """Plays blocks landings, the first HURRIED_BLOCKS with Down held, steering them left and
    right in turn (the even deal keeps such a level balanced). Returns the HUD counts seen, the
    first one included."""
    def steer(block):
        direction, other = ("Left", "Right") if block % 2 == 0 else ("Right", "Left")
        session.xdotool("keyup", other, "keydown", direction)
        return direction

    counts = [hud_count(session)]
    session.key_down("Down")
    try:
        direction = steer(0)
        for block in range(blocks):
            counts.append(wait_landing(session, counts[-1], 20, "block %d to land" % (block + 1)))
            # The next block falls at once: it is steered before the landing is looked at, or a
            # slow look could let it pass the stacks' tops still on the old side.
            if block + 1 == HURRIED_BLOCKS:
                session.key_up("Down")
            next_direction = steer(block + 1) if block + 1 < blocks else None
            if on_landing is not None:
                on_landing(block, direction)
            direction = next_direction
    finally:
        for key in ("Left", "Right", "Down"):
            session.key_up(key)
    return counts
