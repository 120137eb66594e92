"""The Windows build under Wine: the first game to the care screen and out, a resumed game,
the window's close request, a second copy turned away, the missing data folder's error box,
and the cry through a captured ALSA device. QUENMARSH_BIN names quenmarsh.exe, QUENMARSH_WINEPREFIX a prefix that
wineboot has made; the progress file is then the prefix's AppData\\Roaming\\qmprogress.dat."""

import array
import getpass
import os
import shutil
import sys
import time
import unittest

from harness import DEFAULTS, GAME, GameTestCase, progress, wait_until, write_progress

PREFIX = os.environ.get("QUENMARSH_WINEPREFIX", "")
ROAMING = os.path.join(PREFIX, "drive_c", "users", getpass.getuser(), "AppData", "Roaming")
WINE_ENV = {"WINEPREFIX": PREFIX, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
# A weak chip: it cries from the first care tick (health under 100) and nothing heals it.
CRYING = progress(phase=1, phaseTick=20, food=150, water=150, health=50)
# Nothing heals or cries, nothing hurts for 10 s (then only the empty food, by a quarter a
# tick) and nothing dies for 27 s: the phase tick counts the ticks played.
QUIET = progress(phase=1, phaseTick=20, food=150, water=255, health=255)


class UnderWine(GameTestCase):
    SCREEN = (960, 540)

    def setUp(self):
        super().setUp()
        self.assertTrue(os.path.isdir(ROAMING), "QUENMARSH_WINEPREFIX must name a booted prefix")
        self.stored = os.path.join(ROAMING, "qmprogress.dat")

    def start_wine_game(self, stored=None, program=GAME, asoundrc=None):
        """The game under Wine with the prefix's progress file holding `stored` (or none), and
        a home folder of its own, which may carry an ALSA set-up."""
        if os.path.exists(self.stored):
            os.remove(self.stored)
        if stored is not None:
            write_progress(ROAMING, stored)
        return self.another_wine_game(program, asoundrc)

    def another_wine_game(self, program=GAME, asoundrc=None):
        """The game under Wine on whatever the prefix's progress file holds now."""
        home = self.temp_folder()
        if asoundrc:
            with open(os.path.join(home, ".asoundrc"), "w") as f:
                f.write(asoundrc)
        env = dict(WINE_ENV, HOME=home)
        return self.start_game(settings=ROAMING, program="wine", args=[program], extra_env=env)

    def test_first_game_to_the_care_screen_and_out_by_escape(self):
        started = time.monotonic()
        game = self.start_wine_game()
        game.wait_for_window()
        self.assertEqual(game.geometry(), self.SCREEN, "full screen")
        game.wait_for_emblem()
        sys.stderr.write("first frame under Wine after %.2f s\n" % (time.monotonic() - started))
        game.wait_for_dialog(0)
        game.answer(0, "Will do!")
        shot = game.wait_for_care_screen()
        self.assertEqual(shot.controls_shown(), (True,) * 5, "four action buttons and the close button")
        self.assertTrue(shot.shows_counters(0, 0))
        game.quit("Escape")
        self.assertEqual(game.wait_exit(), 0)
        played = self.assertSavedAfterQuietCare(game, DEFAULTS)
        self.assertBarsShow(shot, DEFAULTS, played)

    def test_a_stored_game_resumes_and_the_close_request_ends_it(self):
        start = progress(phase=1, phaseTick=500, goodCount=12, deadCount=3,
                         heat=120, fire=120, water=180, food=150, health=90)
        game = self.start_wine_game(stored=start)
        game.wait_for_window()
        shot = game.wait_for_care_screen()
        self.assertTrue(shot.shows_counters(12, 3))
        game.quit("close request")
        self.assertEqual(game.wait_exit(), 0)
        self.assertSavedAfterQuietCare(game, start)

    def test_a_second_copy_is_turned_away_until_the_first_has_ended(self):
        self.assertOneCopyAtATime(self.start_wine_game(stored=QUIET), self.another_wine_game, QUIET)

    def test_without_a_data_folder_the_error_box_then_status_255(self):
        folder = self.temp_folder()
        program = os.path.join(folder, "quenmarsh.exe")
        shutil.copy2(GAME, program)
        game = self.start_wine_game(program=program)
        game.wait_for_screen(lambda s: game.find_window("Error"), 30, what="the error box")
        box = game.find_window("Error")
        self.assertIsNone(game.proc.poll(), "the box must wait for the player")
        game.dismiss_error_box(box)
        self.assertEqual(game.wait_exit(), 255)
        self.assertFalse(os.path.exists(self.stored))
        # The box's text is told on stderr too; Wine shows the temporary folder as drive Z:.
        windows_folder = "Z:" + folder.replace("/", "\\")
        self.assertIn("quenmarsh: Can not open the game data in %s\\data" % windows_folder, game.output())

    def test_the_cry_is_heard(self):
        # DirectSound plays through Wine's ALSA driver into a file instead of a sound card.
        capture = os.path.join(self.temp_folder(), "cry.raw")
        asoundrc = 'pcm.!default { type file slave.pcm "null" file "%s" format raw }\n' % capture
        game = self.start_wine_game(stored=CRYING, asoundrc=asoundrc)
        game.wait_for_window()
        game.wait_for_care_screen()

        def loud_samples():
            with open(capture, "rb") as f:
                sound = array.array("h", f.read()[:os.path.getsize(capture) // 2 * 2])
            # 16-bit samples away from silence.
            return sum(1 for v in sound if abs(v) > 500)
        # The capture grows as the cry plays: far more than a few samples come out loud.
        wait_until(lambda: os.path.exists(capture) and loud_samples() > 2000, 30, what="the cry in the capture")
        game.quit("Escape")
        self.assertEqual(game.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
