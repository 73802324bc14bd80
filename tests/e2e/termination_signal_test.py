#!/usr/bin/env python3
"""Termination signals end the game at once, and nothing the game started outlives it.

- The "ERROR" box of a missing Data.dat is up (its X11 box runs in a forked child): SIGTERM ends
  the game with exit code 0, the box goes with it and no process of the game's is left. After a
  SIGKILL of the game, the box's child goes too.
- During the logo hold (a long wait): SIGINT and SIGHUP end it, exit code 0.

How long each end takes is logged (MEASURED), not checked: under the sanitizers on a loaded
machine the leak check at exit alone may take seconds. A game that waits for the box to be
answered never ends here; one that sleeps out the logo hold first shows only in the time logged.

Processes of the game are found by a mark in their environment, which every child inherits.
"""

import os
import signal
import time

from e2e_session import Session, check, log, no_sanitizer_report, run, wait_for

MARK = "TOLVAR_E2E_PROCESS_MARK"
# Bounds on waits for what must happen, far beyond any healthy run.
ENDING = 60


def marked_processes(mark):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as environ:
                if ("%s=%s" % (MARK, mark)).encode() in environ.read().split(b"\0"):
                    found.append(int(entry))
        except OSError:
            pass  # gone meanwhile, or not ours to read
    return found


def start(session, progress, name):
    game = session.start_game(progress=progress, extra_env={MARK: name})
    return game, name


def end_by(game, mark, number):
    sent = time.monotonic()
    os.kill(game.pid, number)
    if number == signal.SIGKILL:
        game.process.wait(timeout=5)
    else:
        code = game.wait_exit(ENDING)
        log("MEASURED: %s: exit code %d after %.3f s" % (signal.Signals(number).name, code,
                                                         time.monotonic() - sent))
        check(code == 0, "%s ends the game with exit code 0" % signal.Signals(number).name)
    wait_for(lambda: not marked_processes(mark), ENDING, "every process of the game to end")
    check(True, "no process of the game is left after %s" % signal.Signals(number).name)


def box_shown(session, number):
    game, mark = start(session, None, "box-%d" % number)
    session.wait_window("ERROR", 30)
    check(len(marked_processes(mark)) >= 2, "the box runs in a child of the game")
    end_by(game, mark, number)
    session.wait_no_window("ERROR", ENDING)
    return game


def logo_hold(session, number):
    game, mark = start(session, b"1", "logo-%d" % number)
    wait_for(lambda: session.shows("logo"), 60, "the logo", interval=0.02)
    end_by(game, mark, number)
    return game


def signals():
    with Session("1024x768", window_manager=True) as session:
        no_sanitizer_report(box_shown(session, signal.SIGTERM))
        box_shown(session, signal.SIGKILL)
    with Session("1024x768") as session:
        no_sanitizer_report(logo_hold(session, signal.SIGINT))
        no_sanitizer_report(logo_hold(session, signal.SIGHUP))


run(signals)
