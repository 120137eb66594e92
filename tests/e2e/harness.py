"""Plays the real game in a real X window: its own Xvfb, xdotool for the player's hands,
screenshots read back as pixels. Every wait is on something observable, with a deadline.

Besides the plumbing this module knows what the game's screens look like (where the panel,
bars, buttons, counters and answer boxes are for a given screen size) and what a quiet stretch
of care does to the progress file, so that the tests can read as the game's rules. It also holds
the stored games the tests start from and the scenarios that both the native and the Wine suites
play (a first game, a resumed one, a second copy turned away)."""

import contextlib
import ctypes
import ctypes.util
import fcntl
import functools
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

GAME = os.environ.get("QUENMARSH_BIN", "")
WM_CLOSE = os.environ.get("QUENMARSH_WM_CLOSE", "")
TEXT_PICTURE = os.environ.get("QUENMARSH_TEXT_PICTURE", "")
# Preloaded into the game, it tells on stderr what an error box says (see box_text.c).
BOX_TEXT = os.environ.get("QUENMARSH_BOX_TEXT", "")
FONT = os.environ.get("QUENMARSH_FONT", "")
# A loaded two-core machine can be slow: deadlines are generous, and nothing waits longer
# than it must.
SLOW = float(os.environ.get("QUENMARSH_E2E_SLOWDOWN", "1"))
# Screens a failed wait last saw are kept here as PNG files.
FAILURE_SHOTS = os.environ.get("QUENMARSH_E2E_SHOTS", os.path.join(tempfile.gettempdir(), "qm-e2e-failures"))

# A shower makes more of the map flicker white than this; the wandering chip alone far less.
SHOWER_FLICKER = 600

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
RED = (255, 0, 0)
GREY = (127, 127, 127)              # answer boxes
COUNTERS_BOX = (255, 127, 127)
PANEL_OVER_BLACK = (127, 63, 63)    # the translucent side panel where no map lies under it


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout * SLOW
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def stop(process, sig=signal.SIGTERM, timeout=10):
    """Ends a child process, and the group it leads if it was started in a session of its own:
    `sig`, then SIGKILL if it has not ended within `timeout` seconds; waits for it and closes its
    pipes. Every suite ends its children so."""
    if process.poll() is None:
        with contextlib.suppress(ProcessLookupError):
            if os.getpgid(process.pid) == process.pid:
                os.killpg(process.pid, sig)
            else:
                process.send_signal(sig)
        try:
            process.wait(timeout * SLOW)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    for pipe in (process.stdin, process.stdout, process.stderr):
        if pipe:
            pipe.close()


def temp_folder(cleanup, prefix="qm-"):
    """A new folder of its own, that `cleanup` (a test's addCleanup, or atexit.register) is given
    to remove. Every suite makes its temporary folders so."""
    folder = tempfile.mkdtemp(prefix=prefix)
    cleanup(shutil.rmtree, folder, True)
    return folder


def close_to(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def same_picture(a, b, tolerance=2):
    """Raw RGB byte strings alike to within `tolerance` per channel: the screen's GL blending
    and Allegro's memory blending may round a soft glyph edge differently by one or two (the
    "W" of "WTF?" over grey)."""
    return len(a) == len(b) and (a == b or all(abs(p - q) <= tolerance for p, q in zip(a, b)))


def is_red(p):
    return p[0] > 200 and p[1] < 40 and p[2] < 40


def is_emblem_red(p):
    """Red over black at any opacity from about a fifth up."""
    return p[0] > 50 and p[1] < 10 and p[2] < 10


# ---------------------------------------------------------------------------------------------
# The progress file

FIELDS = ("phase", "phaseTick", "heat", "fire", "water", "food", "health", "goodCount", "deadCount")
METERS = ("heat", "fire", "water", "food", "health")
DEFAULTS = dict(phase=0, phaseTick=0, heat=0.0, fire=0.0, water=255.0, food=255.0, health=255.0,
                goodCount=0, deadCount=0)


def progress(base=DEFAULTS, **changes):
    """A progress record: `base` (the defaults of a fresh game) with the given fields changed."""
    unknown = set(changes) - set(FIELDS)
    if unknown:
        raise ValueError("no such progress fields: %s" % sorted(unknown))
    values = dict(base)
    values.update(changes)
    return values


def progress_text(values):
    """The file the game writes for these values: nine lines, "%d" or "%f", line feeds only."""
    return "".join(("%f\n" % values[f]) if f in METERS else ("%d\n" % values[f]) for f in FIELDS).encode()


def parse_progress(text):
    """The values of a file the game wrote."""
    lines = text.decode("ascii").split("\n")
    return {f: float(v) if f in METERS else int(v) for f, v in zip(FIELDS, lines)}


def write_progress(folder, values_or_bytes):
    content = values_or_bytes if isinstance(values_or_bytes, bytes) else progress_text(values_or_bytes)
    with open(os.path.join(folder, "qmprogress.dat"), "wb") as f:
        f.write(content)


def after_care_ticks(values, ticks):
    """What `ticks` care ticks without a click do to the stored values: heat follows fire,
    food and water run down (and hurt when empty), heat above 200 hurts, full food and water
    heal. Only for stretches without a death, a success or a change of phase; every value
    stays a multiple of 1/8, which single and double precision hold exactly."""
    v = dict(values)
    for _ in range(ticks):
        if v["fire"] > 0 and v["heat"] < v["fire"]:
            v["heat"] += 0.25
        elif v["heat"] != 0:
            v["heat"] -= 0.125
        for meter in ("food", "water"):
            v[meter] -= 0.25
            if v[meter] < 0:
                v[meter] = 0.0
                v["health"] -= 0.25
        if v["heat"] > 200:
            v["health"] -= 0.25
        v["heat"] = min(v["heat"], 255.0)
        if v["food"] > 200 and v["water"] > 200 and v["health"] < 255:
            v["food"] -= 5
            v["water"] -= 5
            v["health"] += 10
        assert v["health"] >= 1, "the chip would die: not a quiet stretch"
        assert not (v["fire"] > 254 and v["health"] > 254 and v["food"] > 200 and v["water"] > 200), \
            "the chip would be raised: not a quiet stretch"
        v["phaseTick"] += 1
        assert v["phaseTick"] != 3600, "the phase would change: not a quiet stretch"
    return v


def new_chip(values, good=0, dead=0):
    """After a death or a success: a fresh chip's meters, the counters stepped, and the phase
    position back at 0, which the same tick's phase step moves on to tick 1."""
    return progress(phase=0, phaseTick=1, goodCount=values["goodCount"] + good,
                    deadCount=values["deadCount"] + dead)


# Stored games that scenarios start from.
# Nothing heals or cries, nothing hurts for 10 s (then only the empty food, by a quarter a
# tick) and nothing dies for 27 s: the phase tick counts the ticks played.
QUIET = progress(phase=1, phaseTick=20, food=150, water=255, health=255)
# A weak chip: health under 100 starts the cry on the first care tick. Food does not heal it,
# so the food bar counts the ticks played.
CRYING = progress(phase=1, phaseTick=20, food=150, water=150, health=50)
# Health gone, and food and water too low for the healing that would otherwise come first: it
# dies on the first care tick.
DYING = progress(phase=1, phaseTick=900, goodCount=2, deadCount=5, health=0, food=100, water=100)
# Meters that keep nearly still: fire never changes by itself, heat equal to it stays within
# an eighth of it, and nothing heals or hurts (health 90 only makes the chip cry).
RESTING = progress(phase=1, phaseTick=500, goodCount=12, deadCount=3,
                   heat=120, fire=120, water=180, food=150, health=90)


# ---------------------------------------------------------------------------------------------
# What the screens look like

# The dialog table's texts, as far as the tests walk it: the lines (None leaves a row empty)
# and the answers in option order.
DIALOG = {
    0: (("Well, I see you have your chip.", "Do well to raise it.", None, None),
        ("Will do!", "Don't tell me want to do!", "Whatever", "I'll try.")),
    1: (("With an attitude like that...", None, None, None), ("CLose",)),
    2: (("As long as you you give it your best!", None, None, None), ("Close",)),
    3: (("Empty Dialog", "Sorry to", "waste your", "time"), ("WTF?", "OMG!", "BBQ", "WUT?")),
    4: (("Code created during Vospertun", "can be a major WTF", None, None), ("...", "WUT?")),
    7: (("WUT indeed", None, None, None), ("Close",)),
    8: (("Sorry about the particles", "Couldn't think of a better way", "to add them with the short time I had", None),
        ("I hate you...", "Should of had flaming water", "Whatever", "Will there be more?")),
    11: (("Oh yes!", None, None, None), ("Bring it!",)),
    12: (("You killed your chip!", "Try again!", None, None), ("Ok", "No!")),
    13: (("Well too bad!", "Unless you quit the game", "You'll have to always be raising a chip", None),
         ("Alright, whatever", "Bite me!", "...")),
    14: (("Well done, you did a great job", "Raise another fine chip", None, None), ("Yes sir!", "Whatever")),
    15: (("Alright, that's enough chips for now.", "Take a break", None, "See you next time... maybe"),
          ("Quit",)),
    16: (("Alright, you're too much of a killer", "Get out of here!", None, "Come back only if you care"),
          ("BYE!",)),
}

BAR_ROWS = {"heat": 10, "fire": 36, "food": 62, "water": 88, "health": 114}
BUTTON_SIZE = 135


class Layout:
    """Where things are on a w x h screen."""

    def __init__(self, width, height):
        w, h = self.width, self.height = width, height
        scale = min(w / 640.0, h / 480.0)
        # The map is scaled from the top-left corner; right of it the screen stays black.
        self.map_width = int(640 * scale)
        self.panel_left = w - 300
        self.buttons = [(w - 290, 140), (w - 145, 140), (w - 290, 285), (w - 145, 285)]
        self.close_button = (w - 26, h - 26)

    def button_centre(self, number):
        x, y = self.buttons[number - 1]
        return x + BUTTON_SIZE // 2, y + BUTTON_SIZE // 2

    def close_centre(self):
        return self.close_button[0] + 8, self.close_button[1] + 8

    def option_boxes(self, count):
        """(x1, y1, x2, y2, label x, label y) of each answer box for a node with `count` answers."""
        w, h = self.width, self.height
        left = (1, w // 2 - 1, w // 4)
        right = (w // 2 + 1, w - 1, w // 2 + w // 4)
        full = (1, w - 1, w // 2)
        upper = (h - 65, h - 36, h - 60)
        lower = (h - 34, h - 4, h - 30)
        places = {4: [(left, upper), (right, upper), (left, lower), (right, lower)],
                  3: [(left, upper), (right, upper), (full, lower)],
                  2: [(left, lower), (right, lower)],
                  1: [(full, lower)]}[count]
        return [(c[0], r[0], c[1], r[1], c[2], r[2]) for c, r in places]

    def answer_point(self, node, label):
        labels = DIALOG[node][1]
        x1, y1, x2, y2, _, _ = self.option_boxes(len(labels))[labels.index(label)]
        return (x1 + x2) // 2, (y1 + y2) // 2


@functools.lru_cache(maxsize=None)
def text_picture(width, height, background, items):
    """Raw RGB of text drawn as the game draws it; items are ((x, y, centred, colour), text)."""
    args = [TEXT_PICTURE, FONT, str(width), str(height), "%d,%d,%d" % background]
    for (x, y, centred, colour), text in items:
        args += ["%d,%d,%d,%d,%d,%d" % ((x, y, 1 if centred else 0) + colour), text]
    # In a sanitizer build the helper is instrumented too; what it leaks at exit is no concern.
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
    raw = subprocess.run(args, check=True, stdout=subprocess.PIPE, env=env).stdout
    assert len(raw) == width * height * 3, "text_picture gave %d bytes" % len(raw)
    return raw


class Shot:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height
        self.layout = Layout(width, height)

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

    def region(self, x0, y0, x1, y1):
        return b"".join(self.raw[(y * self.width + x0) * 3:(y * self.width + x1) * 3] for y in range(y0, y1))

    def save(self, path):
        subprocess.run(["convert", "-size", "%dx%d" % (self.width, self.height), "-depth", "8", "rgb:-", path],
                       input=self.raw, check=True)

    # --- the dialog screen

    def shows_dialog(self, node):
        """Node `node` exactly: its lines in their rows, its answers in their boxes, and
        black where its layout has no box."""
        lines, labels = DIALOG[node]
        w, h = self.width, self.height
        items = tuple(((w // 2, 30 * row, True, WHITE), text) for row, text in enumerate(lines) if text)
        if not same_picture(self.region(0, h // 2 - 60, w, h // 2 + 60), text_picture(w, 120, BLACK, items)):
            return False
        boxes = self.layout.option_boxes(len(labels))
        for (x1, y1, x2, y2, label_x, label_y), label in zip(boxes, labels):
            # Inside the rounded corners and the hover outline: grey with the label on it.
            left, right = x1 + 3, x2 - 3
            picture = text_picture(right - left, 20, GREY, (((label_x - left, 0, True, WHITE), label),))
            if not same_picture(self.region(left, label_y, right, label_y + 20), picture):
                return False
        # No box where the layout has none: the upper row stays black for one or two answers,
        # and the gap between the lower boxes is black unless one box spans the width.
        upper_used = len(labels) >= 3
        lower_split = len(labels) in (2, 4)
        return (close_to(self.pixel(4, h - 50), GREY) == upper_used and
                close_to(self.pixel(w // 2, h - 19), BLACK) == lower_split)

    # --- the care screen

    def is_care_screen(self):
        w = self.width
        return (close_to(self.pixel(168, 48), COUNTERS_BOX, 0) and
                close_to(self.pixel(w - 5, 131), PANEL_OVER_BLACK, 0) and
                (self.pixel(w - 11, 18) == BLACK or is_red(self.pixel(w - 11, 18))))

    def meter(self, name):
        """The value a bar shows: where its red fill ends, counted from an empty bar."""
        w, y = self.width, BAR_ROWS[name] + 8
        x = w - 266
        if not is_red(self.pixel(x, y)):
            return None
        while x < w and is_red(self.pixel(x, y)):
            x += 1
        return x - (w - 265)

    def meters(self):
        return {name: self.meter(name) for name in BAR_ROWS}

    def controls_shown(self):
        """For action buttons 1 to 4 and the close button: is it drawn? Looked for only where
        the panel lies over black, where a hidden control leaves the plain panel colour."""
        layout = self.layout
        shown = []
        for x, y in layout.buttons + [layout.close_button]:
            size = 16 if (x, y) == layout.close_button else BUTTON_SIZE
            x0 = max(x, layout.map_width)
            samples = ((x + size - x0 + 1) // 2) * ((size + 1) // 2)
            drawn = self.count(lambda p: not close_to(p, PANEL_OVER_BLACK), x0, y, x + size, y + size, step=2)
            shown.append(drawn > samples // 20)
        return tuple(shown)

    def shows_counters(self, good, dead):
        picture = text_picture(170, 50, COUNTERS_BOX, (((5, 5, False, WHITE), "Good Chips: %d" % good),
                                                       ((5, 25, False, RED), "Dead Chips: %d" % dead)))
        return same_picture(self.region(0, 0, 170, 50), picture)

    def whitened_since(self, earlier):
        """Map pixels (every other one in each direction) that turned whiter since an earlier
        shot: all three channels moved the same share of their way to white, as under a
        translucent white particle. The wandering chip and its shadow change colour unevenly
        and hardly count."""
        a, b, w = earlier.raw, self.raw, self.width
        right = min(self.layout.map_width, self.layout.panel_left)
        n = 0
        for y in range(50, self.height, 2):
            for i in range((y * w) * 3, (y * w + right) * 3, 6):
                r0, g0, b0 = a[i], a[i + 1], a[i + 2]
                if r0 >= 250 or g0 >= 250 or b0 >= 250:
                    continue
                fr = (b[i] - r0) / (255 - r0)
                fg = (b[i + 1] - g0) / (255 - g0)
                fb = (b[i + 2] - b0) / (255 - b0)
                low = min(fr, fg, fb)
                if low >= 0.25 and max(fr, fg, fb) - low <= 0.15:
                    n += 1
        return n


# ---------------------------------------------------------------------------------------------
# The X server and the game

class _XImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + \
        [("data", ctypes.c_void_p)] + \
        [(name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth",
                                           "bytes_per_line", "bits_per_pixel")]


_XLIB = ctypes.CDLL(ctypes.util.find_library("X11"))
_XLIB.XOpenDisplay.restype = ctypes.c_void_p
_XLIB.XOpenDisplay.argtypes = [ctypes.c_char_p]
_XLIB.XDefaultRootWindow.restype = ctypes.c_ulong
_XLIB.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_XLIB.XGetImage.restype = ctypes.POINTER(_XImage)
_XLIB.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_XLIB.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
_XLIB.XCloseDisplay.argtypes = [ctypes.c_void_p]


def _root_picture(display_name, width, height):
    """Raw RGB of the whole screen, read by Xlib in this process: a few milliseconds, where a
    screenshot program takes a tenth of a second to start (more on a busy machine), and a
    short-lived screen could pass unseen between two looks."""
    display = _XLIB.XOpenDisplay(display_name.encode())
    if not display:
        raise AssertionError("cannot open the display " + display_name)
    try:
        image = _XLIB.XGetImage(display, _XLIB.XDefaultRootWindow(display), 0, 0, width, height,
                                0xFFFFFFFF, 2)  # all planes, ZPixmap
        if not image:
            raise AssertionError("cannot read the screen of " + display_name)
        try:
            got = image.contents
            # The 24-bit screens the tests make: four bytes a pixel, blue first.
            assert (got.bits_per_pixel, got.byte_order, got.bytes_per_line) == (32, 0, width * 4)
            bgrx = ctypes.string_at(got.data, width * height * 4)
        finally:
            _XLIB.XDestroyImage(image)
    finally:
        _XLIB.XCloseDisplay(display)
    raw = bytearray(width * height * 3)
    raw[0::3], raw[1::3], raw[2::3] = bgrx[2::4], bgrx[1::4], bgrx[0::4]
    return bytes(raw)


class XServer:
    """An Xvfb of its own, at a chosen size, on a free display number. It must not reset when
    its last client leaves: a game connecting just then would find no display."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        # Xvfb takes the first free display number itself and tells it once it accepts
        # clients: two harnesses choosing a number at the same moment would otherwise share
        # one server, each driving the other's game.
        told, tell = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(tell), "-noreset", "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(tell,))
        os.close(tell)
        with os.fdopen(told) as number:
            ready, _, _ = select.select([number], [], [], 20 * SLOW)
            self.number = int(number.readline() or -1) if ready else -1
        if self.number < 0:
            self.close()
            raise AssertionError("Xvfb did not start")
        self.name = ":%d" % self.number

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        return env

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env(), check=check, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)

    def screenshot(self):
        return Shot(_root_picture(self.name, self.width, self.height), self.width, self.height)

    def close(self):
        stop(self.proc)


class Game:
    """The built game, started with its settings in the folder `settings`."""

    def __init__(self, xserver, settings, program=None, extra_env=None, args=()):
        self.x = xserver
        self.layout = Layout(xserver.width, xserver.height)
        self.settings = settings
        env = xserver.env()
        env["XDG_CONFIG_HOME"] = self.settings
        env["HOME"] = self.settings
        env.update(extra_env or {})
        if BOX_TEXT:
            env["LD_PRELOAD"] = " ".join(filter(None, (env.get("LD_PRELOAD"), BOX_TEXT)))
        self.command = [program or GAME, *args]
        self.env = env
        self.log = tempfile.TemporaryFile()
        self.window = None
        self._spawn()

    def _spawn(self):
        self.started = time.monotonic()
        self.proc = subprocess.Popen(self.command, env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT, start_new_session=True)

    @property
    def progress_file(self):
        return os.path.join(self.settings, "qmprogress.dat")

    def saved_progress(self):
        with open(self.progress_file, "rb") as f:
            return f.read()

    def find_window(self, name):
        found = self.x.run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % name, check=False)
        ids = found.stdout.split()
        return ids[0] if ids else None

    def dismiss_error_box(self, box):
        self.x.run("xdotool", "mousemove", "--window", box, "20", "20", "key", "Return")

    def wait_for_window(self, timeout=30):
        """Waits for the game's window. A start that ends in the error box fails the test with
        the box's text."""
        try:
            self.window = wait_until(lambda: self._start_failed() or self.find_window("Quenmarsh"), timeout,
                                     interval=0.1, what="the game window")
        except AssertionError as failure:
            windows = self.x.run("xdotool", "search", "--name", ".", check=False).stdout.split()
            raise AssertionError("%s; windows %s; the game said:\n%s" % (failure, windows, self.output()[-3000:]))
        return self.window

    def _start_failed(self):
        if self.proc.poll() is not None:
            raise AssertionError("the game exited early with %s:\n%s" % (self.proc.returncode, self.output()))
        box = self.find_window("Error")
        if not box:
            return None
        text = self.error_box_text()
        self.dismiss_error_box(box)
        raise AssertionError("the game's start-up failed with its error box: " + text)

    def error_box_text(self):
        said = [line for line in self.output().splitlines() if line.startswith("error box: ")]
        return said[-1][len("error box: "):] if said else "(its text is not known)"

    def geometry(self):
        out = self.x.run("xdotool", "getwindowgeometry", "--shell", self.window).stdout
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def move(self, x, y):
        self.x.run("xdotool", "mousemove", str(x), str(y))

    def click(self, x, y):
        # The move comes first: the game acts on the last reported position. One xdotool
        # makes both, so the server takes them in that order.
        self.x.run("xdotool", "mousemove", str(x), str(y), "click", "1")

    def key(self, name):
        self.x.run("xdotool", "key", name)

    def request_close(self):
        self.x.run(WM_CLOSE, self.window)

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout * SLOW)
        except subprocess.TimeoutExpired:
            raise AssertionError("the game did not exit:\n" + self.output())

    def wait_for_screen(self, predicate, timeout=20, what="screen", interval=0.1):
        last = []

        def check():
            if self.proc.poll() is not None:
                raise AssertionError("the game exited with %s while waiting for %s:\n%s"
                                     % (self.proc.returncode, what, self.output()[-3000:]))
            shot = self.x.screenshot()
            last[:] = [shot]
            return shot if predicate(shot) else None
        try:
            return wait_until(check, timeout, interval=interval, what=what)
        except AssertionError as failure:
            if last and "timed out" in str(failure):
                self._start_failed()  # the window came before an error box
                os.makedirs(FAILURE_SHOTS, exist_ok=True)
                path = os.path.join(FAILURE_SHOTS, "%d-%s.png" % (os.getpid(), "".join(
                    c if c.isalnum() else "-" for c in what)[:60]))
                last[0].save(path)
                raise AssertionError("%s (last screen: %s)" % (failure, path))
            raise

    # --- the player's moves, in the game's own terms

    def wait_for_game_screen(self, predicate, timeout, what):
        """wait_for_screen, after the game's window if it has not been seen yet."""
        if self.window is None:
            self.wait_for_window()
        return self.wait_for_screen(predicate, timeout, what=what)

    def wait_for_emblem(self, timeout=20):
        """The intro's red emblem on black, at any strength of its fading (about two seconds
        of the intro, which draws every frame). It shows only once start-up has registered
        the input sources, so input given from then on is not lost."""
        return self.wait_for_game_screen(lambda s: s.count(is_emblem_red, step=8) > 50, timeout, "the red emblem")

    def wait_for_dialog(self, node, timeout=20):
        return self.wait_for_game_screen(lambda s: s.shows_dialog(node), timeout, "dialog node %d" % node)

    def wait_for_care_screen(self, timeout=20):
        return self.wait_for_game_screen(lambda s: s.is_care_screen(), timeout, "the care screen")

    def answer(self, node, label):
        """Once dialog node `node` shows, clicks its answer `label`."""
        self.wait_for_dialog(node)
        self.click(*self.layout.answer_point(node, label))

    def press_action(self, number):
        self.click(*self.layout.button_centre(number))

    def quit(self, way):
        """Leaves the game by Escape, the panel's close button or the window's close request."""
        if way == "Escape":
            # Keys reach the window only while the pointer is over it.
            self.move(self.x.width // 2, self.x.height // 2)
            self.key("Escape")
        elif way == "close button":
            self.click(*self.layout.close_centre())
        elif way == "close request":
            self.request_close()
        else:
            raise ValueError(way)

    def shower_flicker(self, ticks=60):
        """How much of the map flickers white from one look to the next over at least `ticks`
        care ticks: thousands of samples under a particle shower, about a hundred from the
        wandering chip alone. The ticks are told by the food or water bar, which runs down by
        a quarter a tick (so this is for chips that are not being healed)."""
        first, last, most = None, None, [0]

        def long_enough(shot):
            nonlocal first, last
            if last:
                most[0] = max(most[0], shot.whitened_since(last) + last.whitened_since(shot))
            first, last = first or shot, shot
            return max(first.meter(m) - shot.meter(m) for m in ("food", "water")) > ticks / 4 + 1
        self.wait_for_screen(lambda s: s.is_care_screen() and long_enough(s), what="%d ticks of care" % ticks)
        return most[0]

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def kill(self):
        stop(self.proc, signal.SIGKILL)
        if not self.log.closed:
            self.log.close()


class GameTestCase(unittest.TestCase):
    """Each test gets X servers of the sizes it asks for; games and folders it starts are
    cleaned up after it."""

    SCREEN = (960, 540)

    def setUp(self):
        self.assertTrue(GAME and os.path.exists(GAME), "QUENMARSH_BIN must name the built game")
        self.servers = {}

    @property
    def x(self):
        return self.screen(*self.SCREEN)

    def screen(self, width, height):
        if (width, height) not in self.servers:
            server = XServer(width, height)
            self.addCleanup(server.close)
            self.servers[(width, height)] = server
        return self.servers[(width, height)]

    def start_game(self, screen=None, stored=None, **kwargs):
        """Starts the game on a screen of the given size (the class's SCREEN by default), with
        a fresh settings folder holding `stored` (progress values or raw bytes) if given."""
        if "settings" not in kwargs:
            kwargs["settings"] = temp_folder(self.addCleanup, "qm-settings-")
        if stored is not None:
            write_progress(kwargs["settings"], stored)
        game = Game(self.screen(*(screen or self.SCREEN)), **kwargs)
        self.addCleanup(game.kill)
        return game

    @contextlib.contextmanager
    def playing(self, **kwargs):
        """start_game's game, killed when the block ends, so that a failed subtest leaves none
        running into the next."""
        game = self.start_game(**kwargs)
        try:
            yield game
        finally:
            game.kill()

    def leave(self, game, way="Escape"):
        """Leaves the game (see Game.quit), which must then end with status 0."""
        game.quit(way)
        self.assertEqual(game.wait_exit(), 0, game.output()[-3000:])

    def play_to_first_dialog_and_leave(self, **kwargs):
        """Starts the game (as start_game), waits for dialog 0 and leaves with Escape; returns the
        ended game."""
        game = self.start_game(**kwargs)
        game.wait_for_dialog(0)
        self.leave(game)
        return game

    def play_first_game(self, game, answers):
        """From the emblem through dialogs answered with `answers` ((node, label) pairs) to the
        care screen, laid out for the screen's size, then out by Escape."""
        game.wait_for_window()
        self.assertEqual(game.geometry(), (game.x.width, game.x.height), "full screen")
        game.wait_for_emblem()
        sys.stderr.write("first frame after %.2f s\n" % (time.monotonic() - game.started))
        for node, label in answers:
            game.answer(node, label)
        # The last answer closes the dialog with a fade of 32 ticks, which a busy machine may
        # neither draw nor show (the screen-flow unit tests time it): the care screen follows.
        shot = game.wait_for_care_screen()
        layout, h = shot.layout, game.x.height
        self.assertEqual(shot.controls_shown(), (True,) * 5, "four action buttons and the close button")
        self.assertTrue(shot.shows_counters(0, 0))
        # The map is scaled to the screen's height and anchored at the left: right of it lies
        # the panel over black (or, on a wide screen, bare black before the panel begins).
        below_buttons = range(h - 50, h - 30)
        beyond_map = [shot.pixel(layout.map_width, y) for y in below_buttons]
        map_edge = [shot.pixel(layout.map_width - 1, y) for y in below_buttons]
        background = PANEL_OVER_BLACK if layout.map_width >= layout.panel_left else BLACK
        self.assertTrue(all(p == background for p in beyond_map), beyond_map)
        self.assertTrue(sum(p != background for p in map_edge) > len(map_edge) // 2, map_edge)
        self.assertTrue(close_to(shot.pixel(layout.width - 5, h // 2), PANEL_OVER_BLACK, 0))
        self.leave(game)
        played = self.assertSavedAfterQuietCare(game, DEFAULTS)
        self.assertBarsShow(shot, DEFAULTS, played)

    def assertResumes(self, game, loaded, opens_on):
        """`game`, started on a stored game that loads as `loaded`, opens on `opens_on`: the
        welcome dialog ("dialog"), or the care screen with the counters and meters loaded, with
        a particle shower ("shower") or without ("care"). Left again, the file holds exactly
        what was played."""
        if opens_on == "dialog":
            game.wait_for_dialog(0)
            self.leave(game)
            # Nothing moves while a dialog is shown.
            self.assertEqual(game.saved_progress(), progress_text(loaded))
            return
        shot = game.wait_for_care_screen()
        self.assertTrue(shot.shows_counters(loaded["goodCount"], loaded["deadCount"]))
        flicker = game.shower_flicker()
        if opens_on == "shower":
            self.assertGreater(flicker, SHOWER_FLICKER, "a particle shower")
        else:
            self.assertLess(flicker, SHOWER_FLICKER, "no particle shower")
        self.leave(game, "close request")
        played = self.assertSavedAfterQuietCare(game, loaded)
        self.assertBarsShow(shot, loaded, played)
        self.assertFalse(os.path.exists(game.progress_file + ".new"))

    def assertSavedAfterQuietCare(self, game, start):
        """The file holds `start` moved on by as many quiet care ticks as its phase tick says
        were played; returns that number."""
        saved = game.saved_progress()
        lines = saved.split(b"\n")
        self.assertEqual(len(lines), 10, saved)
        played = int(lines[1]) - start["phaseTick"]
        self.assertGreaterEqual(played, 0, saved)
        self.assertEqual(saved, progress_text(after_care_ticks(start, played)))
        return played

    def assertOneCopyAtATime(self, first, another, start):
        """While `first` (started on the quiet values `start`) is on the care screen, a copy that
        `another()` starts on the same progress file shows the error box, writes nothing and ends
        with status 255; the first plays on and saves its own values at Escape. Escape, then
        SIGKILL, let the next copy play."""
        first.wait_for_care_screen()
        before = sorted(os.listdir(first.settings)), first.saved_progress()
        second = another()
        box = wait_until(lambda: second.proc.poll() is not None or second.find_window("Error"), 30,
                         interval=0.1, what="the error box")
        self.assertIsNone(second.proc.poll(), "the box must wait for the player:\n" + second.output())
        second.dismiss_error_box(box)
        self.assertEqual(second.wait_exit(), 255)
        self.assertIn("quenmarsh: Quenmarsh is already running.", second.output())
        if BOX_TEXT:
            self.assertEqual(second.error_box_text(), "Error: Cannot run: Quenmarsh is already running.")
        self.assertEqual((sorted(os.listdir(first.settings)), first.saved_progress()), before,
                         "the second copy wrote nothing")
        first.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") <= 140, what="more care")
        self.leave(first)
        self.assertGreater(self.assertSavedAfterQuietCare(first, start), 0)
        for ending in ("SIGKILL", "Escape"):
            game = another()
            game.wait_for_care_screen()
            if ending == "SIGKILL":
                game.kill()
            else:
                self.leave(game)

    def assertGuardReleased(self, game):
        """No copy of the game holds the progress file's lock any more: it can be taken."""
        with open(game.progress_file + ".lock", "rb") as lock:
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except BlockingIOError:
                self.fail("the lock beside the progress file is still held")

    def assertBarsShow(self, shot, start, most_ticks):
        """The five bars show `start` after some number of quiet care ticks, no more than
        `most_ticks` (a screen is taken before the file that tells how many were played)."""
        shown, values = shot.meters(), dict(start)
        for _ in range(most_ticks + 1):
            if all(shown[m] is not None and abs(shown[m] - values[m]) <= 1 for m in METERS):
                return
            values = after_care_ticks(values, 1)
        self.fail("the bars show %s, which is not %s after at most %d ticks" % (shown, start, most_ticks))
