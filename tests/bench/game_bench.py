"""What the game costs to run, screen by screen, under Xvfb at 960 x 540: CPU time per 10
seconds, OpenGL draw calls per frame (counted by gl_count.so, preloaded), frames shown per
second, peak resident memory and ticks dropped, beside two yardsticks measured in the same run:
a bare Allegro program that only clears and flips the display at 60 Hz, and the same program
drawing one 640 x 480 picture scaled to the display ("map alone").

The screens: the intro (from its first frame to its last; CPU scaled to 10 s), a still dialog
(node 0 of a fresh game, the pointer away from its answers), the care screen at rest (no
shower) and the care screen with a full 1000-particle shower.

Usage: game_bench.py GAME BARE_LOOP GL_COUNT [SECONDS]"""

import atexit
import os
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import XServer, Game, close_to, GREY, parse_progress, progress, temp_folder, write_progress  # noqa: E402

SCREEN = (960, 540)
START_TICK = 100  # far from the phase's end: no phase change while measuring
INTRO_FRAMES = 84  # fade in, hold, fade out, one black frame
CALM = dict(heat=100.0, fire=120.0, water=200.0, food=200.0, health=200.0)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])  # utime + stime
    return ticks / os.sysconf("SC_CLK_TCK")


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


class Counted:
    """A program started with the GL call counter; reads its draw calls and swaps so far."""

    def __init__(self, x, gl_count, program, settings=None, args=()):
        self.file = tempfile.NamedTemporaryFile(prefix="qm-gl-count-")
        self.game = Game(x, settings or temp_folder(atexit.register, "qm-bench-"), program=program, args=args,
                         extra_env={"LD_PRELOAD": gl_count, "QUENMARSH_GL_COUNT": self.file.name})

    def counts(self):
        with open(self.file.name, "rb") as f:
            data = f.read(16)
        return struct.unpack("<QQ", data) if len(data) == 16 else (0, 0)

    def sample(self):
        draws, swaps = self.counts()
        return {"cpu": cpu_seconds(self.game.proc.pid), "at": time.monotonic(), "draws": draws, "swaps": swaps}

    def wait_for_swaps(self, n, timeout=30):
        deadline = time.monotonic() + timeout
        while self.counts()[1] < n:
            if self.game.proc.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("no %d frames: %s" % (n, self.game.output()[-2000:]))
            time.sleep(0.002)
        return self.sample()

    def measure(self, seconds):
        first = self.sample()
        time.sleep(seconds)
        return self.between(first, self.sample())

    def between(self, first, last):
        wall = last["at"] - first["at"]
        frames = last["swaps"] - first["swaps"]
        draws = last["draws"] - first["draws"]
        return {"cpu10": (last["cpu"] - first["cpu"]) * 10.0 / wall, "fps": frames / wall,
                "calls": draws / frames if frames else 0.0, "calls_per_s": draws / wall,
                "rss": peak_rss_mb(self.game.proc.pid), "dropped": None}

    def quit(self):
        self.game.quit("Escape")
        return self.game.wait_exit()

    def close(self):
        self.game.kill()
        self.file.close()


def yardstick(x, gl_count, bare_bin, seconds, args=()):
    run = Counted(x, gl_count, bare_bin, args=args)
    try:
        run.game.wait_for_window()
        run.wait_for_swaps(60)
        result = run.measure(seconds)
        result["status"] = run.quit()
        return result
    finally:
        run.close()


def intro_and_still_dialog(x, gl_count, game_bin, seconds):
    settings = temp_folder(atexit.register, "qm-bench-")
    run = Counted(x, gl_count, game_bin, settings=settings)
    try:
        intro = run.between(run.wait_for_swaps(1), run.wait_for_swaps(INTRO_FRAMES))
        run.game.wait_for_window()
        h = SCREEN[1]
        run.game.wait_for_screen(lambda s: close_to(s.pixel(4, h - 50), GREY), timeout=30,
                                 what="dialog node 0")
        run.game.move(SCREEN[0] // 2, 60)  # over the dialog's text, away from its answers
        time.sleep(1.0)
        dialog = run.measure(seconds)
        status = run.quit()
        intro["status"] = dialog["status"] = status
        return intro, dialog
    finally:
        run.close()


def care_screen(x, gl_count, game_bin, seconds, phase):
    settings = temp_folder(atexit.register, "qm-bench-")
    write_progress(settings, progress(phase=phase, phaseTick=START_TICK, **CALM))
    run = Counted(x, gl_count, game_bin, settings=settings)
    try:
        run.game.wait_for_care_screen(timeout=30)
        ready_at = time.monotonic()
        result = run.measure(seconds)
        quit_at = time.monotonic()
        result["status"] = run.quit()
        ticks_run = parse_progress(run.game.saved_progress())["phaseTick"] - START_TICK
        # The timer ran from just before the first care frame to the Escape; the screenshot that
        # saw that frame may come a few ticks late, hence the margin.
        expected = (quit_at - ready_at) * 60.0
        result["dropped"] = max(0, int(expected - ticks_run - 12))
        return result
    finally:
        run.close()


def row(name, r, yard_name, yard):
    dropped = "-" if r["dropped"] is None else "%d" % r["dropped"]
    ratio = "%.2f x %s" % (r["cpu10"] / yard["cpu10"], yard_name) if yard else ""
    print("%-22s %7.3f s  %-18s %6.1f %9.1f %8.1f MB %8s" % (name, r["cpu10"], ratio, r["fps"], r["calls"],
                                                           r["rss"], dropped))


def main():
    game_bin, bare_bin, gl_count = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
    seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 10.0

    x = XServer(*SCREEN)
    try:
        bare = yardstick(x, gl_count, bare_bin, seconds)
        alone = yardstick(x, gl_count, bare_bin, seconds, args=("map",))
        intro, dialog = intro_and_still_dialog(x, gl_count, game_bin, seconds)
        rest = care_screen(x, gl_count, game_bin, seconds, phase=1)
        shower = care_screen(x, gl_count, game_bin, seconds, phase=4)
    finally:
        x.close()

    print("%dx%d, %.0f s per screen; CPU per 10 s, frames per second, GL draw calls per frame"
          % (SCREEN[0], SCREEN[1], seconds))
    print("%-22s %9s  %-18s %6s %9s %11s %8s" % ("", "CPU", "", "fps", "calls", "peak RSS", "dropped"))
    row("bare loop", bare, "", None)
    row("map alone", alone, "bare", bare)
    row("intro", intro, "bare", bare)
    row("still dialog", dialog, "bare", bare)
    row("care screen at rest", rest, "map alone", alone)
    row("care screen, shower", shower, "map alone", alone)
    runs = {"bare loop": bare, "map alone": alone, "game (dialog)": dialog, "game (rest)": rest,
            "game (shower)": shower}
    failed = {name: r["status"] for name, r in runs.items() if r["status"] != 0}
    if failed:
        print("exit status: %s" % failed)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
