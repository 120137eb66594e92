"""A first game on two screen sizes: the emblem, the welcome dialog, the way to the chip, and
the care screen laid out for the size of the screen."""

import unittest

from harness import BLACK, DEFAULTS, PANEL_OVER_BLACK, GameTestCase, close_to

# Screen size, and the answers that lead from the welcome dialog (node 0) to the chip.
FIRST_GAMES = [
    ((854, 480), [(0, "Will do!")]),
    ((1280, 720), [(0, "I'll try."), (2, "Close")]),
]


class FirstGame(GameTestCase):

    def test_from_the_emblem_to_the_care_screen(self):
        for screen, answers in FIRST_GAMES:
            with self.subTest(screen=screen):
                game = self.start_game(screen=screen)
                try:
                    self.play_first_game(game, answers)
                finally:
                    game.kill()

    def play_first_game(self, game, answers):
        game.wait_for_window()
        self.assertEqual(game.geometry(), (game.x.width, game.x.height), "full screen")
        game.wait_for_emblem()
        for node, label in answers:
            game.wait_for_dialog(node)
            game.answer(node, label)
        # The last answer closes the dialog with a fade of 32 ticks, which a busy machine may
        # neither draw nor show (the screen-flow unit tests time it): the care screen follows.
        shot = game.wait_for_care_screen()
        h = game.x.height

        layout = shot.layout
        self.assertEqual(shot.controls_shown(), (True,) * 5, "four action buttons and the close button")
        self.assertTrue(shot.shows_counters(0, 0))
        # The map is scaled to the screen's height and anchored at the left: right of it lies
        # the panel over black (or, on a wide screen, bare black before the panel begins).
        w = layout.width
        below_buttons = range(h - 50, h - 30)
        beyond_map = [shot.pixel(layout.map_width, y) for y in below_buttons]
        map_edge = [shot.pixel(layout.map_width - 1, y) for y in below_buttons]
        background = PANEL_OVER_BLACK if layout.map_width >= layout.panel_left else BLACK
        self.assertTrue(all(p == background for p in beyond_map), beyond_map)
        self.assertTrue(sum(p != background for p in map_edge) > len(map_edge) // 2, map_edge)
        self.assertTrue(close_to(shot.pixel(w - 5, h // 2), PANEL_OVER_BLACK, 0))

        game.quit("Escape")
        self.assertEqual(game.wait_exit(), 0)
        played = self.assertSavedAfterQuietCare(game, DEFAULTS)
        self.assertBarsShow(shot, DEFAULTS, played)


if __name__ == "__main__":
    unittest.main()
