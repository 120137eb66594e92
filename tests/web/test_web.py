"""The browser zip played in headless Chromium, driven by Selenium: the page is served from
127.0.0.1 by the test itself, the canvas read back from screenshots with the end-to-end
harness's knowledge of the screens (tests/e2e/harness.py), the progress read from the
browser's localStorage, the sound from what SDL hands to Web Audio.

QUENMARSH_WEB_DIR is the zip's Quenmarsh/ folder; QUENMARSH_TEXT_PICTURE and QUENMARSH_FONT
come from the native build, as for the end-to-end tests."""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import zipfile

from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.chrome.service import Service

import harness
from harness import Shot, progress, progress_text, parse_progress

FOLDER = os.environ.get("QUENMARSH_WEB_DIR", "")
ZIP = os.environ.get("QUENMARSH_WEB_ZIP", "")
# The libraries the library build bundled, one "name version" a line.
LIBRARIES = os.environ.get("QUENMARSH_LIBRARIES", "")
SERVER = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "serve_web.py")
WIDTH, HEIGHT = 960, 540

# Runs before the page's own scripts: keeps the loudest sample SDL gives Web Audio, so that
# the test hears the cry without a sound card.
HEAR = """
window.quenmarshLoudest = 0;
const played = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, 'onaudioprocess');
Object.defineProperty(ScriptProcessorNode.prototype, 'onaudioprocess', {
  configurable: true,
  get() { return played.get.call(this); },
  set(fill) {
    played.set.call(this, fill && function (event) {
      fill.call(this, event);
      for (let c = 0; c < event.outputBuffer.numberOfChannels; c++)
        for (const v of event.outputBuffer.getChannelData(c))
          window.quenmarshLoudest = Math.max(window.quenmarshLoudest, Math.abs(v));
    });
  },
});
"""


def say(text):
    print("[web] " + text, flush=True)


class BrowserGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not FOLDER:
            raise unittest.SkipTest("QUENMARSH_WEB_DIR is not set")
        # The server ends with the test, however the test ends.
        cls.server = subprocess.Popen([sys.executable, SERVER, FOLDER], stdout=subprocess.PIPE, text=True,
                                      preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))
        cls.addClassCleanup(cls.server.wait)
        cls.addClassCleanup(cls.server.terminate)
        cls.url = cls.server.stdout.readline().split("open ")[1].split(" ")[0]
        cls.profile = tempfile.mkdtemp(prefix="qm-chromium-")
        cls.addClassCleanup(shutil.rmtree, cls.profile, ignore_errors=True)
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                     "--disable-quic", "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                     "--user-data-dir=" + cls.profile, "--window-size=%d,%d" % (WIDTH, HEIGHT)):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        cls.driver = webdriver.Chrome(options=options, service=Service(executable_path="/usr/bin/chromedriver"))
        cls.addClassCleanup(cls.driver.quit)
        cls.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HEAR})
        # The window's frame takes some of its size: the page itself gets WIDTH x HEIGHT.
        inner = cls.driver.execute_script("return [window.innerWidth, window.innerHeight];")
        cls.driver.set_window_size(2 * WIDTH - inner[0], 2 * HEIGHT - inner[1])
        cls.console = []

    # --- the page

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def read_console(self):
        self.console += self.driver.get_log("browser")

    def canvas(self):
        return self.driver.find_element(By.ID, "canvas")

    def shot(self):
        png = self.canvas().screenshot_as_png
        raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png, check=True,
                             stdout=subprocess.PIPE).stdout
        width, height = self.display
        # Until the game makes its display the canvas has the page's default size.
        return Shot(raw, width, height) if len(raw) == width * height * 3 else None

    def wait_for_screen(self, predicate, what, timeout=60):
        last = []

        def check():
            shown = self.driver.find_element(By.ID, "message").text
            if shown:
                raise AssertionError("the page says %r while waiting for %s" % (shown, what))
            shot = self.shot()
            last[:] = [shot] if shot else []
            return shot if shot and predicate(shot) else None
        try:
            return harness.wait_until(check, timeout, interval=0.1, what=what)
        except AssertionError:
            if last:
                path = os.path.join(tempfile.gettempdir(), "qm-web-%s.png" % what.replace(" ", "-"))
                last[0].save(path)
                say("last canvas: " + path)
            raise

    def wait_for_message(self, timeout=30):
        return harness.wait_until(lambda: self.driver.find_element(By.ID, "message").text, timeout,
                                  what="the page's message")

    def click(self, x, y):
        width, height = self.display
        ActionChains(self.driver).move_to_element_with_offset(self.canvas(), x - width // 2, y - height // 2) \
            .pause(0.1).click().perform()

    def stored(self):
        text = self.js("for (let i = 0; i < localStorage.length; i++)"
                       "  if (localStorage.key(i).startsWith('quenmarsh-progress:'))"
                       "    return localStorage.getItem(localStorage.key(i));"
                       "return null;")
        return None if text is None else parse_progress(text.encode())

    def store(self, values):
        """Puts a progress in the browser while no game runs there: a running game saves its own
        over it when its page goes. A text file of the same site is shown meanwhile."""
        self.read_console()
        self.driver.get(self.url + "NOTICES.txt")
        key = "quenmarsh-progress:" + urllib.parse.urlparse(self.url).path.rsplit("/", 1)[0] + "/"
        self.js("localStorage.setItem(arguments[0], arguments[1]);", key, progress_text(values).decode())

    def open_page(self):
        """Opens (or reloads) the page; the seconds to the first frame the game drew."""
        start = time.monotonic()
        self.driver.get(self.url)
        self.display = tuple(self.js("return [window.innerWidth, window.innerHeight];"))
        self.wait_for_screen(lambda s: s.count(lambda p: p != harness.BLACK, step=16) > 0, "the first frame")
        return time.monotonic() - start

    # --- the game

    def test_a_whole_game_in_the_browser(self):
        # A fresh browser: the welcome dialog, read off the canvas.
        first_frame = self.open_page()
        say("%.1f s from opening the page to the first frame" % first_frame)
        self.assertEqual(self.display, (WIDTH, HEIGHT), "the display is the window's size")
        start = time.monotonic() - first_frame
        self.wait_for_screen(lambda s: s.shows_dialog(0), "dialog node 0")
        say("%.1f s from opening the page to dialog node 0" % (time.monotonic() - start))
        self.assertIsNone(self.stored(), "a fresh browser has no progress")

        # "Will do!" leads to the care screen with its panel and bars; fuel lifts the fire.
        layout = harness.Layout(*self.display)
        self.click(*layout.answer_point(0, "Will do!"))
        care = self.wait_for_screen(lambda s: s.is_care_screen() and all(s.controls_shown()), "the care screen")
        self.assertIn(care.meter("fire"), (None, 0), "a fresh chip has no fire")
        self.click(*layout.button_centre(3))
        self.wait_for_screen(lambda s: s.is_care_screen() and s.meter("fire") is not None
                             and abs(s.meter("fire") - 20) <= 1, "the fire at 20")
        self.assertEqual(self.stored()["phase"], 0, "the switch to the care screen was saved")

        # 60 ticks a second, none dropped: the phase position the page saves when hidden.
        self.js("quenmarshPageHidden();")
        before, t0 = self.stored()["phaseTick"], time.monotonic()
        time.sleep(10)
        self.js("quenmarshPageHidden();")
        rate = (self.stored()["phaseTick"] - before) / (time.monotonic() - t0)
        say("%.1f ticks a second" % rate)
        self.assertGreater(rate, 58.5)
        self.assertLess(rate, 61.5)

        # A reload saves on the way out and resumes on the care screen with those meters.
        self.open_page()
        saved = self.stored()
        self.assertAlmostEqual(saved["fire"], 20, delta=0.01)
        resumed = self.wait_for_screen(lambda s: s.is_care_screen(), "the care screen after a reload")
        self.assertLessEqual(abs(resumed.meter("fire") - 20), 1)
        self.assertTrue(resumed.shows_counters(0, 0))

        # A second tab does not start a second game on the same progress.
        first = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        self.driver.get(self.url)
        self.assertIn("already", self.wait_for_message())
        self.read_console()
        self.driver.close()
        self.driver.switch_to.window(first)

        # A chip at health 50 with food and water at 150 cries without a break; the sound
        # starts after the first click, as browsers require.
        self.store(progress(phase=1, phaseTick=100, fire=10, heat=10, water=150, food=150, health=50))
        self.open_page()
        self.wait_for_screen(lambda s: s.is_care_screen(), "the crying chip")
        self.click(10, HEIGHT - 10)
        self.js("window.quenmarshLoudest = 0;")
        loudest = harness.wait_until(lambda: self.js("return window.quenmarshLoudest;") > 0.05, 15,
                                     what="the cry") and self.js("return window.quenmarshLoudest;")
        say("the cry's loudest sample: %.2f" % loudest)

        # Escape ends the game with the save; the page says so and how to play again.
        ActionChains(self.driver).send_keys(Keys.ESCAPE).perform()
        text = self.wait_for_message()
        self.assertIn("saved", text)
        self.assertIn("Reload", text)
        self.assertLess(self.stored()["health"], 100, "the crying chip's health was saved")

        # No errors in the console, from the page, the game or WebGL.
        self.read_console()
        # (The text file store() shows has no icon of its own.)
        severe = [entry["message"] for entry in self.console
                  if entry["level"] == "SEVERE" and "/favicon.ico" not in entry["message"]]
        gl = [entry["message"] for entry in self.console if "GL_" in entry["message"] or "WebGL" in entry["message"]]
        self.assertEqual(severe, [])
        self.assertEqual(gl, [])

    def test_a_data_package_that_does_not_load(self):
        # The game starts without its data and tells why, as its error box would.
        self.driver.execute_cdp_cmd("Network.enable", {})
        self.driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": ["*quenmarsh.data"]})
        try:
            self.driver.get(self.url)
            self.assertIn("Can not open the game data", self.wait_for_message())
        finally:
            self.driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": []})
            self.driver.get("about:blank")
            self.driver.get_log("browser")  # the blocked request's error is expected here


class BrowserWithoutWebGL(unittest.TestCase):
    def test_the_page_says_what_the_error_box_would(self):
        server = subprocess.Popen([sys.executable, SERVER, FOLDER], stdout=subprocess.PIPE, text=True,
                                  preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))
        self.addCleanup(server.wait)
        self.addCleanup(server.terminate)
        url = server.stdout.readline().split("open ")[1].split(" ")[0]
        profile = tempfile.mkdtemp(prefix="qm-chromium-")
        self.addCleanup(shutil.rmtree, profile, ignore_errors=True)
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-3d-apis", "--no-first-run",
                     "--disable-background-networking", "--user-data-dir=" + profile):
            options.add_argument(flag)
        driver = webdriver.Chrome(options=options, service=Service(executable_path="/usr/bin/chromedriver"))
        self.addCleanup(driver.quit)
        driver.get(url)
        text = harness.wait_until(lambda: driver.find_element(By.ID, "message").text, 30, what="the message")
        self.assertEqual(text, "Cannot run: Can not create the display.")


class WebZip(unittest.TestCase):
    def test_one_folder_with_the_page_the_program_and_every_licence(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = set(archive.namelist())
            notices = archive.read("Quenmarsh/NOTICES.txt").decode()
        self.assertEqual({name.split("/")[0] for name in names}, {"Quenmarsh"})
        for name in ("index.html", "quenmarsh.js", "quenmarsh.wasm", "quenmarsh.data", "favicon.png",
                     "LICENSE.txt", "NOTICES.txt", "licences/VeraMoBd.txt"):
            self.assertIn("Quenmarsh/" + name, names)
        libraries = [line.split() for line in open(LIBRARIES).read().splitlines()]
        self.assertIn("allegro", [name for name, _ in libraries])
        for name, version in libraries:
            self.assertIn("Quenmarsh/licences/%s.txt" % name, names)
            self.assertRegex(notices, r"licences/%s\.txt \(.*\), version %s\n" % (name, re.escape(version)))
        self.assertNotRegex(notices, "@[A-Z_]+@", "NOTICES.txt has a blank left unfilled")

if __name__ == "__main__":
    unittest.main()
