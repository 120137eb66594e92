"""Starting and leaving the game: the window and the intro, quitting before play, sound or
none, a second copy for the same player, and a missing data folder."""

import os
import shutil
import unittest

from harness import CRYING, DEFAULTS, QUIET, GameTestCase, progress_text, wait_until

# Sound or none: no sound card at all (the machine's own state), or OpenAL's null driver,
# which stands in for a working card so the cry is loaded and played.
SOUND = [("no sound card", {}), ("sound through the null driver", {"ALSOFT_DRIVERS": "null"})]


class StartAndQuit(GameTestCase):
    SCREEN = (960, 540)

    def test_quitting_during_the_intro_saves_a_fresh_game(self):
        for way_out in ("Escape", "close request"):
            with self.subTest(way_out):
                game = self.start_game()
                try:
                    game.wait_for_window()
                    self.assertEqual(game.geometry(), self.SCREEN, "full screen")
                    # Once the emblem shows, the game takes input, and keeps it for the loop.
                    game.wait_for_emblem()
                    game.quit(way_out)
                    self.assertEqual(game.wait_exit(), 0)
                    self.assertEqual(game.saved_progress(), progress_text(DEFAULTS))
                finally:
                    game.kill()

    def test_a_crying_chip_with_and_without_sound(self):
        for what, env in SOUND:
            with self.subTest(what):
                game = self.start_game(stored=CRYING, extra_env=env)
                try:
                    game.wait_for_window()
                    game.wait_for_care_screen()
                    # A second of crying: the food bar has run down by 15.
                    game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") <= 135,
                                         what="a second of play")
                    game.quit("Escape")
                    self.assertEqual(game.wait_exit(), 0)
                    self.assertSavedAfterQuietCare(game, CRYING)
                finally:
                    game.kill()


class SecondCopy(GameTestCase):
    SCREEN = (854, 480)

    def test_a_second_copy_is_turned_away_until_the_first_has_ended(self):
        first = self.start_game(stored=QUIET)
        self.assertOneCopyAtATime(first, lambda: self.start_game(settings=first.settings), QUIET)
        # From the very first start of a new account, whose settings folder does not exist yet.
        settings = os.path.join(self.temp_folder(), "new", "config")
        first = self.start_game(settings=settings)
        first.wait_for_window()
        first.wait_for_dialog(0)
        first.answer(0, "Will do!")
        self.assertOneCopyAtATime(first, lambda: self.start_game(settings=settings), DEFAULTS)

    def test_where_no_lock_can_be_made_the_game_starts_as_ever(self):
        # A settings folder that cannot be made (a file stands where it would be), and a folder
        # in place of the lock file.
        folder = self.temp_folder()
        open(os.path.join(folder, "file"), "w").close()
        unmade = self.play_to_first_dialog_and_leave(settings=os.path.join(folder, "file", "config"))
        self.assertRegex(unmade.output(), "cannot tell whether the game is already running "
                         r"\(cannot make the folder of .*/file/config/qmprogress\.dat: .*\): playing on")
        blocked = os.path.join(folder, "config")
        os.makedirs(os.path.join(blocked, "qmprogress.dat.lock"))
        game = self.play_to_first_dialog_and_leave(settings=blocked)
        self.assertEqual(game.saved_progress(), progress_text(DEFAULTS))
        self.assertIn("cannot tell whether the game is already running", game.output())


class MissingData(GameTestCase):
    SCREEN = (854, 480)

    def test_without_a_data_folder_an_error_box_is_shown_and_the_status_is_255(self):
        folder = self.temp_folder()
        program = os.path.join(folder, "quenmarsh")
        shutil.copy2(os.environ["QUENMARSH_BIN"], program)
        game = self.start_game(program=program)
        box = wait_until(lambda: game.find_window("Error"), 30, interval=0.1, what="the error box")
        self.assertIsNone(game.proc.poll(), "the box must wait for the player")
        self.assertRegex(game.error_box_text(), "^Error: Cannot run: Can not open the game data in ")
        game.dismiss_error_box(box)
        self.assertEqual(game.wait_exit(), 255)
        self.assertFalse(os.path.exists(game.progress_file))


if __name__ == "__main__":
    unittest.main()
