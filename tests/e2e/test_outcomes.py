"""Deaths and successes, set up in the progress file: the outcome dialog that follows, the
counters afterwards, each way of leaving the game with what it leaves in the file, and the
next run, which carries on from that file. Then the dialogs that the phase cycle opens."""

import unittest

from harness import DYING, GameTestCase, new_chip, parse_progress, progress, progress_text

# Fire and health at the top, food and water well filled.
RAISED = dict(fire=255)

# The file after "Quit" or "BYE!": a fresh chip's meters, no counters, and the phase position
# the outcome left (phase 0, tick 1), so the next run opens on the care screen.
RESET = progress_text(progress(phase=0, phaseTick=1))

# What happened, the stored progress, the dialogs and the answers given, then either the
# counters the care screen shows and how the player leaves, or None for a quit and reset.
OUTCOMES = [
    ("a death that leaves deaths 27 ahead of successes",
     progress(DYING, deadCount=28),
     [(12, "No!"), (13, "...")], ((2, 29), "Escape")),
    ("a success that leaves successes 10 ahead of deaths",
     progress(phase=3, phaseTick=40, goodCount=10, deadCount=1, **RAISED),
     [(14, "Whatever"), (1, "CLose")], ((11, 1), "close button")),
    ("a death that leaves deaths 28 ahead of successes",
     progress(DYING, phase=2, phaseTick=5, deadCount=29),
     [(16, "BYE!")], None),
    ("a success that leaves successes 11 ahead of deaths",
     progress(phase=4, phaseTick=3000, goodCount=11, deadCount=1, **RAISED),
     [(15, "Quit")], None),
    ("a death answered with 'Ok'",
     progress(DYING, phaseTick=0, goodCount=0, deadCount=0),
     [(12, "Ok")], ((0, 1), "close request")),
]

# The phase dialogs: a stored game one tick before phase 1 or 3 begins, the answers walked
# through, and what the file holds at the request, frozen through the dialogs: that tick's
# meters in the new phase.
ONE_TICK = dict(food=254.75, water=254.75)
PHASE_WALKS = [
    (progress(phaseTick=3599), [(3, "WTF?"), (4, "WUT?"), (7, "Close")], progress(phase=1, **ONE_TICK)),
    (progress(phase=2, phaseTick=3599), [(8, "Will there be more?"), (11, "Bring it!")],
     progress(phase=3, **ONE_TICK)),
]


class Outcomes(GameTestCase):
    SCREEN = (854, 480)

    def test_outcome_dialogs_counters_ways_out_and_the_next_run(self):
        for what, stored, dialogs, then in OUTCOMES:
            with self.subTest(what):
                with self.playing(stored=stored) as game:
                    self.play(game, stored, dialogs, then)
                # The outcome left phase 0 past its first tick: the next run goes straight to
                # the chip, with the meters and counters the last one saved.
                with self.playing(settings=game.settings) as game:
                    self.assertResumes(game, parse_progress(game.saved_progress()), "care")

    def test_the_phase_dialogs_and_their_answers(self):
        for stored, dialogs, requested in PHASE_WALKS:
            with self.subTest(node=dialogs[0][0]), self.playing(stored=stored) as game:
                for node, label in dialogs:
                    game.answer(node, label)
                game.wait_for_care_screen()
                self.leave(game)
                self.assertSavedAfterQuietCare(game, requested)

    def play(self, game, stored, dialogs, then):
        for node, label in dialogs:
            game.answer(node, label)
        if then is None:
            self.assertEqual(game.wait_exit(), 0)
            self.assertEqual(game.saved_progress(), RESET)
            return
        (good, dead), way_out = then
        shot = game.wait_for_care_screen()
        self.assertTrue(shot.shows_counters(good, dead), "Good Chips: %d, Dead Chips: %d" % (good, dead))
        self.leave(game, way_out)
        chip = new_chip(stored, good=good - stored["goodCount"], dead=dead - stored["deadCount"])
        played = self.assertSavedAfterQuietCare(game, chip)
        self.assertBarsShow(shot, chip, played)


if __name__ == "__main__":
    unittest.main()
