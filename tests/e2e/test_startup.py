"""Starting and leaving the game: the window and the intro, quitting before play, sound or
none, and a second copy for the same player."""

import os
import unittest

from harness import CRYING, DEFAULTS, QUIET, GameTestCase, progress_text, temp_folder

# Sound or none: no sound card at all (the machine's own state), or OpenAL's null driver,
# which stands in for a working card so the cry is loaded and played.
SOUND = [("no sound card", {}), ("sound through the null driver", {"ALSOFT_DRIVERS": "null"})]


class StartAndQuit(GameTestCase):
    SCREEN = (960, 540)

    def test_quitting_during_the_intro_saves_a_fresh_game(self):
        for way_out in ("Escape", "close request"):
            with self.subTest(way_out), self.playing() as game:
                game.wait_for_window()
                self.assertEqual(game.geometry(), self.SCREEN, "full screen")
                # Once the emblem shows, the game takes input, and keeps it for the loop.
                game.wait_for_emblem()
                self.leave(game, way_out)
                self.assertEqual(game.saved_progress(), progress_text(DEFAULTS))

    def test_a_crying_chip_with_and_without_sound(self):
        for what, env in SOUND:
            with self.subTest(what), self.playing(stored=CRYING, extra_env=env) as game:
                game.wait_for_care_screen()
                # A second of crying: the food bar has run down by 15.
                game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") <= 135, what="a second of play")
                self.leave(game)
                self.assertSavedAfterQuietCare(game, CRYING)


class SecondCopy(GameTestCase):
    SCREEN = (854, 480)

    def test_a_second_copy_is_turned_away_until_the_first_has_ended(self):
        first = self.start_game(stored=QUIET)
        self.assertOneCopyAtATime(first, lambda: self.start_game(settings=first.settings), QUIET)
        # From the very first start of a new account, whose settings folder does not exist yet.
        settings = os.path.join(temp_folder(self.addCleanup), "new", "config")
        first = self.start_game(settings=settings)
        first.answer(0, "Will do!")
        self.assertOneCopyAtATime(first, lambda: self.start_game(settings=settings), DEFAULTS)

    def test_where_no_lock_can_be_made_the_game_starts_as_ever(self):
        # A settings folder that cannot be made (a file stands where it would be), and a folder
        # in place of the lock file.
        folder = temp_folder(self.addCleanup)
        open(os.path.join(folder, "file"), "w").close()
        unmade = self.play_to_first_dialog_and_leave(settings=os.path.join(folder, "file", "config"))
        self.assertRegex(unmade.output(), "cannot tell whether the game is already running "
                         r"\(cannot make the folder of .*/file/config/qmprogress\.dat: .*\): playing on")
        blocked = os.path.join(folder, "config")
        os.makedirs(os.path.join(blocked, "qmprogress.dat.lock"))
        game = self.play_to_first_dialog_and_leave(settings=blocked)
        self.assertEqual(game.saved_progress(), progress_text(DEFAULTS))
        self.assertIn("cannot tell whether the game is already running", game.output())


if __name__ == "__main__":
    unittest.main()
