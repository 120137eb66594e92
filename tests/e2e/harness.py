"""Plays the real game in a real X window: its own Xvfb, xdotool for the player's hands,
screenshots read back as pixels. Every wait is on something observable, with a deadline."""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

GAME = os.environ.get("QUENMARSH_BIN", "")
WM_CLOSE = os.environ.get("QUENMARSH_WM_CLOSE", "")
# A loaded two-core machine can be slow: deadlines are generous, and nothing waits longer
# than it must.
SLOW = float(os.environ.get("QUENMARSH_E2E_SLOWDOWN", "1"))


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout * SLOW
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


class XServer:
    """An Xvfb of its own, at a chosen size, on a free display number."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.number = self._free_display()
        self.name = ":%d" % self.number
        self.proc = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(self._answers, 20, what="Xvfb " + self.name)

    @staticmethod
    def _free_display():
        for number in range(110, 400):
            if not os.path.exists("/tmp/.X%d-lock" % number) and \
                    not os.path.exists("/tmp/.X11-unix/X%d" % number):
                return number
        raise RuntimeError("no free X display number")

    def _answers(self):
        if self.proc.poll() is not None:
            raise AssertionError("Xvfb exited with %s" % self.proc.returncode)
        return subprocess.run(["xdpyinfo", "-display", self.name], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        return env

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env(), check=check, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)

    def screenshot(self):
        raw = subprocess.run(["import", "-display", self.name, "-window", "root", "-depth", "8",
                              "rgb:-"], check=True, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL).stdout
        return Shot(raw, self.width, self.height)

    def save_screenshot(self, path):
        subprocess.run(["import", "-display", self.name, "-window", "root", path], check=True,
                       stderr=subprocess.DEVNULL)

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


class Shot:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])

    def count(self, predicate, x0=0, y0=0, x1=None, y1=None, step=1):
        x1 = self.width if x1 is None else x1
        y1 = self.height if y1 is None else y1
        n = 0
        for y in range(y0, y1, step):
            for x in range(x0, x1, step):
                if predicate(self.pixel(x, y)):
                    n += 1
        return n


def close_to(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class Game:
    """The built game, started with a fresh settings folder (or a given one)."""

    def __init__(self, xserver, settings=None, program=None, extra_env=None):
        self.x = xserver
        self.settings = settings or tempfile.mkdtemp(prefix="qm-settings-")
        env = xserver.env()
        env["XDG_CONFIG_HOME"] = self.settings
        env["HOME"] = self.settings
        env.update(extra_env or {})
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([program or GAME], env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT, start_new_session=True)
        self.window = None

    @property
    def progress_file(self):
        return os.path.join(self.settings, "qmprogress.dat")

    def wait_for_window(self, timeout=30):
        def find():
            if self.proc.poll() is not None:
                raise AssertionError("the game exited early with %s:\n%s" % (self.proc.returncode, self.output()))
            found = self.x.run("xdotool", "search", "--onlyvisible", "--name", "^Quenmarsh$", check=False)
            ids = found.stdout.split()
            return ids[0] if ids else None
        self.window = wait_until(find, timeout, interval=0.1, what="the game window")
        return self.window

    def geometry(self):
        out = self.x.run("xdotool", "getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def move(self, x, y):
        self.x.run("xdotool", "mousemove", str(x), str(y))

    def click(self, x, y):
        # The move comes first and on its own: the game acts on the last reported position.
        self.move(x, y)
        time.sleep(0.05)
        self.x.run("xdotool", "click", "1")

    def key(self, name):
        self.x.run("xdotool", "key", name)

    def request_close(self):
        self.x.run(WM_CLOSE, self.window)

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout * SLOW)
        except subprocess.TimeoutExpired:
            raise AssertionError("the game did not exit:\n" + self.output())

    def wait_for_screen(self, predicate, timeout=20, what="screen"):
        return wait_until(lambda: (lambda s: s if predicate(s) else None)(self.x.screenshot()),
                          timeout, interval=0.1, what=what)

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def kill(self):
        if self.proc.poll() is None:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        self.log.close()


class GameTestCase(unittest.TestCase):
    """Each test gets its own X server; games and folders it starts are cleaned up after it."""

    SCREEN = (960, 540)

    def setUp(self):
        self.assertTrue(GAME and os.path.exists(GAME), "QUENMARSH_BIN must name the built game")
        self.x = XServer(*self.SCREEN)
        self.addCleanup(self.x.close)
        self.folders = []

    def start_game(self, **kwargs):
        game = Game(self.x, **kwargs)
        self.addCleanup(game.kill)
        if "settings" not in kwargs:
            self.addCleanup(shutil.rmtree, game.settings, True)
        return game

    def temp_folder(self):
        folder = tempfile.mkdtemp(prefix="qm-e2e-")
        self.addCleanup(shutil.rmtree, folder, True)
        return folder
