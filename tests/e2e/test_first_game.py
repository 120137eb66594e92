"""A first game on two screen sizes: the emblem, the welcome dialog, the way to the chip, and
the care screen laid out for the size of the screen."""

import unittest

from harness import GameTestCase

# Screen size, and the answers that lead from the welcome dialog (node 0) to the chip.
FIRST_GAMES = [
    ((854, 480), [(0, "Will do!")]),
    ((1280, 720), [(0, "I'll try."), (2, "Close")]),
]


class FirstGame(GameTestCase):

    def test_from_the_emblem_to_the_care_screen(self):
        for screen, answers in FIRST_GAMES:
            with self.subTest(screen=screen), self.playing(screen=screen) as game:
                self.play_first_game(game, answers)


if __name__ == "__main__":
    unittest.main()
