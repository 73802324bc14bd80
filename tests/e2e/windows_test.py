#!/usr/bin/env python3
"""The Windows game under Wine, as a player gets it: from its installer and from its zip.

- The installer, run with /S into a folder the player chose (named beyond ASCII) in a fresh Wine
  prefix whose user is named "Jöns Öberg", installs the game and its Start-menu entries; run
  again with /S alone, as an upgrade would, it installs into that same folder, with one
  uninstaller there and nothing in Program Files. Its uninstall entry gives the size. The
  installed game, started from another folder, shows the main menu (compared with the game's own
  picture, as on Linux); Enter, Enter starts level 1; back in the menu, Quit ends it with exit
  code 0; its progress is in %APPDATA%\\Tolvar\\Data.dat, none beside the program. The
  uninstaller, silent too, removes the game, leaves the progress and no empty key of ours.
- The portable zip carries no Data.dat and the libraries' licences. Unpacked into an empty folder
  named with letters beyond ASCII, its first start goes straight to the logo and the menu and
  makes Data.dat holding 1 beside tolvar.exe; the zip unpacked again over a copy whose Data.dat
  holds 3 keeps the 3, and a run leaves it so. Its tolvar.exe carries the icon at 16 to 256 px,
  the version and a per-monitor (v2) DPI-aware manifest.
- The boxes show under Wine: without the zip's portable marker (a bare build folder) the first
  start's "Can't open Data.dat" box is seen and answered; without Data/ the "ERROR" box is seen,
  and its text reaches standard error once.
"""

import glob
import os
import shutil
import subprocess
import zipfile

from e2e_session import E2EFailure, GameRun, Session, check, log, required_environment, run

QUIT = (485, 510)
LEVEL_MENU_BUTTON = (917, 610)
# Wine's own first start makes the prefix; its .NET and HTML engines are not wanted here, nor its
# menu builder, which would write menu entries into the host's ~/.local.
WINE_ENVIRONMENT = {"WINEDEBUG": "-all",
                    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
                    "SDL_AUDIODRIVER": "dummy"}
# The folder the player chooses in the installer, as Windows and as Wine's drive_c name it. NSIS
# takes /D= unquoted, and Wine quotes an argument holding a space: none here.
CHOSEN_FOLDER = ("C:\\Spiele_Jöns\\Tolvar", ("Spiele_Jöns", "Tolvar"))
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvar"
VENDOR_KEY = "HKLM\\Software\\The Tolvar developers"
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

    def registry(self, key):
        """What `reg query` says of a key, or None where there is no such key."""
        result = subprocess.run(["wine", "reg", "query", key], env=self.env, timeout=60,
                                capture_output=True, text=True, errors="replace")
        return result.stdout if result.returncode == 0 else None

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
    check(wine.run(installer, "/S", "/D=" + CHOSEN_FOLDER[0]) == 0,
          "the installer ends with exit code 0 under /S")
    # Again, with no folder given: an upgrade or a repair.
    check(wine.run(installer, "/S") == 0, "installed again, it ends with exit code 0")
    folder = wine.drive_c(*CHOSEN_FOLDER[1])
    program = os.path.join(folder, "tolvar.exe")
    check(os.path.isfile(program), "both installs went into the chosen %s" % CHOSEN_FOLDER[0])
    default_folder = wine.drive_c("Program Files", "Tolvar")
    check(not os.path.exists(default_folder), "and nothing into C:\\Program Files\\Tolvar")
    # Wine links the user's folders (Documents, Desktop...) to the host's home, which may hold
    # this very prefix: the search does not follow links.
    uninstallers = [os.path.join(parent, "Uninstall.exe")
                    for parent, _, files in os.walk(wine.drive_c()) if "Uninstall.exe" in files]
    check(uninstallers == [os.path.join(folder, "Uninstall.exe")],
          "one uninstaller, in the chosen folder (%s)" % uninstallers)
    entry = wine.registry(UNINSTALL_KEY) or ""
    check("EstimatedSize" in entry, "the uninstall entry gives the size")
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
    check(wine.run(os.path.join(folder, "Uninstall.exe"), "/S", "_?=" + CHOSEN_FOLDER[0]) == 0,
          "the uninstaller ends with exit code 0")
    check(not os.path.exists(program) and not os.path.exists(os.path.join(folder, "Data")),
          "it removed the game")
    check(wine.registry(UNINSTALL_KEY) is None and wine.registry(VENDOR_KEY) is None,
          "and its registry keys, leaving no empty one")
    with open(saved, "rb") as progress:
        check(progress.read() == b"1", "and left the player's progress as it was")


def program_resources(program):
    """The resources of a Windows program, as windres writes them out."""
    windres = required_environment("TOLVAR_WINDRES")
    return subprocess.run([windres, "--input", program, "--output-format", "rc"],
                          capture_output=True, text=True, errors="replace", check=True).stdout


def check_resources(program):
    resources = program_resources(program)
    version = required_environment("TOLVAR_VERSION")
    check('VALUE "ProductVersion", "%s"' % version in resources and
          'VALUE "ProductName", "Tolvar"' in resources, "tolvar.exe names itself, version %s" % version)
    check("PerMonitorV2" in resources and "true/pm" in resources,
          "its manifest declares per-monitor DPI awareness (v2)")
    pictures = resources.count("/* RT_ICON */")
    check("/* RT_GROUP_ICON */" in resources and pictures == 10,
          "its icon holds ten sizes, 16 to 256 px (%d pictures)" % pictures)


def start_and_answer_box(session, wine, program, folder, caption):
    """Starts the game and answers the box of that caption with Return, again while the box is
    still up (a key that reaches it before it takes input is lost); the game's exit code."""
    game = wine.start_game(program, folder)
    for _ in range(5):
        session.answer_box(caption, "Return")
        try:
            return game, game.wait_exit(12)
        except E2EFailure:
            pass
    return game, game.wait_exit(12)


def portable_game(session, wine):
    folder = os.path.join(session.folder, "Spiele Jöns Öberg")
    with zipfile.ZipFile(required_environment("TOLVAR_WINDOWS_ZIP")) as archive:
        names = archive.namelist()
        check(not [name for name in names if os.path.basename(name) == "Data.dat"],
              "the zip carries no Data.dat")
        check(any("/Licences/SDL2.txt" in name for name in names) and
              any("/Licences/Common/LGPL-2.1.txt" in name for name in names),
              "it carries the libraries' licences")
        archive.extractall(folder)
    programs = glob.glob(os.path.join(folder, "*", "tolvar.exe"))
    check(len(programs) == 1, "the zip holds one folder with tolvar.exe (%s)" % programs)
    program = programs[0]
    check_resources(program)
    game_folder = os.path.dirname(program)
    progress_path = os.path.join(game_folder, "Data.dat")

    game = wine.start_game(program, game_folder)
    session.wait_screen("logo", 120)
    code = quit_from_menu(session, game)
    check(code == 0, "the portable game's first start in %r shows the logo and the menu and quits "
          "with exit code 0 (got %d)" % (folder, code))
    with open(progress_path, "rb") as progress:
        check(progress.read() == b"1", "and made its Data.dat beside tolvar.exe, holding 1")

    with open(progress_path, "wb") as progress:
        progress.write(b"3")
    with zipfile.ZipFile(required_environment("TOLVAR_WINDOWS_ZIP")) as archive:
        archive.extractall(folder)  # a newer zip over an older one
    game = wine.start_game(program, game_folder)
    code = quit_from_menu(session, game)
    check(code == 0, "unpacked again over it, the game quits with exit code 0 (got %d)" % code)
    with open(progress_path, "rb") as progress:
        check(progress.read() == b"3", "and its Data.dat still holds 3")

    # A bare build folder: no portable marker, no Data.dat.
    os.remove(os.path.join(game_folder, "portable.txt"))
    os.remove(progress_path)
    _, code = start_and_answer_box(session, wine, program, game_folder, "ERROR")
    check(code == 1, "without the marker, the \"Can't open Data.dat\" box showed and the game "
          "ended with exit code 1 (got %d)" % code)

    shutil.rmtree(os.path.join(game_folder, "Data"))
    game, code = start_and_answer_box(session, wine, program, game_folder, "ERROR")
    said = game.output()
    check(code == 1 and said.count("Can't find the game's Data folder") == 1,
          "without Data/, the box showed, the game ended with exit code 1 and standard error "
          "said so once (exit code %d, %r)" % (code, said))


def windows_game():
    with Session("1024x768") as session:
        wine = Wine(session)
        try:
            installed_game(session, wine)
            portable_game(session, wine)
        finally:
            wine.close()


run(windows_game)
