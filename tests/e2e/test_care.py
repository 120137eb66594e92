"""Care actions: a click on a panel button changes the bars, and the controls are gone for the
cool-down and come back after it."""

import unittest

from harness import GameTestCase, progress

# A hungry, thirsty chip by a fire, in the middle of a quiet phase. Its health is full and the
# fire too low to hurt, so no healing drains food and water while the test watches them.
STORED = progress(phase=1, phaseTick=100, heat=120, fire=150, water=50, food=50, health=255)

# Button, the meters it changes as a function of the bars before the click, and what it does.
ACTIONS = [
    (1, lambda m: {"food": 255}, "feeding fills the food"),
    (2, lambda m: {"water": 255, "heat": max(0, m["heat"] - 100)}, "water fills up and cools by 100"),
    (3, lambda m: {"fire": min(255, m["fire"] + 20)}, "fuel adds 20 to the fire"),
    (4, lambda m: {"fire": m["fire"] * 0.25, "heat": 0}, "dousing quarters the fire and kills the heat"),
]
# Fire changes only by the actions; the other meters move by at most a quarter a tick, and
# a few ticks pass between the screen read before a click and the click's tick.
DRIFT = {"fire": 1, "heat": 10, "food": 10, "water": 10, "health": 10}


class CareActions(GameTestCase):
    SCREEN = (960, 540)

    def test_each_action_changes_its_bars_and_rests_the_controls(self):
        game = self.start_game(stored=STORED)
        game.wait_for_window()
        game.wait_for_care_screen()
        for button, effect, rule in ACTIONS:
            with self.subTest(rule):
                before = game.wait_for_screen(lambda s: s.is_care_screen() and all(s.controls_shown()),
                                              what="the controls").meters()
                expected = dict(before, **effect(before))
                game.press_action(button)

                def acted(shot):
                    shown = shot.meters()
                    return shot.is_care_screen() and all(
                        shown[m] is not None and abs(shown[m] - expected[m]) <= DRIFT[m] for m in expected)
                # The cool-down lasts 20 to 50 ticks, so the screens are taken back to back.
                during = game.wait_for_screen(acted, what=rule, interval=0)
                self.assertEqual(during.controls_shown(), (False,) * 5, "no controls during the cool-down")
                game.wait_for_screen(lambda s: s.is_care_screen() and s.controls_shown() == (True,) * 5,
                                     what="the controls back after the cool-down")
        game.quit("Escape")
        self.assertEqual(game.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
