#!/usr/bin/env python3
"""The harness's look-up of the programs a test calls: with one of them off PATH, a session does
not start, and the test ends with exit code 1 and one line that names the program and the Debian
package that brings it, never a traceback.
"""

import os
import shutil
import subprocess
import sys
import tempfile

from e2e_session import check, require_programs, run

HARNESS = os.path.dirname(os.path.abspath(__file__))
# What a session with a window manager calls; convert is the one left out: its package's name,
# imagemagick, is not the program's.
SESSION_PROGRAMS = ("Xvfb", "xdotool", "xwininfo", "openbox", "xprop", "wmctrl")


def a_session_without_convert():
    require_programs(*SESSION_PROGRAMS)
    with tempfile.TemporaryDirectory(prefix="tolvar-path-") as path:
        for program in SESSION_PROGRAMS:
            os.symlink(shutil.which(program), os.path.join(path, program))
        result = subprocess.run(
            [sys.executable, "-c",
             "from e2e_session import Session, run\n"
             "def start():\n"
             "    with Session('1024x768', window_manager=True):\n"
             "        raise SystemExit('the session started without convert')\n"
             "run(start)\n"],
            cwd=HARNESS, env=dict(os.environ, PATH=path), capture_output=True, text=True,
            timeout=60)
    lines = result.stdout.strip().splitlines()
    check(result.returncode == 1, "the test ends with exit code 1 (got %d)" % result.returncode)
    check(len(lines) == 1 and "convert not found" in lines[0] and "imagemagick" in lines[0],
          "one line names the program and its package: %r" % result.stdout)
    check("Traceback" not in result.stdout + result.stderr, "no traceback")


run(a_session_without_convert)
