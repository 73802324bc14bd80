"""Debian's Chromium, headless, driven over the DevTools protocol; and the static server it reads
the site from.

Chromium runs headless with WebGL through SwiftShader and with sound allowed before any gesture,
in a profile folder the caller keeps: a second Browser on the same folder is the same player
coming back. It opens its DevTools port on a number of its own choosing and writes it to
DevToolsActivePort in the profile; the client talks to the one page over a websocket
(python3-websocket), one command at a time, keeping the events that come between the answers.

The site is served by Python's own static server on 127.0.0.1 at a fixed port: IndexedDB
belongs to the origin, port included, so a site served on another port each time would find an
empty store on every visit.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import urllib.request

import websocket

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from x_desktop import E2EFailure, log, wait_for  # noqa: E402

SITE_PORT = 47613

CHROMIUM_FLAGS = [
    "--headless=new",
    "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader",
    "--autoplay-policy=no-user-gesture-required",
    "--no-first-run",
    "--no-default-browser-check",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--password-store=basic",
    "--remote-debugging-port=0",
]


class SiteServer:
    """A folder served on http://127.0.0.1:port/ until close()."""

    def __init__(self, folder, log_path, port=SITE_PORT):
        self.url = "http://127.0.0.1:%d/" % port
        self.log_file = open(log_path, "w")
        self.process = subprocess.Popen(
            [sys.executable, "-m", "http.server", "--bind", "127.0.0.1", "--directory", folder,
             str(port)], stdout=self.log_file, stderr=subprocess.STDOUT)
        wait_for(self._answers, 30, "the static server on %s" % self.url, interval=0.1)

    def _answers(self):
        if self.process.poll() is not None:
            raise E2EFailure("the static server ended (is the port of %s taken?)" % self.url)
        try:
            with urllib.request.urlopen(self.url + "index.html", timeout=5) as answer:
                return answer.status == 200
        except OSError:
            return False

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
        self.log_file.close()


class DevToolsError(E2EFailure):
    pass


class Page:
    """One page target of a Chromium, over its DevTools websocket."""

    def __init__(self, socket_url):
        # Chromium refuses websocket clients that send an Origin it was not told to allow. Its
        # messages are decoded as UTF-8 by json's reader anyway: the client's own check, in
        # Python, takes seconds over a frame's pixels.
        self.socket = websocket.create_connection(socket_url, suppress_origin=True, timeout=60,
                                                  skip_utf8_validation=True)
        self.next_id = 0
        self.events = []

    def close(self):
        self.socket.close()

    def call(self, method, **params):
        self.next_id += 1
        asked = self.next_id
        self.socket.send(json.dumps({"id": asked, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == asked:
                if "error" in message:
                    raise DevToolsError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            if "method" in message:
                self._keep(message)

    def _keep(self, event):
        if event["method"] == "Runtime.consoleAPICalled":
            text = " ".join(str(argument.get("value", argument.get("description", "")))
                            for argument in event["params"]["args"])
            log("console.%s: %s" % (event["params"]["type"], text))
        elif event["method"] == "Runtime.exceptionThrown":
            log("page exception: %s" % event["params"]["exceptionDetails"].get("text"))
        self.events.append(event)

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page, promises awaited."""
        answer = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in answer:
            raise DevToolsError("%s threw: %s" % (expression[:60], answer["exceptionDetails"]))
        return answer["result"].get("value")

    # Key names the tests use, as the browser's keyboard events carry them.
    KEYS = {
        "Down": ("ArrowDown", "ArrowDown", 40),
        "Up": ("ArrowUp", "ArrowUp", 38),
        "Left": ("ArrowLeft", "ArrowLeft", 37),
        "Right": ("ArrowRight", "ArrowRight", 39),
        "Return": ("Enter", "Enter", 13),
        "Escape": ("Escape", "Escape", 27),
        "Tab": ("Tab", "Tab", 9),
        "space": (" ", "Space", 32),
        "m": ("m", "KeyM", 77),
        "p": ("p", "KeyP", 80),
    }

    def key_event(self, kind, name):
        key, code, key_code = self.KEYS[name]
        params = {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": key_code,
                  "nativeVirtualKeyCode": key_code}
        if kind == "keyDown" and len(key) == 1:
            params["text"] = key
        self.call("Input.dispatchKeyEvent", **params)

    def click(self, x, y):
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=0 if kind == "mouseMoved" else 1)


class Browser:
    """A headless Chromium on a profile folder, with one page open on about:blank."""

    def __init__(self, profile, log_path, width=1024, height=768):
        self.profile = profile
        program = shutil.which("chromium")
        if program is None:
            raise E2EFailure("chromium not found: it comes with the Debian package chromium "
                             "(scripts/install-dependencies.sh web)")
        os.makedirs(profile, exist_ok=True)
        port_file = os.path.join(profile, "DevToolsActivePort")
        if os.path.exists(port_file):
            os.remove(port_file)
        flags = CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                                  "--window-size=%d,%d" % (width, height)]
        if os.geteuid() == 0:
            flags.append("--no-sandbox")  # Chromium's sandbox will not run as root (CI)
        self.log_file = open(log_path, "a")
        self.process = subprocess.Popen([program] + flags + ["about:blank"],
                                        stdout=self.log_file, stderr=subprocess.STDOUT,
                                        start_new_session=True)
        self.page = None
        try:
            port = wait_for(lambda: self._port(port_file), 60, "Chromium's DevTools port",
                            interval=0.1)
            self.devtools = "http://127.0.0.1:%d" % port
            target = wait_for(self._page_target, 30, "Chromium's page")
            self.page = Page(target["webSocketDebuggerUrl"])
        except BaseException:
            self.close()
            raise

    def _port(self, port_file):
        if self.process.poll() is not None:
            raise E2EFailure("Chromium ended at its start (exit code %d)" % self.process.returncode)
        try:
            with open(port_file) as lines:
                first = lines.readline().strip()
        except OSError:
            return None
        return int(first) if first.isdigit() else None

    def _page_target(self):
        with urllib.request.urlopen(self.devtools + "/json/list", timeout=10) as answer:
            targets = json.load(answer)
        pages = [target for target in targets if target.get("type") == "page"]
        return pages[0] if pages else None

    def cpu_seconds(self):
        """User and system CPU time of every Chromium process (browser, GPU, renderers) so far."""
        total = 0
        ticks = os.sysconf("SC_CLK_TCK")
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/stat" % entry) as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
            except OSError:
                continue
            if int(fields[3]) == self.process.pid:  # the session Chromium was started in
                total += int(fields[11]) + int(fields[12])
        return total / ticks

    def close(self):
        """Closes the browser as a player does, so that the profile is written out, and waits
        until it has ended."""
        if self.page is not None:
            try:
                self.page.call("Browser.close")
            except (DevToolsError, websocket.WebSocketException, OSError):
                pass
            self.page.close()
            self.page = None
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            log("Chromium did not end when closed: killed")
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self.log_file.close()

