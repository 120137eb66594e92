"""One whole game under AddressSanitizer and LeakSanitizer: start, intro, answer the first
dialog, play on the care screen, quit. Any memory error or leak of our own fails the run."""

import glob
import os
import subprocess
import unittest

from harness import GameTestCase

HERE = os.path.dirname(os.path.abspath(__file__))


def keep_gl_driver_loaded():
    """Mesa unloads its software rasteriser before LeakSanitizer looks, and a leak inside an
    unloaded library has no name to suppress it by. Preloading the driver keeps it mapped (and
    ASan's runtime must then come first)."""
    drivers = glob.glob("/usr/lib/*/dri/swrast_dri.so")
    runtime = subprocess.run(["gcc", "-print-file-name=libasan.so"], stdout=subprocess.PIPE,
                             text=True, check=False).stdout.strip()
    if not drivers or not os.path.isabs(runtime):
        return {}
    return {"LD_PRELOAD": "%s %s" % (os.path.realpath(runtime), drivers[0])}


class Sanitized(GameTestCase):
    SCREEN = (854, 480)

    def test_a_short_game_is_clean(self):
        env = {
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0:exitcode=86",
            "LSAN_OPTIONS": "suppressions=%s/../lsan.supp:print_suppressions=0" % HERE,
            **keep_gl_driver_loaded(),
        }
        game = self.start_game(extra_env=env)
        game.wait_for_window(timeout=60)
        game.wait_for_dialog(0, timeout=90)
        game.answer(0, "Will do!")  # closes the dialog
        game.wait_for_care_screen(timeout=90)
        game.press_action(3)  # put wood on the fire
        game.quit("Escape")
        status = game.wait_exit(timeout=120)
        self.assertEqual(status, 0, game.output()[-6000:])


if __name__ == "__main__":
    unittest.main()
