"""The Windows build under Wine: the first game to the care screen and out, a resumed game,
the window's close request, a second copy turned away, the missing data folder's error box,
and the cry through a captured ALSA device. QUENMARSH_BIN names quenmarsh.exe, QUENMARSH_WINEPREFIX a prefix that
wineboot has made; the progress file is then the prefix's AppData\\Roaming\\qmprogress.dat."""

import array
import getpass
import os
import shutil
import unittest

from harness import CRYING, GAME, QUIET, RESTING, GameTestCase, temp_folder, wait_until, write_progress

PREFIX = os.environ.get("QUENMARSH_WINEPREFIX", "")
ROAMING = os.path.join(PREFIX, "drive_c", "users", getpass.getuser(), "AppData", "Roaming")
WINE_ENV = {"WINEPREFIX": PREFIX, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}


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
        home = temp_folder(self.addCleanup)
        if asoundrc:
            with open(os.path.join(home, ".asoundrc"), "w") as f:
                f.write(asoundrc)
        env = dict(WINE_ENV, HOME=home)
        return self.start_game(settings=ROAMING, program="wine", args=[program], extra_env=env)

    def test_first_game_to_the_care_screen_and_out_by_escape(self):
        self.play_first_game(self.start_wine_game(), [(0, "Will do!")])

    def test_a_stored_game_resumes_and_the_close_request_ends_it(self):
        self.assertResumes(self.start_wine_game(stored=RESTING), RESTING, "care")

    def test_a_second_copy_is_turned_away_until_the_first_has_ended(self):
        self.assertOneCopyAtATime(self.start_wine_game(stored=QUIET), self.another_wine_game, QUIET)

    def test_without_a_data_folder_the_error_box_then_status_255(self):
        folder = temp_folder(self.addCleanup)
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
        capture = os.path.join(temp_folder(self.addCleanup), "cry.raw")
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
