"""The three browsers the page is played in, each behind the same few verbs so that one set of
scenarios (test_web.py) drives them all: Chromium, headless, through Selenium and DevTools;
WebKitGTK's MiniBrowser through Selenium and WebKitWebDriver; Firefox ESR over WebDriver BiDi,
the W3C's protocol, which Firefox's remote agent speaks over a WebSocket (Debian has no
geckodriver). The last two have no WebGL without a display: they get an Xvfb of their own.

Points are CSS pixels of the page's viewport. What a browser's driver cannot do is missing from
its `can`, with the reason in WHY_NOT; the scenarios report each such step as skipped."""

import base64
import ctypes
import json
import os
import re
import signal
import subprocess

import websocket
from selenium import webdriver
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.remote.file_detector import UselessFileDetector
from selenium.webdriver.chrome.service import Service as ChromiumService
from selenium.webdriver.webkitgtk.options import Options as WebKitOptions
from selenium.webdriver.webkitgtk.service import Service as WebKitService

import harness

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

# Why an engine leaves a scenario out: mostly what its driver cannot do.
WHY_NOT = {
    "tabs": "a second tab opened through its driver hangs the driver",
    "preload": "its driver cannot run a script before the page's own",
    "sound": "it has no sound device here, so its audio never leaves \"suspended\"",
    "console": "its driver does not read the console: what the page reports once open is read from the page",
    "phone": "its driver can neither make the page a phone's nor touch it (it turns a touch into mouse events)",
    "installability": "only Chromium's DevTools tell whether a page can be installed",
    "safari": "only Chromium's DevTools give a page Safari's navigator.standalone for one load",
    "frames": "a frame of another site is tried in Chromium alone, the engine most portals' players use",
    "updates": "updating the kept files is tried in Chromium alone, to keep the other engines' runs short",
    "keys": "its window never has the focus in an Xvfb without a window manager, and there Enter and Space press no button",
}


def die_with_parent():
    """For Popen: the child is ended when the test process ends, however it ends."""
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)


def open_chromium(cleanup, *flags, prefs=None):
    """A headless Chromium with a profile of its own, driven by Selenium; `cleanup` is given what
    ends it."""
    profile, downloads = harness.temp_folder(cleanup, "qm-chromium-"), harness.temp_folder(cleanup, "qm-download-")
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--no-first-run", "--disable-background-networking",
                 "--user-data-dir=" + profile) + flags:
        options.add_argument(flag)
    if prefs:
        options.add_experimental_option("prefs", prefs)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(options=options, service=ChromiumService(executable_path="/usr/bin/chromedriver"))
    cleanup(driver.quit)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return Selenium("chromium", driver, downloads, set(WHY_NOT))


class Selenium:
    """Chromium or WebKitGTK, through Selenium."""

    def __init__(self, name, driver, downloads, can):
        self.name, self.driver, self.downloads, self.can = name, driver, downloads, can
        self.version = driver.capabilities["browserVersion"]
        self.tabs = []

    def open(self, url):
        self.driver.get(url)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def size_page(self, width, height):
        # The window's frame takes some of its size.
        inner = self.js("return [window.innerWidth, window.innerHeight];")
        size = self.driver.get_window_size()
        self.driver.set_window_size(size["width"] + width - inner[0], size["height"] + height - inner[1])

    def preload(self, source):
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": source})

    def click(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(round(x), round(y)).pause(0.1).click()
        actions.perform()

    def click_element(self, id):
        self.driver.find_element(By.ID, id).click()

    def press(self, key, shift=False):
        """A key (Selenium's Keys) pressed and released wherever the focus is, with Shift held if asked."""
        chain = ActionChains(self.driver)
        chain = chain.key_down(Keys.SHIFT).send_keys(key).key_up(Keys.SHIFT) if shift else chain.send_keys(key)
        chain.perform()

    def tap(self, points):
        """Fingers put down one after another, then lifted the last first; DevTools makes trusted
        touches of them, with identifiers above 15."""
        points = [dict(x=x, y=y, id=20 + i) for i, (x, y) in enumerate(points)]
        for n in range(1, len(points) + 1):
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", dict(type="touchStart", touchPoints=points[:n]))
        for n in range(len(points) - 1, -1, -1):
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", dict(type="touchEnd", touchPoints=points[:n]))

    def hold_phone(self, width, height, upright):
        """The page as a phone's screen of that many CSS pixels, three device pixels to each, touch only."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", dict(
            width=width, height=height, deviceScaleFactor=3, mobile=True,
            screenOrientation=dict(type="portraitPrimary" if upright else "landscapePrimary", angle=0 if upright else 90)))
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", dict(enabled=True, maxTouchPoints=5))

    def leave_phone(self):
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})

    def screenshot(self, x, y, width, height, scale=1):
        """A PNG of that part of the viewport, `scale` device pixels to a CSS pixel where the
        browser can choose."""
        if self.name == "chromium":
            clip = dict(x=x, y=y, width=width, height=height, scale=scale)
            return base64.b64decode(self.driver.execute_cdp_cmd("Page.captureScreenshot", {"clip": clip})["data"])
        return subprocess.run(["convert", "png:-", "-crop", "%dx%d+%d+%d" % (round(width), round(height), round(x), round(y)),
                               "+repage", "png:-"], input=self.driver.get_screenshot_as_png(), check=True,
                              stdout=subprocess.PIPE).stdout

    def console(self):
        """The console's entries since the last call, as (level, text); level "error" for errors."""
        return [("error" if entry["level"] == "SEVERE" else entry["level"].lower(), entry["message"])
                for entry in self.driver.get_log("browser")]

    def choose_file(self, id, path):
        self.driver.find_element(By.ID, id).send_keys(path)

    def open_tab(self, url):
        self.tabs.append(self.driver.current_window_handle)
        self.driver.switch_to.new_window("tab")
        self.driver.get(url)

    def close_tab(self):
        self.driver.close()
        self.driver.switch_to.window(self.tabs.pop())


def open_webkit(cleanup, display):
    downloads = harness.temp_folder(cleanup, "qm-download-")
    options = WebKitOptions()
    options.binary_location = MINIBROWSER
    for flag in ("--automation", "--enable-webgl=true", "--enable-webaudio=true", "--enable-fullscreen=true"):
        options.add_argument(flag)
    # A home of its own, where MiniBrowser keeps its data and puts downloads (having no
    # user-dirs.dirs); the driver's output and the browser's in a file there. (Selenium's own
    # WebKitGTK driver would start the service with the test's environment.)
    service = WebKitService(executable_path="/usr/bin/WebKitWebDriver", log_path=os.path.join(downloads, "driver.log"),
                            env=dict(display.env(), HOME=downloads))
    service.start()
    cleanup(service.stop)
    driver = webdriver.Remote(command_executor=service.service_url, options=options)
    cleanup(driver.quit)
    # The file to choose is on this computer: its path is what the driver types.
    driver.file_detector = UselessFileDetector()
    return Selenium("webkit", driver, downloads, {"keys"})


class Firefox:
    """Firefox ESR over WebDriver BiDi: commands and their answers as JSON over one WebSocket,
    with the events (the console's entries) kept as they come in between."""

    def __init__(self, cleanup, display):
        self.name, self.can = "firefox", {"tabs", "preload", "console", "phone"}
        profile = harness.temp_folder(cleanup, "qm-firefox-")
        self.downloads = os.path.join(profile, "downloads")
        os.mkdir(self.downloads)
        prefs = {
            # WebGL on whatever GL the display has: Firefox's blocklist may turn a software one
            # away (headless, it does), and Mesa's, under Xvfb, plays the game well.
            "webgl.force-enabled": True,
            # Touch events, as on a phone or a touch screen.
            "dom.w3c_touch_events.enabled": 1,
            # A coarse pointer, as a phone's finger (the media query "pointer: coarse").
            "ui.primaryPointerCapabilities": 1,
            # Downloads go to that folder, unasked.
            "browser.download.folderList": 2,
            "browser.download.dir": self.downloads,
            "browser.download.useDownloadDir": True,
            "browser.download.always_ask_before_handling_new_types": False,
        }
        with open(os.path.join(profile, "user.js"), "w") as user:
            user.writelines("user_pref(%s, %s);\n" % (json.dumps(k), json.dumps(v)) for k, v in prefs.items())
        output = os.path.join(profile, "output.txt")
        with open(output, "w") as written:
            # Port 0: the remote agent takes a free port and tells it.
            self.process = subprocess.Popen(
                ["firefox-esr", "--remote-debugging-port=0", "--profile", profile, "--no-remote", "about:blank"],
                env=display.env(), stdout=written, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        cleanup(harness.stop, self.process, timeout=30)
        listening = harness.wait_until(lambda: re.search(r"WebDriver BiDi listening on (ws://\S+)", read(output)), 60,
                                       what="Firefox's remote agent")
        # The remote agent turns away a connection that names an origin, as a page's would.
        self.socket = websocket.create_connection(listening.group(1) + "/session", suppress_origin=True, timeout=120)
        cleanup(self.socket.close)
        self.sent, self.events, self.tabs = 0, [], []
        self.version = self.command("session.new", capabilities={})["capabilities"]["browserVersion"]
        self.command("session.subscribe", events=["log.entryAdded"])
        self.context = self.command("browsingContext.getTree", maxDepth=0)["contexts"][0]["context"]

    def command(self, method, **params):
        self.sent += 1
        self.socket.send(json.dumps(dict(id=self.sent, method=method, params=params)))
        while True:
            reply = json.loads(self.socket.recv())
            if reply.get("type") == "event":
                self.events.append(reply)
            elif reply.get("id") == self.sent:
                break
        if reply["type"] == "error":
            raise AssertionError("%s: %s: %s" % (method, reply["error"], reply["message"]))
        return reply["result"]

    def open(self, url):
        self.command("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def js(self, script, *args):
        """As Selenium's execute_script: `script` is a function's body, with its arguments."""
        result = self.command("script.callFunction", functionDeclaration="function () {\n%s\n}" % script,
                              arguments=[local_value(arg) for arg in args], target=dict(context=self.context),
                              awaitPromise=True)
        if result["type"] == "exception":
            raise AssertionError("the page's script failed: " + result["exceptionDetails"]["text"])
        return python_value(result["result"])

    def size_page(self, width, height):
        self.page_size = dict(width=width, height=height)
        self.command("browsingContext.setViewport", context=self.context, viewport=self.page_size)

    def hold_phone(self, width, height, upright):
        """As Chromium's; the pointer is always coarse (the profile's preferences)."""
        self.command("browsingContext.setViewport", context=self.context, viewport=dict(width=width, height=height),
                     devicePixelRatio=3)
        self.command("emulation.setScreenOrientationOverride", contexts=[self.context], screenOrientation=dict(
            natural="portrait", type="portrait-primary" if upright else "landscape-primary"))

    def leave_phone(self):
        self.command("emulation.setScreenOrientationOverride", contexts=[self.context], screenOrientation=None)
        self.command("browsingContext.setViewport", context=self.context, viewport=self.page_size, devicePixelRatio=None)

    def preload(self, source):
        self.command("script.addPreloadScript", functionDeclaration="() => {\n%s\n}" % source)

    def act(self, *sources):
        self.command("input.performActions", context=self.context, actions=list(sources))

    def click(self, x, y):
        self.act(dict(type="pointer", id="mouse", parameters=dict(pointerType="mouse"), actions=[
            dict(type="pointerMove", x=round(x), y=round(y)), dict(type="pause", duration=100),
            dict(type="pointerDown", button=0), dict(type="pointerUp", button=0)]))

    def click_element(self, id):
        x, y = self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                       "return [r.left + r.width / 2, r.top + r.height / 2];", id)
        self.click(x, y)

    def press(self, key, shift=False):
        keys = [Keys.SHIFT, key] if shift else [key]
        self.act(dict(type="key", id="keyboard", actions=[dict(type="keyDown", value=k) for k in keys] +
                      [dict(type="keyUp", value=k) for k in reversed(keys)]))

    def tap(self, points):
        """Fingers put down one after another, then lifted the last first: one step a tick, each
        finger its own pointer, idle while another acts."""
        steps = []
        for finger, (x, y) in enumerate(points):
            steps += [(finger, dict(type="pointerMove", x=round(x), y=round(y))), (finger, dict(type="pointerDown", button=0))]
        steps += [(finger, dict(type="pointerUp", button=0)) for finger in reversed(range(len(points)))]
        self.act(*(dict(type="pointer", id="finger%d" % finger, parameters=dict(pointerType="touch"),
                        actions=[step if who == finger else dict(type="pause") for who, step in steps])
                   for finger in range(len(points))))

    def screenshot(self, x, y, width, height, scale=1):
        data = self.command("browsingContext.captureScreenshot", context=self.context,
                            clip=dict(type="box", x=x, y=y, width=width, height=height))["data"]
        return base64.b64decode(data)

    def console(self):
        entries = [(event["params"]["level"], event["params"]["text"]) for event in self.events
                   if event["method"] == "log.entryAdded"]
        self.events = []
        return entries

    def choose_file(self, id, path):
        element = self.js("return document.getElementById(arguments[0]);", id)
        self.command("input.setFiles", context=self.context, element=dict(sharedId=element["sharedId"]), files=[path])

    def open_tab(self, url):
        self.tabs.append(self.context)
        self.context = self.command("browsingContext.create", type="tab")["context"]
        self.open(url)

    def close_tab(self):
        self.command("browsingContext.close", context=self.context)
        self.context = self.tabs.pop()


def read(path):
    with open(path) as text:
        return text.read()


def local_value(value):
    """A script's argument, in BiDi's terms."""
    if value is None:
        return dict(type="null")
    kind = {bool: "boolean", int: "number", float: "number", str: "string"}[type(value)]
    return dict(type=kind, value=value)


def python_value(value):
    """A script's result, from BiDi's terms; an element stays as BiDi gives it (its sharedId)."""
    kind = value["type"]
    if kind in ("undefined", "null"):
        return None
    if kind == "array":
        return [python_value(item) for item in value["value"]]
    if kind == "object":
        return {key: python_value(item) for key, item in value["value"]}
    return value.get("value") if kind in ("string", "number", "boolean") else value


def open_browser(name, cleanup, chromium_flags=()):
    """The named browser, in an Xvfb of its own where it needs one."""
    if name == "chromium":
        return open_chromium(cleanup, *chromium_flags)
    display = harness.XServer(1280, 800)
    cleanup(display.close)
    return {"firefox": Firefox, "webkit": open_webkit}[name](cleanup, display)
