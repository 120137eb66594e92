"""What a run opens on, for the progress file it finds: a stored game resumes on the care
screen with its meters and counters (and its particle shower in phases 2 and 4), a fresh one
opens on the welcome dialog, and a damaged file loads what it can and the rest as defaults.
Each run is left again, and the file then holds exactly what was played."""

import unittest

from harness import RESTING, GameTestCase, progress, progress_text


def crlf(values):
    return progress_text(values).replace(b"\n", b"\r\n")


# What the file holds, the values the game takes from it (a damaged file: what it can, and the
# rest as defaults), and where it opens: the care screen with or without a particle shower, or
# the welcome dialog (node 0).
STORED_FILES = [
    ("phase 1 resumes with its meters and counters", RESTING, None, "care"),
    ("phase 2 resumes with its shower", progress(RESTING, phase=2, phaseTick=10), None, "shower"),
    ("phase 3 resumes without one, from a file with Windows line ends",
     crlf(progress(RESTING, phase=3, phaseTick=3000, goodCount=4, deadCount=40)),
     progress(RESTING, phase=3, phaseTick=3000, goodCount=4, deadCount=40), "care"),
    ("phase 4 resumes with its shower", progress(RESTING, phase=4, phaseTick=70, deadCount=2), None, "shower"),
    ("phase 0 past its first tick resumes", progress(RESTING, phase=0, phaseTick=7, goodCount=1), None, "care"),
    ("phase 0 at tick 0 is a fresh chip",
     progress(RESTING, phase=0, phaseTick=0, goodCount=5, deadCount=6), None, "dialog"),
    ("binary junk loads as the defaults", bytes(range(256)) * 4, progress(), "dialog"),
    ("garbled lines load as their defaults, meters out of range are clamped",
     b"1\nseven\n-40\n900\nabc\n12\n300\nfour\n\n", progress(phase=1, fire=255, food=12, health=265), "care"),
    ("a file cut short keeps the lines it has",
     b"0\n250\n10\n", progress(phaseTick=250, heat=10), "care"),
    ("an empty file", b"", progress(), "dialog"),
]


class Resume(GameTestCase):
    SCREEN = (960, 540)

    def test_each_run_opens_on_what_its_file_holds(self):
        for what, stored, loaded, opens_on in STORED_FILES:
            with self.subTest(what), self.playing(stored=stored) as game:
                self.assertResumes(game, loaded or stored, opens_on)


if __name__ == "__main__":
    unittest.main()
