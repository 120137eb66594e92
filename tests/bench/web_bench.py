"""How soon the browser game answers: cold loads of a web build's folder in headless Chromium at
960 x 540 (WebGL on the CPU, as the browser tests have it), each in a fresh profile, served from
127.0.0.1 by tools/serve_web.py. For each load, from the moment the page opens:

- the first frame: the end of the first task that draws on the canvas (the intro's first
  frame, black with the emblem still transparent, is the game's first picture);
- the first dialog: the end of the first task after which the canvas holds a dialog with four
  answers, seen in its pixels (its answer boxes grey, black above them, as the browser tests
  know it), read back before the browser shows the frame;
- the longest main-thread task before the first dialog (Chromium's "longtask" entries);

and the bytes the page fetched before the first dialog (the page itself and every resource it
asked for but the icons the manifest names, fetched for installing), as served and each
compressed with gzip -9, and the zip's size beside the folder. The median, minimum and maximum
of each time over the loads, each against its goal.

Usage: web_bench.py [RUNS] FOLDER [FOLDER...]   (RUNS 5 by default; a column for each folder,
whose loads take turns with the others')"""

import contextlib
import gzip
import json
import os
import statistics
import subprocess
import sys
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "web"), os.path.join(HERE, "..", "e2e")]
import browsers  # noqa: E402
import harness  # noqa: E402

SERVER = os.path.join(HERE, "..", "..", "tools", "serve_web.py")
WIDTH, HEIGHT = 960, 540
FLAGS = ("--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--disable-quic",
         "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
         "--window-size=%d,%d" % (WIDTH, HEIGHT))

# Runs before the page's own scripts. Every draw call schedules one look at the canvas for the
# end of its task (a microtask), where the frame is complete and not yet shown: the first such
# look is the first frame; the dialog is the first whose probe pixels are all as expected. Reading
# pixels makes the page wait for the frame to be drawn, so the pixels are read at most every
# LOOK_MS: the first dialog is known to within that.
LOOK_MS = 50
WATCH = """
(() => {
  const bench = window.quenmarshBench = {firstFrame: null, dialog: null, longTasks: []};
  new PerformanceObserver(list => list.getEntries().forEach(task => bench.longTasks.push([task.startTime, task.duration])))
    .observe({type: 'longtask', buffered: true});
  const probes = %(probes)s, pixel = new Uint8Array(4);
  let looking = false, lastRead = -Infinity;
  function look(gl) {
    looking = false;
    const now = performance.now();
    if (bench.firstFrame === null) bench.firstFrame = now;
    if (gl.canvas.width !== %(width)d || gl.canvas.height !== %(height)d || now - lastRead < %(look)d) return;
    lastRead = now;
    const target = gl.READ_FRAMEBUFFER || gl.FRAMEBUFFER;
    const bound = gl.getParameter(gl.READ_FRAMEBUFFER_BINDING || gl.FRAMEBUFFER_BINDING);
    gl.bindFramebuffer(target, null);
    const shown = probes.every(([x, y, colour]) => {
      gl.readPixels(x, gl.canvas.height - 1 - y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      return colour.every((c, i) => Math.abs(c - pixel[i]) <= 8);
    });
    gl.bindFramebuffer(target, bound);
    if (shown) bench.dialog = now;
  }
  for (const context of [WebGLRenderingContext, WebGL2RenderingContext]) {
    for (const name of ['drawArrays', 'drawElements']) {
      const draw = context.prototype[name];
      context.prototype[name] = function () {
        if (!looking && bench.dialog === null) {
          looking = true;
          queueMicrotask(() => look(this));
        }
        return draw.apply(this, arguments);
      };
    }
  }
})();
"""

GOALS = (("first frame", "s", 1.0), ("first dialog", "s", 4.0), ("longest task", "ms", 200))


def probes():
    """The pixels that tell a four-answer dialog: inside each box, and the black above them."""
    boxes = harness.Layout(WIDTH, HEIGHT).option_boxes(4)
    return [[x1 + 6, y1 + 4, list(harness.GREY)] for x1, y1, _, _, _, _ in boxes] + \
        [[WIDTH // 2, HEIGHT // 2 - 45, list(harness.BLACK)]]


def load_once(url):
    """One cold load: (first frame s, first dialog s, longest task ms, paths fetched before the dialog)."""
    with contextlib.ExitStack() as cleanup:
        browser = browsers.open_chromium(cleanup.callback, *FLAGS)
        browser.size_page(WIDTH, HEIGHT)
        browser.preload(WATCH % dict(probes=probes(), width=WIDTH, height=HEIGHT, look=LOOK_MS))
        browser.open(url)
        harness.wait_until(lambda: browser.js("return quenmarshBench.dialog !== null;"), 60, interval=0.2,
                           what="the first dialog")
        frame, dialog, tasks, fetched = browser.js(
            "const dialog = quenmarshBench.dialog;"
            "return [quenmarshBench.firstFrame, dialog,"
            "  quenmarshBench.longTasks.filter(([start]) => start < dialog).map(([, length]) => length),"
            "  performance.getEntriesByType('resource').filter(r => r.startTime < dialog).map(r => r.name)];")
    return frame / 1000, dialog / 1000, max(tasks, default=0), [urllib.parse.urlparse(url).path] + \
        [urllib.parse.urlparse(name).path for name in fetched]


def sizes(folder, paths):
    """Raw and gzip -9 bytes of the files behind those paths (the page for "/")."""
    raw = packed = 0
    for path in sorted(set(paths)):
        name = path.lstrip("/") or "index.html"
        with open(os.path.join(folder, name), "rb") as file:
            data = file.read()
        raw += len(data)
        packed += len(gzip.compress(data, 9))
    return raw, packed


def serve(folder, cleanup):
    """The address of a server for `folder`, which `cleanup` stops."""
    server = subprocess.Popen([sys.executable, SERVER, folder], stdout=subprocess.PIPE, text=True,
                              preexec_fn=browsers.die_with_parent)
    cleanup.callback(server.wait)
    cleanup.callback(server.terminate)
    return server.stdout.readline().split("open ")[1].split(" ")[0]


def measure(folders, runs):
    """Each folder's loads, taking turns, so that whatever else the machine does weighs on all alike."""
    loads = {folder: [] for folder in folders}
    with contextlib.ExitStack() as cleanup:
        urls = {folder: serve(folder, cleanup) for folder in folders}
        for run in range(runs):
            for folder in folders:
                loads[folder].append(load_once(urls[folder]))
                print("  %s load %d: first frame %.2f s, first dialog %.2f s, longest task %.0f ms"
                      % (folder, run + 1, *loads[folder][-1][:3]), flush=True)
                time.sleep(1)
    results = []
    for folder in folders:
        fetched = sorted({path for load in loads[folder] for path in load[3]} - installing_icons(folder))
        raw, packed = sizes(folder, fetched)
        zips = [os.path.join(folder, "..", name) for name in os.listdir(os.path.join(folder, ".."))
                if name.endswith("-web.zip")]
        results.append(dict(times=[[load[i] for load in loads[folder]] for i in range(3)], fetched=fetched,
                            raw=raw, packed=packed, zip=os.path.getsize(zips[0]) if zips else None))
    return results


def installing_icons(folder):
    """The paths of the icons the manifest names, which the browser fetches for installing alone."""
    with open(os.path.join(folder, "manifest.webmanifest")) as manifest:
        return {"/" + icon["src"] for icon in json.load(manifest)["icons"]}


def main():
    args = sys.argv[1:]
    runs = int(args.pop(0)) if args and args[0].isdigit() else 5
    if not args:
        sys.exit(__doc__)
    results = measure(args, runs)
    print("\nChromium, %d cold loads each, median (min-max):" % runs)
    print("%-40s %-10s" % ("", "goal") + "".join(" %-24s" % folder[-24:] for folder in args))
    for i, (name, unit, goal) in enumerate(GOALS):
        cells = []
        for result in results:
            values = result["times"][i]
            cells.append("%.2f (%.2f-%.2f)" % (statistics.median(values), min(values), max(values)) if unit == "s"
                         else "%.0f (%.0f-%.0f)" % (statistics.median(values), min(values), max(values)))
        print("%-40s %-10s" % (name + " (" + unit + ")", "<= %g" % goal) + "".join(" %-24s" % c for c in cells))
    print("%-40s %-10s" % ("fetched before the dialog (KB, raw)", "") +
          "".join(" %-24.0f" % (r["raw"] / 1000) for r in results))
    print("%-40s %-10s" % ("fetched before the dialog (KB, gzip -9)", "<= 800") +
          "".join(" %-24.0f" % (r["packed"] / 1000) for r in results))
    print("%-40s %-10s" % ("zip (KB)", "<= 1200") +
          "".join(" %-24s" % ("%.0f" % (r["zip"] / 1000) if r["zip"] else "-") for r in results))
    for folder, result in zip(args, results):
        print("%s fetched: %s" % (folder, " ".join(result["fetched"])))


if __name__ == "__main__":
    main()
