#!/usr/bin/env python3
"""x_desktop.py with an X server that fails to start: one that dies at once and one that hangs
without ever telling its display number. Either way the program ends with exit code 1 and one
line that names the server and what happened, never a traceback, and the hung server is ended.
"""

import os
import subprocess
import sys
import tempfile

from e2e_session import check, run

HARNESS = os.path.dirname(os.path.abspath(__file__))
# (what the fake Xvfb does, as a shell command; the words its failure line must hold)
CASES = (
    ("echo 'fake Xvfb: no screens found' >&2; exit 3",
     ("Xvfb died at once", "exit status 3", "no screens found")),
    ('echo $$ > "$0.pid"; exec sleep 600', ("Xvfb hung", "within 1 s")),
)


def failing_x_servers():
    for behaviour, words in CASES:
        with tempfile.TemporaryDirectory(prefix="tolvar-fake-x-") as path:
            fake = os.path.join(path, "Xvfb")
            with open(fake, "w") as script:
                script.write("#!/bin/sh\n%s\n" % behaviour)
            os.chmod(fake, 0o755)
            result = subprocess.run(
                [sys.executable, "-c",
                 "import sys, x_desktop\n"
                 "x_desktop.X_SERVER_TIMEOUT = 1\n"
                 "sys.argv[1:] = ['echo', 'the command ran']\n"
                 "x_desktop.main()\n"],
                cwd=HARNESS, env=dict(os.environ, PATH=path + os.pathsep + os.environ["PATH"]),
                capture_output=True, text=True, timeout=60)
            lines = result.stderr.strip().splitlines()
            check(result.returncode == 1 and not result.stdout,
                  "%s: exit code 1, the command not run (got %d)" % (words[0], result.returncode))
            check(len(lines) == 1 and all(word in lines[0] for word in words),
                  "%s: one line saying so: %r" % (words[0], result.stderr))
            if os.path.exists(fake + ".pid"):
                with open(fake + ".pid") as pid_file:
                    pid = int(pid_file.read())
                check(not os.path.exists("/proc/%d" % pid), "the hung server is ended")


run(failing_x_servers)
