#!/usr/bin/env python3
"""The Windows game under Wine, each figure beside its floor cross-built and run the same way.

    bench/wine_figures.py BUILD-WINDOWS      (a build of scripts/windows.sh with
                                              -DTOLVAR_BENCHMARKS=ON: tolvar.exe, bare_window.exe)

On an Xvfb of its own, with one persistent wineserver in a fresh Wine prefix, it times every
buffer swap through Wine's own trace of them (WINEDEBUG=+timestamp,+wgl), which needs nothing
inside the programs:
- start-up, from starting the program to its first swap: the game (its logo) against
  bare_window.exe, which makes the same window and context and presents once; median of 5;
- frames of level 1 in play (reached with Enter, Enter) against bare_window.exe --draw, one
  full-screen textured quad a frame at the display's rate: frames a second and the p99 interval.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from interval_figures import p99  # noqa: E402  (beside this script)
from x_desktop import XDesktop  # noqa: E402

RUNS = 5
PLAY_SECONDS = 10
# Wine's trace line of a swap: its clock in seconds, the thread, the channel and the function.
SWAP = re.compile(r"^(\d+\.\d+):[0-9a-f]+:trace:wgl:\w*SwapBuffers")


def cache_value(build, name):
    with open(os.path.join(build, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    sys.exit("wine_figures: %s has no %s: give a build of scripts/windows.sh" % (build, name))


class TracedRun:
    """A program under Wine whose swaps are noted as they happen: (wall clock, Wine's clock),
    both in seconds."""

    def __init__(self, env, program, arguments=(), cwd=None):
        self.swaps = []
        self.started = time.monotonic()
        self.process = subprocess.Popen(["wine", program] + list(arguments), cwd=cwd, env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True, errors="replace")
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stderr:
            match = SWAP.match(line)
            if match:
                self.swaps.append((time.monotonic(), float(match.group(1))))

    def wait_swaps(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.swaps) < count:
            if time.monotonic() > deadline or self.process.poll() is not None and \
                    not self.reader.is_alive():
                sys.exit("wine_figures: no swap from %s" % self.process.args)
            time.sleep(0.01)

    def first_swap_ms(self):
        self.wait_swaps(1, 120)
        return (self.swaps[0][0] - self.started) * 1000

    def end(self):
        self.process.kill()
        self.process.wait()
        self.reader.join(5)


def intervals(swaps, since):
    """The intervals between the swaps from since on, in ms, by Wine's own clock."""
    times = [wine_seconds for wall, wine_seconds in swaps if wall >= since]
    return [(later - earlier) * 1000 for earlier, later in zip(times, times[1:])]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    game_exe = os.path.join(build, "game", "tolvar.exe")
    bare_exe = os.path.join(build, "bench", "bare_window.exe")
    for program in (game_exe, bare_exe):
        if not os.path.isfile(program):
            sys.exit("wine_figures: no %s" % program)
    dll_folders = [os.path.join(cache_value(build, "TOLVAR_WINDOWS_PREFIX"), "bin")]
    dll_folders += sorted({os.path.dirname(path) for path in
                           cache_value(build, "TOLVAR_WINDOWS_RUNTIME_DLLS").split(";")})

    work = tempfile.mkdtemp(prefix="tolvar-wine-bench-")
    desktop = XDesktop(work, "1024x768", False, False, ())
    desktop.start()
    env = dict(desktop.env, WINEPREFIX=os.path.join(work, "prefix"), WINEPATH=";".join(dll_folders),
               WINEDLLOVERRIDES="mscoree,mshtml=", SDL_AUDIODRIVER="dummy")
    quiet = dict(env, WINEDEBUG="-all")
    traced = dict(env, WINEDEBUG="-all,+timestamp,+wgl")
    server = None
    try:
        subprocess.run(["wineboot", "--init"], env=quiet, check=True, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        server = subprocess.Popen(["wineserver", "--persistent", "--foreground"], env=quiet)
        game_folder = os.path.join(work, "game")
        shutil.copytree(os.path.join(build, "game"), game_folder)

        game_starts, bare_starts = [], []
        for _ in range(RUNS):
            with open(os.path.join(game_folder, "Data.dat"), "w") as progress:
                progress.write("1")
            game = TracedRun(traced, game_exe, cwd=game_folder)
            game_starts.append(game.first_swap_ms())
            game.end()
            bare = TracedRun(traced, bare_exe)
            bare_starts.append(bare.first_swap_ms())
            bare.end()

        game = TracedRun(traced, game_exe, cwd=game_folder)
        game.wait_swaps(1, 120)
        time.sleep(5)  # past the logo's hold and the menu's fade
        for _ in range(2):  # Play, then New game
            subprocess.run(["xdotool", "keydown", "Return", "sleep", "0.2", "keyup", "Return"],
                           env=env, check=True)
            time.sleep(3)
        since = time.monotonic()
        time.sleep(PLAY_SECONDS)
        game_frames = intervals(game.swaps, since)
        game.end()
        bare = TracedRun(traced, bare_exe, ["--draw"])
        bare.wait_swaps(2, 120)
        since = time.monotonic()
        time.sleep(PLAY_SECONDS)
        bare_frames = intervals(bare.swaps, since)
        bare.end()
    finally:
        if server is not None:
            subprocess.run(["wineserver", "--kill"], env=quiet)
            server.wait()
        desktop.close()
        shutil.rmtree(work, ignore_errors=True)

    game_start, bare_start = statistics.median(game_starts), statistics.median(bare_starts)
    print("| measure under Wine | figure | floor | ratio |")
    print("|---|---|---|---|")
    print("| start-up, start to first frame, median of %d | %.0f ms | %.0f ms | %.2fx |"
          % (RUNS, game_start, bare_start, game_start / bare_start))
    print("| frames a second, level 1 in play | %.1f | %.1f | %.2fx |"
          % (1000 / statistics.mean(game_frames), 1000 / statistics.mean(bare_frames),
             statistics.mean(bare_frames) / statistics.mean(game_frames)))
    print("| frame interval p99, level 1 in play | %.1f ms | %.1f ms | %.2fx |"
          % (p99(game_frames), p99(bare_frames), p99(game_frames) / p99(bare_frames)))


main()
