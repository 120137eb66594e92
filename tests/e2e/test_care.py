"""Care actions: a click on a panel button changes the bars, and the controls are gone for the
cool-down and come back after it."""

import unittest

from harness import GameTestCase, progress

# A hungry, thirsty chip by a fire, in the middle of a quiet phase. Its health is full and the
# fire too low to hurt, so nothing heals or hurts it: food and water run down by exactly a
# quarter a tick until an action fills them, and fire changes only by the actions.
STORED = progress(phase=1, phaseTick=100, heat=120, fire=150, water=99, food=99, health=255)

# Button, the meters it changes as a function of the bars before the click, what it does, the
# ticks its cool-down hides the controls, and the bar that counts the ticks since the click
# (at most four a pixel): the food or water it filled, the heat it emptied and that then follows
# the fire up, or else the food running down since the screen read before the click.
ACTIONS = [
    (1, lambda m: {"food": 255}, "feeding fills the food", 20, lambda before, m: 4 * (256 - m["food"])),
    (2, lambda m: {"water": 255, "heat": max(0, m["heat"] - 100)}, "water fills up and cools by 100", 30,
     lambda before, m: 4 * (256 - m["water"])),
    (3, lambda m: {"fire": min(255, m["fire"] + 20)}, "fuel adds 20 to the fire", 50,
     lambda before, m: 4 * (before["food"] - m["food"] + 1)),
    (4, lambda m: {"fire": m["fire"] * 0.25, "heat": 0}, "dousing quarters the fire and kills the heat", 50,
     lambda before, m: 4 * (m["heat"] + 1)),
]
# How far a bar moves in a tick by itself: fire not at all, the others by a quarter at most.
RATE = {"fire": 0, "heat": 0.25, "food": 0.25, "water": 0.25, "health": 0}


class CareActions(GameTestCase):
    SCREEN = (960, 540)

    def test_each_action_changes_its_bars_and_rests_the_controls(self):
        game = self.start_game(stored=STORED)
        game.wait_for_care_screen()
        for button, effect, rule, cool_down, ticks_since_click in ACTIONS:
            with self.subTest(rule):
                before = game.wait_for_screen(lambda s: s.is_care_screen() and all(s.controls_shown()),
                                              what="the controls").meters()
                expected = dict(before, **effect(before))
                game.press_action(button)

                def acted(shot):
                    shown = shot.meters()
                    if not shot.is_care_screen() or None in shown.values():
                        return False
                    # The ticks since the screen read before the click, told by a bar that runs
                    # down and that this action leaves alone, bound how far the others moved.
                    clock = "water" if button == 1 else "food"
                    ticks = 4 * (before[clock] - shown[clock] + 1)
                    return all(abs(shown[m] - expected[m]) <= RATE[m] * ticks + 2 for m in expected)
                during = game.wait_for_screen(acted, what=rule, interval=0)
                # A busy machine may show the first picture after the click only once the
                # cool-down is over: its bars tell whether it came within it.
                if ticks_since_click(before, during.meters()) < cool_down:
                    self.assertEqual(during.controls_shown(), (False,) * 5, "no controls during the cool-down")
                game.wait_for_screen(lambda s: s.is_care_screen() and s.controls_shown() == (True,) * 5,
                                     what="the controls back after the cool-down")
        self.leave(game)


if __name__ == "__main__":
    unittest.main()
