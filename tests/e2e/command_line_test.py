#!/usr/bin/env python3
"""The command line of a Linux program: --help and --version answer on standard output with exit
code 0 (1, said on standard error, when standard output cannot take it or is closed), an unknown
option or a stray argument is named on standard error with the usage and exit code 2, all without
a window and without touching Data.dat; with no display at all the game says why and ends with
exit code 1 within two seconds, and a video driver asked for by name that does not start is named.
"""

import os
import subprocess
import time

from e2e_session import Session, check, log, required_environment, run


def answer(folder, arguments, env):
    started = time.monotonic()
    result = subprocess.run([os.path.join(folder, "tolvar")] + arguments, cwd=folder, env=env,
                            capture_output=True, text=True, timeout=30)
    return result, time.monotonic() - started


def command_line():
    with Session("1024x768") as session:
        game = session.start_game(progress=b"3", arguments=["--version"])
        check(game.wait_exit(30) == 0, "--version ends with exit code 0")
        folder = game.folder
        env = dict(session.env, LD_PRELOAD=required_environment("TOLVAR_E2E_GL_DRIVER_PIN"))
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        progress = os.path.join(folder, "Data.dat")
        before = os.stat(progress)

        version, _ = answer(folder, ["--version"], env)
        words = version.stdout.split()
        check(len(words) == 2 and words[0] == "tolvar" and words[1][0].isdigit(),
              "--version prints the name and the version (%r)" % version.stdout)

        usage, _ = answer(folder, ["--help"], env)
        check(usage.returncode == 0 and usage.stdout.startswith("Usage: tolvar") and
              "--windowed" in usage.stdout and usage.stderr == "",
              "--help prints the usage on standard output, exit code 0")

        for request in ("--help", "--version"):
            with open("/dev/full", "w") as full:
                result = subprocess.run([os.path.join(folder, "tolvar"), request], cwd=folder,
                                        env=env, stdout=full, stderr=subprocess.PIPE, text=True,
                                        timeout=30)
            check(result.returncode == 1 and "standard output" in result.stderr,
                  "%s into a full device says so on standard error, exit code 1 (%r)" %
                  (request, result.stderr.strip()))

            # Closed by the launcher: the answer reaches nobody, and that is no success either.
            result = subprocess.run([os.path.join(folder, "tolvar"), request], cwd=folder,
                                    env=env, stderr=subprocess.PIPE, text=True, timeout=30,
                                    preexec_fn=lambda: os.close(1))
            check(result.returncode == 1 and "standard output" in result.stderr,
                  "%s with standard output closed says so, exit code 1 (%r)" %
                  (request, result.stderr.strip()))

        for refused in (["--frobnicate"], ["--windowed", "stray"]):
            result, _ = answer(folder, refused, env)
            first = result.stderr.splitlines()[0] if result.stderr else ""
            check(result.returncode == 2 and refused[-1] in first and
                  "Usage: tolvar" in result.stderr and result.stdout == "",
                  "%s: named on standard error with the usage, exit code 2" % " ".join(refused))

        check(session.find_window("Tolvar") is None, "no window was ever opened")
        after = os.stat(progress)
        check((after.st_mtime_ns, after.st_size) == (before.st_mtime_ns, before.st_size),
              "Data.dat was not touched")

        no_display = {name: value for name, value in env.items()
                      if name not in ("DISPLAY", "WAYLAND_DISPLAY")}
        result, took = answer(folder, [], no_display)
        log("MEASURED: with no display the game ended after %.2f s" % took)
        check(result.returncode == 1 and took < 2.0,
              "with no display the game ends with exit code 1 within two seconds")
        check("No Display Found" in result.stderr,
              "and says why on standard error (%r)" % result.stderr.strip())

        # A driver asked for by name that does not start is named, DISPLAY is not blamed.
        result, _ = answer(folder, [], dict(env, SDL_VIDEODRIVER="nosuch\x1bdriver"))
        check(result.returncode == 1 and '"nosuch\\x1Bdriver"' in result.stderr and
              "DISPLAY" not in result.stderr,
              "a wrong SDL_VIDEODRIVER is named, quoted, and DISPLAY is not blamed (%r)" %
              result.stderr.strip())


run(command_line)
