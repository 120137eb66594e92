"""The browser zip played in a browser, as QUENMARSH_WEB_ENGINE says (Chromium by default; a
step that the engine's driver cannot take, as browsers.py tells, is a skipped subtest): the page
served from 127.0.0.1 by the test itself, the canvas read back from screenshots with the
end-to-end harness's knowledge of the screens (tests/e2e/harness.py), the progress read from
localStorage, the sound from what SDL hands to Web Audio. QUENMARSH_WEB_FILES and
QUENMARSH_WEB_STAMP are the build's unstamped files and the script that stamps them, to make a
second build. With QUENMARSH_WEB_SHOTS set to a folder, the phone's screens are saved there
(docs/ has them)."""

import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import zipfile

from selenium.webdriver.common.keys import Keys

import browsers
import harness
from harness import Shot, progress, progress_text, parse_progress, stop, temp_folder

ENGINE = os.environ.get("QUENMARSH_WEB_ENGINE", "chromium")
FOLDER = os.environ.get("QUENMARSH_WEB_DIR", "")
ZIP = os.environ.get("QUENMARSH_WEB_ZIP", "")
# The libraries the library build bundled, one "name version" a line.
LIBRARIES = os.environ.get("QUENMARSH_LIBRARIES", "")
FILES = os.environ.get("QUENMARSH_WEB_FILES", "")
STAMP = os.environ.get("QUENMARSH_WEB_STAMP", "")
SHOTS = os.environ.get("QUENMARSH_WEB_SHOTS", "")
SERVER = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "serve_web.py")
WIDTH, HEIGHT = 960, 540
STARTED = time.monotonic()

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


# The progress the browser holds, as text (or null); and, run before the page's own scripts as
# well, what records the progress the browser held as the page opened.
STORED = ("Object.keys(localStorage).filter(key => key.startsWith('quenmarsh-progress:'))"
          ".map(key => localStorage.getItem(key))[0] || null")
STORED_AT_START = "try { window.quenmarshStoredAtStart = %s; } catch (error) {}" % STORED

# Makes the browser's storage full while the test says so (quenmarshStorageFull).
FILL_STORAGE = """
const setItem = Storage.prototype.setItem;
Storage.prototype.setItem = function (key, value) {
  if (window.quenmarshStorageFull) throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
  return setItem.call(this, key, value);
};
"""


# Runs before the page's own scripts too: the autoplay rule of browsers on phones and desktops,
# which headless Chromium does not keep. Sound starts suspended, and resumes only during an act
# of the player that the browser counts (a click, a key, the end of a touch; not its start).
AUTOPLAY = """
const Context = AudioContext;
window.AudioContext = class extends Context {
  constructor(...options) { super(...options); this.suspend(); }
  resume() { return navigator.userActivation.isActive ? super.resume() : Promise.resolve(); }
};
"""


# Where the driver cannot read the console (WebKit's), the page's own reports from the moment it
# has opened: what the game and the page write as errors, and what they throw.
ERRORS = """
if (!window.quenmarshErrors) {
  window.quenmarshErrors = [];
  const report = console.error;
  console.error = (...parts) => { quenmarshErrors.push(parts.join(' ')); report.apply(console, parts); };
  addEventListener('error', event => quenmarshErrors.push(String(event.message)));
  addEventListener('unhandledrejection', event => quenmarshErrors.push(String(event.reason)));
}
"""


# The game's accessible copy, as the page's roles, names and aria-live give it.
COPY = """
const game = document.querySelector('[role=region][aria-label="Quenmarsh"], section[aria-label="Quenmarsh"]');
return {live: [...game.querySelectorAll('[aria-live]')].map(e => e.textContent),
        buttons: [...game.querySelectorAll('button')].map(e => e.textContent),
        meters: [...game.querySelectorAll('[role=meter]')].map(e => [e.ariaLabel, Number(e.ariaValueNow)])};
"""


# WebGL drawn on the CPU, as a machine without a graphics card has it.
SWIFTSHADER = ("--use-angle=swiftshader", "--enable-unsafe-swiftshader")


def message(js, timeout=30):
    """The page's message in place of the game, once there is one; `js` runs a script in the page."""
    return harness.wait_until(lambda: shown_text(js, "message"), timeout, what="the message")


def shown_text(js, id):
    """An element's text as the player sees it: none while it is hidden."""
    return js("const e = document.getElementById(arguments[0]); return e.checkVisibility() ? e.innerText.trim() : '';", id)


def say(text):
    print("[web %s %3.0f s] %s" % (ENGINE, time.monotonic() - STARTED, text), flush=True)


def looks_like_dialog(shot, answers):
    """A dialog with that many answers, known by its boxes alone: read off a phone's screen,
    which the page shows scaled, text is not compared pixel for pixel."""
    boxes = shot.layout.option_boxes(answers)
    return all(harness.close_to(shot.pixel(x1 + 6, y1 + 4), harness.GREY, 8) for x1, y1, _, _, _, _ in boxes) and \
        harness.close_to(shot.pixel(shot.width // 2, shot.height // 2 - 45), harness.BLACK, 8)


def looks_like_care_screen(shot):
    return (harness.close_to(shot.pixel(150, 25), harness.COUNTERS_BOX, 8) and
            harness.close_to(shot.pixel(shot.width - 5, 131), harness.PANEL_OVER_BLACK, 8))


def serve(cleanup, folder, port=0):
    """A server for `folder` that ends with the test however the test ends (`cleanup` is given
    what stops it), and its address."""
    server = subprocess.Popen([sys.executable, SERVER, folder, str(port)], stdout=subprocess.PIPE, text=True,
                              preexec_fn=browsers.die_with_parent)
    cleanup(stop, server)
    return server, server.stdout.readline().split("open ")[1].split(" ")[0]


class BrowserGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not FOLDER:
            raise unittest.SkipTest("QUENMARSH_WEB_DIR is not set")
        _, cls.url = serve(cls.addClassCleanup, FOLDER)
        cls.browser = browsers.open_browser(ENGINE, cls.addClassCleanup, SWIFTSHADER + (
            "--disable-quic", "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
            "--window-size=%d,%d" % (WIDTH, HEIGHT)))
        say("%s %s" % (ENGINE, cls.browser.version))
        if "preload" in cls.browser.can:
            cls.browser.preload(HEAR + AUTOPLAY + STORED_AT_START)
        cls.browser.size_page(WIDTH, HEIGHT)
        # DevTools, for what Chromium alone can do.
        cls.driver = getattr(cls.browser, "driver", None)
        cls.console = []

    def can(self, ability, what):
        """Whether the browser's driver can do what the step `what` needs; if not, the step is
        reported as a skipped subtest, with the reason."""
        if ability not in self.browser.can:
            with self.subTest(what):
                self.skipTest(browsers.WHY_NOT[ability])
        return ability in self.browser.can

    def needs(self, ability):
        if ability not in self.browser.can:
            self.skipTest(browsers.WHY_NOT[ability])

    # --- the page

    def js(self, script, *args):
        return self.browser.js(script, *args)

    def until(self, expression, what, timeout=30):
        """Waits for a script's `expression` to be true in the page; returns its value."""
        return harness.wait_until(lambda: self.js("return %s;" % expression), timeout, what=what)

    def accessible(self):
        """What a screen reader finds in the game: the texts of its live regions, its buttons' names
        and its meters' names and values, each in order. Chromium's accessibility tree; elsewhere
        the page's roles, names and aria-live."""
        if ENGINE != "chromium":
            return self.js(COPY)
        nodes = {node["nodeId"]: node for node in self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]}
        seen = dict(live=[], buttons=[], meters=[])

        def walk(node, live):
            role, name = node["role"]["value"], node.get("name", {}).get("value")
            if role == "StaticText" and live is not None:
                live.append(name)
            elif role == "button":
                seen["buttons"].append(name)
            elif role == "meter":
                seen["meters"].append([name, int(node["value"]["value"])])
            polite = any(p["name"] == "live" and p["value"]["value"] == "polite" for p in node.get("properties", []))
            text = [] if polite and live is None else live
            for child in node.get("childIds", []):
                walk(nodes[child], text)
            if text is not live:
                seen["live"].append(" ".join(text))
        walk(next(n for n in nodes.values() if n["role"]["value"] == "region" and n["name"]["value"] == "Quenmarsh"), None)
        return seen

    def focused(self):
        return self.js("return document.activeElement.textContent;")

    def focus_reaches(self, name):
        """The page gives the focus to the first of the game's buttons; where the window has not the
        focus (Firefox's here), the first Tab reaches it."""
        if not self.js("return document.hasFocus();"):
            say("the window has not the focus: a Tab gives it to %r" % name)
            self.browser.press(Keys.TAB)
        self.assertEqual(self.focused(), name)

    def press_focused(self, key):
        """Enter or Space on the focused button; where the driver cannot, the click they would make."""
        if self.can("keys", "Enter and Space on a button"):
            self.browser.press(key)
        else:
            self.js("document.activeElement.click();")

    def read_console(self):
        if "console" in self.browser.can:
            self.console += self.browser.console()
        else:
            self.console += [("error", text) for text in self.js("return (window.quenmarshErrors || []).splice(0);")]

    def to_page(self, points):
        """Display points as the page's CSS pixels."""
        left, top, scale = self.js("const r = canvas.getBoundingClientRect();"
                                   "return [r.left, r.top, r.width / canvas.width];")
        return [(left + x * scale, top + y * scale) for x, y in points]

    def shot(self):
        """The canvas at the display's own size, however large the page shows it."""
        left, top, shown, width, height, ratio = self.js(
            "const r = canvas.getBoundingClientRect();"
            "return [r.left, r.top, r.width, canvas.width, canvas.height, devicePixelRatio];")
        # Until the game makes its display the canvas has the page's default size.
        if (width, height) != tuple(self.display):
            return None
        png = self.browser.screenshot(left, top, shown, shown * height / width, scale=width / shown / ratio)
        raw = subprocess.run(["convert", "png:-", "-resize", "%dx%d!" % (width, height), "-depth", "8", "rgb:-"],
                             input=png, check=True, stdout=subprocess.PIPE).stdout
        return Shot(raw, width, height)

    def wait_for_screen(self, predicate, what, timeout=60):
        last = []

        def check():
            shown = shown_text(self.js, "message")
            if shown:
                raise AssertionError("the page says %r while waiting for %s" % (shown, what))
            shot = self.shot()
            last[:] = [shot] if shot else []
            return shot if shot and predicate(shot) else None
        try:
            return harness.wait_until(check, timeout, interval=0.1, what=what)
        except AssertionError:
            if last:
                path = os.path.join(tempfile.gettempdir(), "qm-web-%s-%s.png" % (ENGINE, what.replace(" ", "-")))
                last[0].save(path)
                say("last canvas: " + path)
            raise

    def frames(self, count):
        """Waits for the page to draw that many frames: the game has taken what came before."""
        self.js("return new Promise(done => { let left = arguments[0];"
                "  const next = () => --left ? requestAnimationFrame(next) : done(true); requestAnimationFrame(next); });",
                count)

    def click(self, x, y):
        self.browser.click(*self.to_page([(x, y)])[0])

    def tap(self, *fingers):
        """Fingers (display points) put on the canvas one after another, then lifted the last first."""
        self.browser.tap(self.to_page(fingers))

    def hold_phone(self, upright):
        """A phone 844 x 390 CSS pixels."""
        self.browser.hold_phone(*(390, 844) if upright else (844, 390), upright)

    def save_page(self, name):
        if SHOTS and ENGINE == "chromium":
            png = base64.b64decode(self.driver.execute_cdp_cmd("Page.captureScreenshot", {})["data"])
            # At CSS pixels: the phone's size as its player sees it.
            ratio = self.js("return devicePixelRatio;")
            subprocess.run(["convert", "png:-", "-resize", "%g%%" % (100 / ratio), os.path.join(SHOTS, name)],
                           input=png, check=True)

    def stored(self):
        text = self.stored_text()
        return None if text is None else parse_progress(text.encode())

    def stored_text(self):
        return self.js("return %s;" % STORED)

    def wait_for_data(self):
        """Until the page has asked for the game's data: it has decided what to tell, and plays."""
        self.until("performance.getEntriesByType('resource').some(e => e.name.includes('quenmarsh.data'))", "the data")

    def notice(self):
        return shown_text(self.js, "notice")

    def save_copy(self):
        """The file the page's save button downloads."""
        path = os.path.join(self.browser.downloads, "qmprogress.dat")
        if os.path.exists(path):
            os.remove(path)
        self.browser.click_element("save-copy")
        # (Firefox makes the file empty at once, and moves it there once it is whole.)
        harness.wait_until(lambda: os.path.exists(path) and os.path.getsize(path) > 0, 30, what="the saved copy")
        # WebKit's MiniBrowser shows its downloads in a bar, which takes from the page.
        self.browser.size_page(WIDTH, HEIGHT)
        with open(path, "rb") as copy:
            return copy.read()

    def load_file(self, content):
        """Chooses a file for the page's load button."""
        chosen = os.path.join(temp_folder(self.addCleanup, "qm-load-"), "qmprogress.dat")
        with open(chosen, "wb") as file:
            file.write(content)
        self.browser.choose_file("progress-file", chosen)

    def store(self, values):
        """Puts a progress in the browser while no game runs there: a running game saves its own
        over it when its page goes. A text file of the same site is shown meanwhile. Returns
        the progress the browser held before, as the page left saved it."""
        self.read_console()
        self.browser.open(self.url + "NOTICES.txt")
        before = self.stored()
        key = "quenmarsh-progress:" + urllib.parse.urlparse(self.url).path.rsplit("/", 1)[0] + "/"
        self.js("localStorage.setItem(arguments[0], arguments[1]);", key, progress_text(values).decode())
        return before

    def open_page(self, url=None, display=(WIDTH, HEIGHT)):
        """Opens (or reloads) the page; the seconds to the first frame the game drew."""
        self.read_console()
        start = time.monotonic()
        self.browser.open(url or self.url)
        if "console" not in self.browser.can:
            self.js(ERRORS)
        self.display = display
        self.wait_for_screen(lambda s: s.count(lambda p: p != harness.BLACK, step=16) > 0, "the first frame")
        return time.monotonic() - start

    # --- the game

    def test_a_whole_game_in_the_browser(self):
        # A fresh browser: the welcome dialog, read off the canvas, whose display is the window's
        # size (the first frame is one of that size).
        first_frame = self.open_page()
        say("%.1f s from opening the page to the first frame" % first_frame)
        # (A canvas answers only for the kind of context it has.)
        self.assertTrue(self.js("return canvas.getContext('webgl2') !== null;"), "the display draws with WebGL 2")
        start = time.monotonic() - first_frame
        self.wait_for_screen(lambda s: s.shows_dialog(0), "dialog node 0")
        say("%.1f s from opening the page to dialog node 0" % (time.monotonic() - start))
        self.assertIsNone(self.stored(), "a fresh browser has no progress")

        # What a screen reader finds: the lines in a live region, the answers as buttons in order,
        # the first with the focus. Keys alone answer "Will do!" (Tab, Shift+Tab, Enter), which
        # leads to the care screen with its panel and bars, and put wood on the fire (Tab, Space).
        seen = self.accessible()
        self.assertIn("Well, I see you have your chip. Do well to raise it.", seen["live"])
        self.assertEqual(seen["buttons"], ["Will do!", "Don't tell me want to do!", "Whatever", "I'll try."])
        self.focus_reaches("Will do!")
        self.browser.press(Keys.TAB)
        self.assertEqual(self.focused(), "Don't tell me want to do!")
        self.browser.press(Keys.TAB, shift=True)
        clicked = time.monotonic()
        self.press_focused(Keys.ENTER)
        care = self.wait_for_screen(lambda s: s.is_care_screen() and all(s.controls_shown()), "the care screen")
        self.assertIn(care.meter("fire"), (None, 0), "a fresh chip has no fire")
        names = self.js("return messages.panelControls;")
        seen = self.accessible()
        self.assertEqual(seen["buttons"], names[1:] + names[:1])
        self.assertEqual([name for name, _ in seen["meters"]], self.js("return messages.meters;"))
        self.assertEqual(seen["meters"][:2], [["Heat", 0], ["Fire", 0]])
        self.focus_reaches(names[1])
        self.browser.press(Keys.TAB)
        self.browser.press(Keys.TAB)
        self.assertEqual(self.focused(), names[3])
        self.press_focused(Keys.SPACE)
        self.wait_for_screen(lambda s: s.is_care_screen() and s.meter("fire") is not None
                             and abs(s.meter("fire") - 20) <= 1, "the fire at 20")
        harness.wait_until(lambda: self.accessible()["meters"][1] == ["Fire", 7], 10, what="the fire's meter at 7 %")
        # The mouse, through the copy over the canvas, once the panel has rested.
        layout = harness.Layout(*self.display)
        self.until("!document.querySelector('#access [aria-disabled=true]')", "the panel rested")
        self.click(*layout.button_centre(3))
        self.wait_for_screen(lambda s: s.meter("fire") is not None and abs(s.meter("fire") - 40) <= 1, "the fire at 40")
        self.assertEqual(self.stored()["phase"], 0, "the switch to the care screen was saved")

        # 60 ticks a second: the phase position the page saves when hidden counts the care ticks
        # since the click, never more than the time since it allows. How near the game comes to
        # that is told, not tested: a busy machine may keep it behind for as long as it is busy.
        # (Nor is it waited for: a fresh chip runs out of food after 17 s of care.)
        self.js("quenmarshPageHidden();")
        played, now = self.stored()["phaseTick"], time.monotonic()
        say("%d ticks in %.1f s since the click" % (played, now - clicked))
        self.assertLessEqual(played, 60 * (now - clicked) + 1, "more than 60 ticks a second")
        self.assertGreater(played, 0, "the care ticks go on")

        # Leaving the page saves on the way out. A fresh chip left alone starves within 26 s of
        # care, which a busy machine can take to get this far again: what follows plays a
        # well-fed chip of its own, and a reload resumes on the care screen with its meters.
        left = self.store(progress(phase=0, phaseTick=100, fire=20, heat=20))
        self.assertAlmostEqual(left["fire"], 40, delta=0.01)
        self.open_page()
        resumed = self.wait_for_screen(lambda s: s.is_care_screen(), "the care screen after a reload")
        self.assertLessEqual(abs(resumed.meter("fire") - 20), 1)
        self.assertTrue(resumed.shows_counters(0, 0))

        # Storage that fills up during play: the failed save is told at once; a kept one ends that.
        self.js(FILL_STORAGE)
        self.js("window.quenmarshStorageFull = true; quenmarshPageHidden();")
        self.assertEqual(self.notice(), self.js("return messages.notKept(messages.storageFull);"))
        self.js("window.quenmarshStorageFull = false; quenmarshPageHidden();")
        self.assertEqual(self.notice(), "")

        # A saved copy is the desktop game's file with the progress the game has now.
        copy = self.save_copy()
        self.assertEqual(copy, progress_text(parse_progress(copy)))
        self.assertEqual(parse_progress(copy), self.stored())

        # Files that are not progress files change nothing, and the game goes on.
        self.js("window.quenmarshSamePage = true;")
        damaged = copy.replace(b"\n", b"\nx", 1)
        self.load_file(damaged)
        self.assertEqual(harness.wait_until(self.notice, 10, what="the refusal"),
                         self.js("return messages.notAProgressFile;"))
        self.js("document.getElementById('notice').click();")
        self.assertNotEqual(self.stored_text(), damaged.decode())
        self.assertTrue(self.js("return window.quenmarshSamePage;"))

        # The copy with other counters (and food and water topped up, so that its chip outlives
        # a slow reload), as the desktop game writes them, replaces the progress: the game
        # starts again on it, and the old game saved nothing over it on its way out.
        carried = dict(parse_progress(copy), goodCount=4, deadCount=2, food=255, water=255)
        self.load_file(progress_text(carried))
        self.until("!window.quenmarshSamePage", "the reload")
        if self.can("preload", "the progress as the reloaded page found it"):
            self.assertEqual(parse_progress(self.js("return quenmarshStoredAtStart;").encode()), carried)
        self.wait_for_screen(lambda s: s.is_care_screen() and s.shows_counters(4, 2), "the loaded counters")

        # A second tab does not start a second game on the same progress.
        if self.can("tabs", "a second tab"):
            self.browser.open_tab(self.url)
            self.assertEqual(message(self.js), self.js("return messages.otherTab;"))
            self.read_console()
            self.browser.close_tab()

        # A chip below health 100 cries without a break: water at 200 keeps it from healing, and
        # it lives some 18 s of care. The sound starts after the first click, as browsers require.
        crying = progress(phase=1, phaseTick=100, fire=10, heat=10, water=200, food=255, health=99.75)
        self.store(crying)
        self.open_page()
        self.wait_for_screen(lambda s: s.is_care_screen(), "the crying chip")
        self.click(10, HEIGHT - 10)
        if self.can("preload", "the cry") and self.can("sound", "the cry"):
            self.js("window.quenmarshLoudest = 0;")
            self.until("window.quenmarshLoudest > 0.05", "the cry")
            say("the cry's loudest sample: %.2f" % self.js("return window.quenmarshLoudest;"))

        # Escape ends the game with the save; the page says so and how to play again.
        self.browser.press(Keys.ESCAPE)
        self.assertEqual(message(self.js), self.js("return messages.ended('');"))
        # The crying chip's meters, as many ticks on as the saved phase position tells.
        saved = self.stored()
        self.assertEqual(saved, harness.after_care_ticks(crying, saved["phaseTick"] - crying["phaseTick"]))

        # In Safari, navigator.standalone is false in a tab, true in a Home Screen app; an iPhone's
        # has no full screen. An installed game is not told of Safari's week; a tab is, until the
        # notice is closed, and on an iPhone of full screen from the Home Screen too. The
        # full-screen button shows only where the page can go full screen.
        if self.can("safari", "Safari's week and full screen"):
            week = self.js("return messages.erasedAfterAWeek + ' ' + messages.fullScreenFromHome;")
            for standalone, full_screen, told in ((True, True, ""), (False, False, week), (False, False, "")):
                source = "Object.defineProperty(Navigator.prototype, 'standalone', {value: %s});" % str(standalone).lower()
                if not full_screen:
                    source += "delete Element.prototype.requestFullscreen; delete Element.prototype.webkitRequestFullscreen;"
                script = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": source})
                self.driver.get(self.url)
                self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", script)
                self.wait_for_data()
                shown = self.js("return document.getElementById('fullscreen').checkVisibility();")
                self.assertEqual((self.notice(), shown), (told, full_screen), "standalone %s" % standalone)
                if told:
                    self.browser.click_element("notice")

        # No errors in the console, from the page, the game or WebGL.
        self.can("console", "the console as the page loads")
        self.read_console()
        # (The text file store() shows has no icon of its own.)
        errors = [text for level, text in self.console if level == "error" and "/favicon.ico" not in text]
        gl = [text for _, text in self.console if "GL_" in text or "WebGL" in text]
        self.assertEqual(errors, [])
        self.assertEqual(gl, [])

    def test_b_a_phone(self):
        self.needs("phone")
        self.store(progress())
        # Held upright, the page asks to be turned and does not start the game.
        self.hold_phone(upright=True)
        self.addCleanup(self.browser.leave_phone)
        self.browser.open(self.url)
        self.wait_for_data()
        self.assertEqual(shown_text(self.js, "turn"), self.js("return messages.turn;"))
        self.assertFalse(self.js("return [...document.scripts].some(s => s.src.includes('quenmarsh.js'));"))
        self.save_page("phone-upright.png")

        # Turned sideways it plays, without a reload: a display 480 tall at the window's
        # proportions, whose 20-pixel text the page shows at least 12 CSS pixels tall.
        self.hold_phone(upright=False)
        self.display = (1039, 480)
        self.wait_for_screen(lambda s: looks_like_dialog(s, 4), "dialog node 0 on a phone")
        self.assertEqual(shown_text(self.js, "turn"), "")
        self.assertGreaterEqual(self.js("return canvas.getBoundingClientRect().height / canvas.height;") * 20, 12)
        self.assertTrue(self.js("const r = canvas.getBoundingClientRect(), v = visualViewport;"
                                "return r.left >= 0 && r.top >= 0 && r.right <= v.width + 0.5 && r.bottom <= v.height + 0.5;"),
                        "the whole display is on the screen")
        self.save_page("phone-dialog.png")

        # A tap answers, once, with no mouse events behind it, and lets the sound play; the whole
        # side panel fits.
        self.js("window.quenmarshMice = 0; canvas.addEventListener('mousedown', () => quenmarshMice++);")
        sound = self.can("sound", "the sound unlocked by a tap")
        if sound:
            self.until("Module.SDL2.audioContext.state === 'suspended'", "the sound waiting for the player", 10)
        layout = harness.Layout(*self.display)
        self.tap(layout.answer_point(0, "Will do!"))
        self.wait_for_screen(lambda s: looks_like_care_screen(s) and all(s.controls_shown()), "the care screen on a phone")
        if sound:
            self.until("Module.SDL2.audioContext.state === 'running'", "the sound unlocked by a tap", 10)
        # A second finger while one is down does nothing: wood under it leaves the fire alone and
        # the panel awake. Then a tap of its own puts one log on.
        self.tap((layout.map_width // 2, 300), layout.button_centre(3))
        self.frames(30)
        care = self.wait_for_screen(looks_like_care_screen, "the care screen after two fingers")
        self.assertIn(care.meter("fire"), (None, 0), "a second finger put wood on")
        self.assertTrue(all(care.controls_shown()), "a second finger set the panel resting")
        self.tap(layout.button_centre(3))
        care = self.wait_for_screen(lambda s: looks_like_care_screen(s) and s.meter("fire") not in (None, 0), "the fire lifted")
        self.assertLessEqual(abs(care.meter("fire") - 20), 1, "one tap, one log")
        self.assertEqual(self.js("return quenmarshMice;"), 0)

        self.save_page("phone-care-screen.png")

        # Turned upright during play, the request covers the game; turned back, it shows it again.
        self.hold_phone(upright=True)
        harness.wait_until(lambda: shown_text(self.js, "turn"), 10, what="the request")
        self.hold_phone(upright=False)
        self.wait_for_screen(looks_like_care_screen, "the care screen turned back")

        # The close button, once the panel has rested, ends the game.
        self.wait_for_screen(lambda s: looks_like_care_screen(s) and all(s.controls_shown()), "the panel rested")
        self.tap(layout.close_centre())
        self.assertEqual(message(self.js), self.js("return messages.ended('');"))

    def test_c_installable_offline_and_updated(self):
        # One address serving, in turn, this build and another of a later version.
        folder = temp_folder(self.addCleanup, "qm-web-")
        served = os.path.join(folder, "served")
        shutil.copytree(FOLDER, served)
        server, url = serve(self.addCleanup, served)
        port = urllib.parse.urlparse(url).port

        self.open_page(url)
        first = self.js("return build;")
        self.until("!!navigator.serviceWorker.controller", "the service worker in control", 60)
        if self.can("installability", "installability"):
            self.assertEqual(self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"], [])
        # With no network the page opens and plays.
        stop(server)
        self.open_page(url)
        self.wait_for_screen(lambda s: s.shows_dialog(0) or s.is_care_screen(), "the game with no network")
        if not self.can("updates", "a later build"):
            return

        # A later build at the same address: the next visit plays it, every file of it at once.
        later = os.path.join(folder, "later")
        shutil.copytree(FILES, later)
        with open(os.path.join(later, "NOTICES.txt"), "a") as notices:
            notices.write("A later build.\n")
        shutil.rmtree(served)
        subprocess.run([sys.executable, STAMP, later, served, os.path.join(folder, "later.zip"), "1.1"],
                       check=True, stdout=subprocess.DEVNULL)
        server, url = serve(self.addCleanup, served, port)
        self.open_page(url)
        second = self.js("return build;")
        self.assertNotEqual(second, first)
        self.assertTrue(second.startswith("1.1-"))
        asked = self.js("return performance.getEntriesByType('resource').map(e => e.name)"
                        ".filter(n => /quenmarsh(-data)?[.](js|wasm|data)$/.test(n.split('?')[0]));")
        self.assertEqual(len(asked), 4, asked)
        self.assertEqual({name.split("?v=")[1] for name in asked}, {second}, asked)
        self.until("caches.keys().then(k => k.length === 1 && k[0].endsWith(build))", "the later build kept alone", 60)
        # Kept for playing with no network, in place of the first.
        stop(server)
        self.open_page(url)
        self.assertEqual(self.js("return build;"), second)
        self.wait_for_screen(lambda s: s.shows_dialog(0) or s.is_care_screen(), "the later build with no network")
        self.browser.open("about:blank")

    def test_d_inside_a_frame_of_another_site(self):
        self.needs("frames")
        # A portal's page on another site (localhost is not 127.0.0.1's site), which shows the game in
        # a frame: the browser keeps the frame's storage apart, for that portal alone.
        folder = temp_folder(self.addCleanup, "qm-portal-")
        with open(os.path.join(folder, "index.html"), "w") as page:
            page.write('<!doctype html><body style="margin:0; overflow:hidden"><iframe id="game" src="%s" '
                       'allow="fullscreen" style="display:block; border:0; width:%dpx; height:%dpx"></iframe>'
                       % (self.url, WIDTH, HEIGHT))
        _, portal_url = serve(self.addCleanup, folder)
        portal_url = portal_url.replace("127.0.0.1", "localhost")

        def enter():
            self.driver.get(portal_url)
            self.driver.switch_to.frame("game")
        enter()
        self.display = (WIDTH, HEIGHT)
        self.wait_for_screen(lambda s: s.shows_dialog(0), "dialog node 0 in a frame")
        self.click(*harness.Layout(*self.display).answer_point(0, "Will do!"))
        self.wait_for_screen(lambda s: s.is_care_screen(), "the care screen in a frame")
        # The progress is kept across reloads of the portal's page.
        enter()
        self.wait_for_screen(lambda s: s.is_care_screen(), "the care screen after a reload in a frame")
        # Full screen, where the frame allows it.
        self.browser.click_element("fullscreen")
        self.until("document.fullscreenElement !== null", "full screen", 10)
        self.driver.switch_to.default_content()
        self.driver.get("about:blank")


def serve_and_browse(test, *flags, prefs=None):
    """A server of the page and a Chromium of its own for one test: the page's address and the browser."""
    _, url = serve(test.addCleanup, FOLDER)
    return url, browsers.open_chromium(test.addCleanup, *flags, prefs=prefs)


class PageInPlaceOfTheErrorBox(unittest.TestCase):
    def test_the_page_says_what_the_error_box_would(self):
        # A browser without WebGL, and a data package that does not load: the game (or the page
        # for it) tells why it cannot run. A start that throws (its fetch(), here inside the
        # grant of Web Locks) is told too, in place of the loading bar.
        no_fetch = "window.fetch = () => { throw new TypeError('no fetch here'); };"
        for flags, blocked, preload, said in (
                (("--disable-3d-apis",), [], "", r"^Cannot run: Can not create the display\.$"),
                (SWIFTSHADER, ["*quenmarsh.data?*"], "", "Can not open the game data"),
                (SWIFTSHADER, [], no_fetch, r"^Quenmarsh stopped: .*TypeError: no fetch here$")):
            with self.subTest(said):
                url, browser = serve_and_browse(self, *flags)
                browser.driver.execute_cdp_cmd("Network.enable", {})
                browser.driver.execute_cdp_cmd("Network.setBlockedURLs", {"urls": blocked})
                browser.preload(preload)
                browser.open(url)
                self.assertRegex(message(browser.js), said)


class BrowserKeepingNothing(unittest.TestCase):
    def test_site_data_blocked_on_a_page_that_is_not_a_secure_context(self):
        # A made-up host on plain http: no Web Locks there. Site data blocked: no localStorage.
        url, browser = serve_and_browse(self, *SWIFTSHADER, "--host-resolver-rules=MAP quenmarsh.test 127.0.0.1",
                                        prefs={"profile.default_content_setting_values.cookies": 2})
        url = url.replace("127.0.0.1", "quenmarsh.test")
        browser.open(url)
        self.assertFalse(browser.js("return isSecureContext;"))
        nothing_kept = browser.js("return messages.keepsNothing(messages.storageBlocked);")
        self.assertEqual(message(browser.js), nothing_kept)
        browser.click_element("play")

        # The second tab is turned away, as with Web Locks (perhaps once the first, busy starting
        # its game, has answered).
        browser.open_tab(url)
        harness.wait_until(lambda: message(browser.js) == browser.js("return messages.otherTab;"), 30,
                           what="the second tab turned away")
        browser.close_tab()

        # The game plays to its end (Escape at the first screen that reads keys), and the end
        # says that the progress was not kept.
        def ended():
            browser.press(Keys.ESCAPE)
            return shown_text(browser.js, "message")
        text = harness.wait_until(ended, 90, interval=1, what="the end")
        self.assertEqual(text, browser.js("return messages.ended(messages.storageBlocked);"))

        # Once that game has ended, another tab plays.
        browser.open_tab(url)
        self.assertEqual(message(browser.js), nothing_kept)


class WebZip(unittest.TestCase):
    def test_the_page_at_the_root_with_the_program_and_every_licence(self):
        with zipfile.ZipFile(ZIP) as archive:
            names = set(archive.namelist())
            notices = archive.read("NOTICES.txt").decode()
        # Game portals' limits.
        self.assertLessEqual(len(names), 1000)
        self.assertLess(max(len(name) for name in names), 240)
        for name in ("index.html", "quenmarsh.js", "quenmarsh.wasm", "quenmarsh.data", "quenmarsh-data.js",
                     "favicon.png", "manifest.webmanifest", "sw.js", "LICENSE.txt", "NOTICES.txt",
                     "licences/" + os.environ["QUENMARSH_ZIP_FONT_LICENCE"]):
            self.assertIn(name, names)
        libraries = [line.split() for line in open(LIBRARIES).read().splitlines()]
        self.assertIn("allegro", [name for name, _ in libraries])
        for name, version in libraries:
            self.assertIn("licences/%s.txt" % name, names)
            self.assertRegex(notices, r"licences/%s\.txt \(.*\), version %s\n" % (name, re.escape(version)))
        self.assertNotRegex(notices, "@[A-Za-z_]+@", "NOTICES.txt has a blank left unfilled")


if __name__ == "__main__":
    unittest.main()
