#!/usr/bin/env python3
"""The Windows game under Wine, as a player gets it: from its installer and from its zip.

- The installer, run with /S in a fresh Wine prefix whose user is named "Jöns Öberg", installs
  the game and its Start-menu entries. The installed game, started from another folder, shows
  the main menu (compared with the game's own picture, as on Linux); Enter, Enter starts level 1;
  back in the menu, Quit ends it with exit code 0; its progress is in %APPDATA%\\Tolvar\\Data.dat,
  none beside the program. The uninstaller, silent too, removes the game and leaves the progress.
- The portable zip, unpacked into a folder named with letters beyond ASCII, starts, shows the
  menu and keeps its Data.dat (holding 3 here) beside tolvar.exe, untouched by a run.
"""

import glob
import os
import subprocess
import zipfile

from e2e_session import GameRun, Session, check, log, required_environment, run

QUIT = (485, 510)
LEVEL_MENU_BUTTON = (917, 610)
# Wine's own first start makes the prefix; its .NET and HTML engines are not wanted here.
WINE_ENVIRONMENT = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml=",
                    "SDL_AUDIODRIVER": "dummy"}
# Wine names the Windows user, and so %APPDATA%, after the Unix one.
PLAYER = "Jöns Öberg"


class Wine:
    def __init__(self, session):
        self.session = session
        self.prefix = os.path.join(session.folder, "wine prefix")
        self.env = dict(session.env, WINEPREFIX=self.prefix, USER=PLAYER, LOGNAME=PLAYER,
                        **WINE_ENVIRONMENT)
        # One server for every program of the test: each start is then quick.
        subprocess.run(["wineboot", "--init"], env=self.env, check=True, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.server = subprocess.Popen(["wineserver", "--persistent", "--foreground"],
                                       env=self.env)

    def close(self):
        subprocess.run(["wineserver", "--kill"], env=self.env)
        self.server.wait()

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def run(self, program, *arguments, timeout=300):
        return subprocess.run(["wine", program] + list(arguments), env=self.env,
                              timeout=timeout, capture_output=True).returncode

    def start_game(self, program, cwd):
        """Starts a tolvar.exe through Wine; its output goes beside the game's progress."""
        self.session.read_references()
        folder = os.path.join(self.session.folder, "run%d" % len(self.session.games))
        os.makedirs(folder)
        with open(os.path.join(folder, "game.out"), "w") as out, \
                open(os.path.join(folder, "game.err"), "w") as err:
            process = subprocess.Popen(["wine", program], cwd=cwd, env=self.env, stdout=out,
                                       stderr=err)
        game = GameRun(self.session, folder, process)
        self.session.games.append(game)
        log("started %s under Wine, pid %d" % (program, process.pid))
        return game


def quit_from_menu(session, game):
    session.wait_screen("menu", 120)
    session.click(*QUIT)
    return game.wait_exit(60)


def installed_game(session, wine):
    installer = required_environment("TOLVAR_WINDOWS_INSTALLER")
    check(wine.run(installer, "/S") == 0, "the installer ends with exit code 0 under /S")
    program = wine.drive_c("Program Files", "Tolvar", "tolvar.exe")
    check(os.path.isfile(program), "it installed tolvar.exe into C:\\Program Files\\Tolvar")
    shortcuts = glob.glob(wine.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu",
                                       "Programs", "Tolvar", "*.lnk"))
    names = sorted(os.path.basename(path) for path in shortcuts)
    check("Tolvar.lnk" in names and "Play in a window.lnk" in names,
          "and its Start-menu entries (%s)" % names)

    elsewhere = os.path.join(session.folder, "elsewhere")
    os.makedirs(elsewhere)
    game = wine.start_game(program, elsewhere)
    session.wait_screen("menu", 120)
    session.key("Return")
    session.wait_screen("playmenu", 60)
    session.key("Return")
    session.wait_screen("level1", 60)
    session.click(*LEVEL_MENU_BUTTON)
    code = quit_from_menu(session, game)
    check(code == 0, "the installed game quits with exit code 0 (got %d)" % code)
    saved = wine.drive_c("users", PLAYER, "AppData", "Roaming", "Tolvar", "Data.dat")
    check(os.path.isfile(saved), "its progress is in %%APPDATA%%\\Tolvar\\Data.dat (%s)" % saved)
    with open(saved, "rb") as progress:
        check(progress.read() == b"1", "holding 1")
    check(not os.path.exists(os.path.join(os.path.dirname(program), "Data.dat")),
          "and no Data.dat beside the installed program")

    # In place (_?=), the uninstaller has finished when it returns.
    folder = os.path.dirname(program)
    check(wine.run(os.path.join(folder, "Uninstall.exe"), "/S",
                   "_?=C:\\Program Files\\Tolvar") == 0, "the uninstaller ends with exit code 0")
    check(not os.path.exists(program) and not os.path.exists(os.path.join(folder, "Data")),
          "it removed the game")
    with open(saved, "rb") as progress:
        check(progress.read() == b"1", "and left the player's progress as it was")


def portable_game(session, wine):
    folder = os.path.join(session.folder, "Spiele Jöns Öberg")
    with zipfile.ZipFile(required_environment("TOLVAR_WINDOWS_ZIP")) as archive:
        archive.extractall(folder)
    programs = glob.glob(os.path.join(folder, "*", "tolvar.exe"))
    check(len(programs) == 1, "the zip holds one folder with tolvar.exe (%s)" % programs)
    game_folder = os.path.dirname(programs[0])
    progress_path = os.path.join(game_folder, "Data.dat")
    with open(progress_path, "wb") as progress:
        progress.write(b"3")
    game = wine.start_game(programs[0], game_folder)
    code = quit_from_menu(session, game)
    check(code == 0, "the portable game in %r quits with exit code 0 (got %d)" % (folder, code))
    with open(progress_path, "rb") as progress:
        check(progress.read() == b"3", "and its Data.dat beside tolvar.exe still holds 3")


def windows_game():
    with Session("1024x768") as session:
        wine = Wine(session)
        try:
            installed_game(session, wine)
            portable_game(session, wine)
        finally:
            wine.close()


run(windows_game)
