"""One whole game under AddressSanitizer and LeakSanitizer: start, intro, answer the first
dialog, play on the care screen, quit. Any memory error or leak of our own fails the run."""

import os
import unittest

from harness import GameTestCase, close_to

HERE = os.path.dirname(os.path.abspath(__file__))
GREY = (127, 127, 127)


class Sanitized(GameTestCase):
    SCREEN = (854, 480)

    def test_a_short_game_is_clean(self):
        env = {
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0:exitcode=86",
            "LSAN_OPTIONS": "suppressions=%s/../lsan.supp:print_suppressions=0" % HERE,
        }
        game = self.start_game(extra_env=env)
        game.wait_for_window(timeout=60)
        # Dialog node 0: four grey answer buttons along the bottom.
        game.wait_for_screen(lambda s: close_to(s.pixel(100, 430), GREY) and close_to(s.pixel(600, 460), GREY),
                             timeout=90, what="the first dialog")
        game.click(213, 430)  # "Will do!" closes the dialog
        game.wait_for_screen(lambda s: close_to(s.pixel(840, 20), (0, 0, 0)) and s.pixel(700, 300)[0] > 200,
                             timeout=90, what="the care screen")
        game.click(640, 350)  # put wood on the fire
        game.move(427, 240)
        game.key("Escape")
        status = game.wait_exit(timeout=120)
        self.assertEqual(status, 0, game.output()[-6000:])


if __name__ == "__main__":
    unittest.main()
