"""What a run opens on, for the progress file it finds: a stored game resumes on the care
screen with its meters and counters (and its particle shower in phases 2 and 4), a fresh one
opens on the welcome dialog, and a damaged file loads what it can and the rest as defaults.
Each run is left again, and the file then holds exactly what was played."""

import os
import unittest

from harness import SHOWER_FLICKER, GameTestCase, progress, progress_text

# Meters that keep nearly still: fire never changes by itself, heat equal to it stays within
# an eighth of it, and nothing heals or hurts (health 90 only makes the chip cry).
RESTING = dict(heat=120, fire=120, water=180, food=150, health=90)


def crlf(values):
    return progress_text(values).replace(b"\n", b"\r\n")


# What the file holds, the values the game takes from it, and where it opens: the care screen
# with or without a particle shower, or the welcome dialog (node 0).
STORED_GAMES = [
    ("phase 1 resumes with its meters and counters",
     progress(phase=1, phaseTick=500, goodCount=12, deadCount=3, **RESTING), None, "care"),
    ("phase 2 resumes with its shower", progress(phase=2, phaseTick=10, **RESTING), None, "shower"),
    ("phase 3 resumes without one, from a file with Windows line ends",
     crlf(progress(phase=3, phaseTick=3000, goodCount=4, deadCount=40, **RESTING)),
     progress(phase=3, phaseTick=3000, goodCount=4, deadCount=40, **RESTING), "care"),
    ("phase 4 resumes with its shower", progress(phase=4, phaseTick=70, deadCount=2, **RESTING), None, "shower"),
    ("phase 0 past its first tick resumes", progress(phase=0, phaseTick=7, goodCount=1, **RESTING), None, "care"),
    ("phase 0 at tick 0 is a fresh chip", progress(goodCount=5, deadCount=6, **RESTING), None, "dialog"),
]

DAMAGED_FILES = [
    ("binary junk loads as the defaults", bytes(range(256)) * 4, progress(), "dialog"),
    ("garbled lines load as their defaults, meters out of range are clamped",
     b"1\nseven\n-40\n900\nabc\n12\n300\nfour\n\n", progress(phase=1, fire=255, food=12, health=265), "care"),
    ("a file cut short keeps the lines it has",
     b"0\n250\n10\n", progress(phaseTick=250, heat=10), "care"),
    ("an empty file", b"", progress(), "dialog"),
]


class Resume(GameTestCase):
    SCREEN = (960, 540)

    def test_a_stored_game_resumes_where_it_was(self):
        self.run_table(STORED_GAMES)

    def test_a_damaged_file_loads_what_it_can(self):
        self.run_table(DAMAGED_FILES)

    def test_a_folder_in_place_of_the_file(self):
        # Nothing to read and nowhere to write: a fresh game, left as usual, and the folder
        # stays as it was.
        settings = self.temp_folder()
        os.mkdir(os.path.join(settings, "qmprogress.dat"))
        game = self.play_to_first_dialog_and_leave(settings=settings)
        self.assertTrue(os.path.isdir(game.progress_file))
        self.assertEqual(os.listdir(game.progress_file), [])
        self.assertFalse(os.path.exists(game.progress_file + ".new"))

    def run_table(self, table):
        for what, stored, loaded, opens_on in table:
            loaded = loaded or stored
            with self.subTest(what):
                game = self.start_game(stored=stored)
                try:
                    self.resume(game, loaded, opens_on)
                finally:
                    game.kill()

    def resume(self, game, loaded, opens_on):
        game.wait_for_window()
        if opens_on == "dialog":
            game.wait_for_dialog(0)
            game.quit("Escape")
            self.assertEqual(game.wait_exit(), 0)
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
        game.quit("close request")
        self.assertEqual(game.wait_exit(), 0)
        played = self.assertSavedAfterQuietCare(game, loaded)
        self.assertBarsShow(shot, loaded, played)
        self.assertFalse(os.path.exists(game.progress_file + ".new"))


if __name__ == "__main__":
    unittest.main()
