"""What the player hears and sees: the chip cries while its health is low and the cry stops
without a click; the map is drawn smoothly at 1.125x, with no repeated rows; a still dialog,
drawn once, is drawn again when its window is hidden and shown."""

import array
import os
import struct
import subprocess
import unittest

from harness import FONT, GameTestCase, progress, temp_folder, wait_until

# A chip at health 90 whose food and water fall below 100 within 3.4 s, and run out only after
# 8 s and 10 s: it cries from the first care tick. Feeding and watering it lift both past 200,
# and the healing lifts health past 100 within two ticks.
HUNGRY = progress(phase=1, phaseTick=100, heat=0, fire=0, water=150, food=120, health=90)
# A calm chip in a quiet phase, for looking at the map.
CALM = progress(phase=1, phaseTick=100, heat=0, fire=0, water=255, food=255, health=255)
CRY_FILE = os.path.join(os.path.dirname(FONT), os.environ["QUENMARSH_CRY_FILE"])
# The same chip in a shower, with every bar part full, for pictures of the whole care screen.
SHOWER = progress(phase=2, phaseTick=10, heat=60, fire=120, water=180, food=220, health=240)
# Pictures of the care screen at the common sizes are left in the build for people to look at.
SHOTS = os.path.join(os.environ.get("QUENMARSH_BUILD_DIR", "."), "screenshots")


def read_wave_left(path):
    """The left channel of the WAV file OpenAL wrote, as floats from -1 to 1."""
    with open(path, "rb") as f:
        data = f.read()
    pos, fmt, samples = 12, None, b""
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if tag == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif tag == b"data":
            samples = data[pos + 8:]  # the size may be left unwritten; take the rest
            break
        pos += 8 + size + (size & 1)
    if fmt is None:
        return []  # not written yet
    code, channels, _, _, _, bits = fmt
    if code == 3 or (code == 0xFFFE and bits == 32):
        values, scale = array.array("f", samples[:len(samples) // 4 * 4]), 1.0
    else:
        values, scale = array.array("h", samples[:len(samples) // 2 * 2]), 32768.0
    return [v / scale for v in values[::channels]]


def cry_file_samples():
    raw = subprocess.run(["sox", CRY_FILE, "-t", "raw", "-e", "signed", "-b", "16", "-c", "1", "-"],
                         check=True, capture_output=True).stdout
    return [v / 32768.0 for v in array.array("h", raw)]


def heard(path):
    """Seconds of the recording so far from the first sound on, and of silence at its end."""
    played = read_wave_left(path) if os.path.exists(path) else []
    loud = [i for i, v in enumerate(played) if abs(v) > 0.002]
    if not loud:
        return 0, 0
    return (len(played) - loud[0]) / 44100.0, (len(played) - 1 - loud[-1]) / 44100.0


def largest_step(values):
    return max(abs(b - a) for a, b in zip(values, values[1:]))


class Presentation(GameTestCase):
    SCREEN = (960, 540)

    def test_cry_plays_while_health_is_low_and_stops_without_a_click(self):
        folder = temp_folder(self.addCleanup)
        recording = os.path.join(folder, "out.wav")
        conf = os.path.join(folder, "alsoft.conf")
        with open(conf, "w") as f:
            f.write("[general]\ndrivers=wave\n[wave]\nfile=%s\n" % recording)
        game = self.start_game(stored=HUNGRY, extra_env={"ALSOFT_CONF": conf, "ALSOFT_DRIVERS": "wave"})
        game.wait_for_care_screen()
        # Feed, then water (no healing before both are up) after 5.5 seconds of play, told by
        # the food bar, and of crying, told by the recording: in the middle of the long last
        # whimper of the second loop, so that the cry is asked to stop mid-voice.
        game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") <= HUNGRY["food"] - 5.5 * 15,
                             what="5.5 seconds of play")
        wait_until(lambda: heard(recording)[0] >= 5.5, 20, interval=0.5, what="5.5 seconds of crying")
        game.press_action(1)
        game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") >= 200 and all(s.controls_shown()),
                             what="the food filled and the controls back")
        game.press_action(2)
        game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("health") > 101, what="health past 100")
        wait_until(lambda: heard(recording)[1] >= 1.5, 20, interval=0.5, what="1.5 seconds of silence after the cry")
        self.leave(game)

        played = read_wave_left(recording)
        cry = cry_file_samples()
        loud = [i for i, v in enumerate(played) if abs(v) > 0.002]
        self.assertTrue(loud, "nothing was heard")
        gain = max(abs(v) for v in played) / max(abs(v) for v in cry)
        self.assertGreater(gain, 0.3, "the cry is heard much quieter than it is stored")
        # It cried for more than a whole loop, whimpers and pauses, then fell silent for good.
        self.assertGreater((loud[-1] - loud[0]) / 44100.0, 3.6)
        self.assertGreater((len(played) - loud[-1]) / 44100.0, 0.8, "the cry did not stop")
        # Where it stopped, no step is larger than the cry's own largest one as played.
        end = loud[-1]
        self.assertLessEqual(largest_step(played[end - 4410:end + 4410]), largest_step(cry) * gain * 1.1,
                             "the cry clicks where it stops")

    def test_map_is_smooth_at_one_and_an_eighth(self):
        game = self.start_game(stored=CALM)
        shot = game.wait_for_care_screen()
        # At 1.125x an unfiltered map repeats one row in eight (60 rows of 540); filtered,
        # every row and column down to the map's bottom edge blends its neighbours.
        x0, x1, y0, y1 = 180, 650, 60, 540
        rows = [shot.region(x0, y, x1, y + 1) for y in range(y0, y1)]
        columns = [bytes(shot.region(x, y0, x + 1, y1)) for x in range(x0, x1)]
        repeated_rows = sum(a == b for a, b in zip(rows, rows[1:]))
        repeated_columns = sum(a == b for a, b in zip(columns, columns[1:]))
        self.assertLessEqual(repeated_rows, 2, "rows repeated")
        self.assertLessEqual(repeated_columns, 2, "columns repeated")
        self.leave(game)

    def test_still_dialog_is_drawn_again_when_its_window_comes_back(self):
        game = self.start_game()
        game.wait_for_window()
        game.move(self.x.width // 2, 60)  # away from the answers: nothing on the screen moves
        game.wait_for_dialog(0)
        # Unmapped and mapped again, the window holds nothing until the game draws it anew.
        self.x.run("xdotool", "windowunmap", "--sync", game.window)
        self.x.run("xdotool", "windowmap", "--sync", game.window)
        game.wait_for_dialog(0)
        self.leave(game)

    def test_care_screen_at_the_common_sizes(self):
        os.makedirs(SHOTS, exist_ok=True)
        for width, height in ((854, 480), (1280, 720), (1920, 1080)):
            with self.subTest(size=(width, height)):
                game = self.start_game(screen=(width, height), stored=SHOWER)
                game.wait_for_window()
                shot = game.wait_for_screen(lambda s: s.is_care_screen() and all(s.meters().values()),
                                            what="the care screen with its bars")
                shot.save(os.path.join(SHOTS, "care-%dx%d.png" % (width, height)))
                self.leave(game)
                # The panel stays pixel-exact at every size: its bars read back the meters of a
                # tick no later than the one the saved file tells.
                self.assertBarsShow(shot, SHOWER, self.assertSavedAfterQuietCare(game, SHOWER))


if __name__ == "__main__":
    unittest.main()
