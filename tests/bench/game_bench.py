"""What the game costs to run: its CPU time over 10 seconds on the care screen with the
1000-particle shower under Xvfb at 960 x 540, beside a bare Allegro program that only clears
and flips the same display at 60 Hz; its peak resident memory; and whether it kept every tick.

Usage: game_bench.py GAME BARE_LOOP [SECONDS]"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import XServer, Game, close_to  # noqa: E402

SCREEN = (960, 540)
START_TICK = 100  # phase 4 far from its end: no phase change while measuring


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


def measure(x, program, seconds, settings=None, is_ready=None, args=()):
    game = Game(x, program=program, settings=settings, args=args)
    try:
        game.wait_for_window()
        if is_ready:
            ready_at = is_ready(game)
        else:
            time.sleep(1.0)
            ready_at = time.monotonic()
        cpu0 = cpu_seconds(game.proc.pid)
        t0 = time.monotonic()
        time.sleep(seconds)
        cpu1 = cpu_seconds(game.proc.pid)
        t1 = time.monotonic()
        rss = peak_rss_mb(game.proc.pid)
        game.move(SCREEN[0] // 2, SCREEN[1] // 2)
        game.key("Escape")
        quit_at = time.monotonic()
        status = game.wait_exit()
        return {"cpu": cpu1 - cpu0, "wall": t1 - t0, "rss": rss, "ready_at": ready_at,
                "quit_at": quit_at, "status": status}
    finally:
        game.kill()


def main():
    game_bin, bare_bin = sys.argv[1], sys.argv[2]
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10.0
    settings = os.path.abspath("bench-settings")
    os.makedirs(settings, exist_ok=True)
    progress = os.path.join(settings, "qmprogress.dat")
    with open(progress, "w") as f:
        f.write("4\n%d\n100.000000\n120.000000\n200.000000\n200.000000\n200.000000\n0\n0\n" % START_TICK)

    x = XServer(*SCREEN)
    try:
        bare = measure(x, bare_bin, seconds)
        bare_map = measure(x, bare_bin, seconds, args=("map",))

        def care_screen_shown(game):
            # The counters box, an empty heat bar and a health bar filled to 200.
            game.wait_for_screen(lambda s: close_to(s.pixel(160, 45), (255, 127, 127))
                                 and close_to(s.pixel(940, 18), (0, 0, 0))
                                 and close_to(s.pixel(700, 120), (255, 0, 0)),
                                 timeout=30, what="the care screen")
            return time.monotonic()
        played = measure(x, game_bin, seconds, settings=settings, is_ready=care_screen_shown)
    finally:
        x.close()

    with open(progress) as f:
        ticks_run = int(f.read().split("\n")[1]) - START_TICK
    # The timer ran from just before the first care frame to the Escape; the screenshot that saw
    # that frame may come a few ticks late, hence the margin.
    expected = (played["quit_at"] - played["ready_at"]) * 60.0
    dropped = max(0, int(expected - ticks_run - 12))

    print("care screen, 1000 particles, %dx%d, %.0f s" % (SCREEN[0], SCREEN[1], seconds))
    print("  game CPU:        %6.3f s  (%.1f%% of one core)" % (played["cpu"], 100 * played["cpu"] / played["wall"]))
    print("  bare loop CPU:   %6.3f s  (%.1f%% of one core)" % (bare["cpu"], 100 * bare["cpu"] / bare["wall"]))
    print("  ratio:           %6.2f x" % (played["cpu"] / bare["cpu"]))
    print("  bare loop drawing one 640x480 picture: %.3f s (%.2f x the bare loop)"
          % (bare_map["cpu"], bare_map["cpu"] / bare["cpu"]))
    print("  game peak RSS:   %6.1f MB (bare loop %.1f MB; with one picture %.1f MB)"
          % (played["rss"], bare["rss"], bare_map["rss"]))
    print("  ticks run:       %d of about %.0f since the first care frame; dropped: %d" % (ticks_run, expected, dropped))
    if played["status"] != 0 or bare["status"] != 0 or bare_map["status"] != 0:
        print("  exit status: game %s, bare %s, bare with picture %s"
              % (played["status"], bare["status"], bare_map["status"]))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
