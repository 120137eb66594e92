"""Starting and leaving the game: the window, the ways out, and a missing data folder."""

import os
import shutil
import unittest

from harness import GameTestCase, XServer, Game, close_to, wait_until

DEFAULT_PROGRESS = b"0\n0\n0.000000\n0.000000\n255.000000\n255.000000\n255.000000\n0\n0\n"


def is_red(p):
    return p[0] > 200 and p[1] < 40 and p[2] < 40


class StartAndQuit(GameTestCase):
    SCREEN = (960, 540)

    def test_opens_full_screen_shows_the_emblem_and_quits_on_escape(self):
        game = self.start_game()
        game.wait_for_window()
        self.assertEqual(game.geometry(), self.SCREEN)
        # The intro: the red emblem fades in on black.
        game.wait_for_screen(lambda s: s.count(is_red, step=8) > 50, what="the red emblem")
        game.move(480, 270)
        game.key("Escape")
        self.assertEqual(game.wait_exit(), 0)
        with open(game.progress_file, "rb") as f:
            self.assertEqual(f.read(), DEFAULT_PROGRESS)

    def test_quits_on_the_window_close_request(self):
        game = self.start_game()
        game.wait_for_window()
        game.request_close()
        self.assertEqual(game.wait_exit(), 0)
        self.assertTrue(os.path.exists(game.progress_file))

    def test_plays_on_a_machine_whose_sound_works(self):
        # OpenAL's null driver stands in for a sound card: audio installs and the cry can load.
        game = self.start_game(extra_env={"ALSOFT_DRIVERS": "null"})
        game.wait_for_window()
        game.move(480, 270)
        game.key("Escape")
        self.assertEqual(game.wait_exit(), 0)


class MissingData(GameTestCase):
    SCREEN = (854, 480)

    def test_without_a_data_folder_an_error_box_is_shown_and_the_status_is_255(self):
        folder = self.temp_folder()
        program = os.path.join(folder, "quenmarsh")
        shutil.copy2(os.environ["QUENMARSH_BIN"], program)
        game = self.start_game(program=program)

        def error_box():
            found = self.x.run("xdotool", "search", "--onlyvisible", "--name", "^Error$", check=False)
            return found.stdout.split()[0] if found.stdout.split() else None
        box = wait_until(error_box, 30, interval=0.1, what="the error box")
        self.assertIsNone(game.proc.poll(), "the box must wait for the player")
        self.x.run("xdotool", "mousemove", "--window", box, "20", "20", "key", "Return")
        self.assertEqual(game.wait_exit(), 255)
        self.assertFalse(os.path.exists(game.progress_file))


if __name__ == "__main__":
    unittest.main()
