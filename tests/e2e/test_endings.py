"""Every way the game can end keeps the progress and gives up its lock on the progress file:
ending signals, a lost X server, SIGKILL after a fade, the order of the save's system calls,
files that must be left alone, a cut-short picture and a start-up error under a window
manager."""

import os
import shutil
import signal
import stat
import subprocess
import unittest

from harness import DYING, QUIET, SLOW, GameTestCase, XServer, new_chip, progress_text, stop, temp_folder, wait_until


def copy_of_the_game(folder):
    """The game and its data folder, copied so that the data can be changed."""
    game = os.environ["QUENMARSH_BIN"]
    shutil.copy2(game, folder)
    shutil.copytree(os.path.join(os.path.dirname(game), "data"), os.path.join(folder, "data"))
    return os.path.join(folder, "quenmarsh")


def unreadable_file(path):
    with open(path, "wb") as f:
        f.write(progress_text(QUIET))
    os.chmod(path, 0)


def start_window_manager(x):
    """Openbox on the server. A server that resets when its last client leaves can drop
    openbox's connection mid-handshake; it is then started again."""
    for _ in range(3):
        wm = subprocess.Popen(["openbox"], env=x.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        running = wait_until(lambda: wm.poll() is not None or x.run("wmctrl", "-m", check=False).returncode == 0,
                             20 * SLOW, what="openbox")
        if wm.poll() is None and running:
            return wm
    raise AssertionError("openbox did not start")


class Endings(GameTestCase):
    SCREEN = (854, 480)

    def play_a_little(self, stored=QUIET, **kwargs):
        game = self.start_game(stored=stored, **kwargs)
        game.wait_for_care_screen()
        game.wait_for_screen(lambda s: s.is_care_screen() and s.meter("food") <= 140, what="some care")
        return game

    def test_ending_signals_end_the_loop_with_the_save(self):
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(sig.name):
                game = self.play_a_little()
                game.proc.send_signal(sig)
                self.assertEqual(game.wait_exit(), 0)
                self.assertGreater(self.assertSavedAfterQuietCare(game, QUIET), 0)
                self.assertGuardReleased(game)

    def test_a_lost_x_server_saves_and_ends_promptly(self):
        x = XServer(*self.SCREEN)
        self.addCleanup(x.close)
        self.servers[self.SCREEN] = x
        game = self.play_a_little()
        x.proc.kill()
        # It notices at its next frame: the wait only bounds a game that never does.
        status = game.wait_exit(10)
        self.assertGreater(status, 0, "a nonzero status, not a crash:\n" + game.output())
        self.assertIn("lost the connection to the display", game.output())
        self.assertGreater(self.assertSavedAfterQuietCare(game, QUIET), 0)
        self.assertGuardReleased(game)

    def test_sigkill_after_a_fade_keeps_the_values_of_the_switch(self):
        game = self.start_game(stored=DYING)
        game.wait_for_dialog(12)
        game.kill()
        self.assertEqual(game.saved_progress(), progress_text(new_chip(DYING, dead=1)))
        self.assertGuardReleased(game)

    def test_the_save_syncs_the_file_before_the_rename_and_the_folder_after(self):
        if not shutil.which("strace"):
            self.skipTest("strace is not installed")
        trace = os.path.join(temp_folder(self.addCleanup), "trace")
        game = self.start_game(stored=QUIET, program="strace",
                               args=("-f", "-qq", "-o", trace, "-e", "trace=openat,fsync,rename,renameat,renameat2",
                                     os.environ["QUENMARSH_BIN"]))
        game.wait_for_care_screen()
        self.leave(game)
        folder, steps, fds = game.settings, [], {}
        with open(trace) as f:
            for line in f:
                call = line.split(None, 1)[1]
                if " = " not in call:
                    continue  # an unfinished call; its end comes on a line of its own
                result = call.rsplit("=", 1)[1].split()[0]
                if call.startswith("openat(") and ('"%s/qmprogress.dat.new"' % folder in call
                                                   or '"%s", O_RDONLY' % folder in call):
                    fds[result] = "file" if ".new" in call else "folder"
                elif call.startswith("fsync(") and call[6:].split(")")[0] in fds:
                    steps.append("sync " + fds.pop(call[6:].split(")")[0]))
                elif call.startswith("rename") and "qmprogress.dat.new" in call:
                    steps.append("rename")
        self.assertEqual(steps[-3:], ["sync file", "rename", "sync folder"], steps)

    def test_what_cannot_be_read_is_left_alone_and_links_are_written_through(self):
        cases = [("a FIFO", os.mkfifo), ("a folder", os.mkdir)]
        if os.geteuid() != 0:  # root reads whatever the mode says
            cases.append(("a file without read permission", unreadable_file))
        for what, make in cases:
            with self.subTest(what):
                settings = temp_folder(self.addCleanup)
                make(os.path.join(settings, "qmprogress.dat"))
                before = os.lstat(os.path.join(settings, "qmprogress.dat"))
                game = self.play_to_first_dialog_and_leave(settings=settings)
                after = os.lstat(game.progress_file)
                self.assertEqual((after.st_ino, after.st_mode, after.st_size, after.st_mtime_ns),
                                 (before.st_ino, before.st_mode, before.st_size, before.st_mtime_ns))
                self.assertIn("leaving the file as it is", game.output())
                self.assertFalse(os.path.exists(game.progress_file + ".new"))
        with self.subTest("a link to a read-only file"):
            settings, elsewhere = temp_folder(self.addCleanup), temp_folder(self.addCleanup)
            target = os.path.join(elsewhere, "real.dat")
            with open(target, "wb") as f:
                f.write(progress_text(QUIET))
            os.chmod(target, 0o444)
            os.symlink(target, os.path.join(settings, "qmprogress.dat"))
            os.mkdir(target + ".new")
            game = self.start_game(settings=settings)
            game.wait_for_care_screen()
            self.leave(game)
            self.assertTrue(os.path.islink(game.progress_file))
            self.assertEqual(stat.S_IMODE(os.stat(target).st_mode), 0o444)
            self.assertGreater(self.assertSavedAfterQuietCare(game, QUIET), 0)

    def test_a_cut_short_sprite_sheet_still_quits_promptly(self):
        program = copy_of_the_game(temp_folder(self.addCleanup))
        sheet = os.path.join(os.path.dirname(program), "data", os.environ["QUENMARSH_TILES_FILE"])
        os.truncate(sheet, os.path.getsize(sheet) // 2)
        game = self.start_game(program=program)
        game.wait_for_dialog(0)
        game.quit("Escape")
        self.assertEqual(game.wait_exit(10), 0)

    def test_without_its_data_the_game_shows_an_error_box_on_top_and_ends_with_255(self):
        self.addCleanup(stop, start_window_manager(self.x))
        folder = temp_folder(self.addCleanup)
        shutil.copy2(os.environ["QUENMARSH_BIN"], folder)
        game = self.start_game(program=os.path.join(folder, "quenmarsh"))
        box = wait_until(lambda: game.find_window("Error"), 30, interval=0.1, what="the error box")
        shown = self.x.run("xdotool", "getwindowgeometry", "--shell", box).stdout
        g = dict(line.split("=", 1) for line in shown.split())
        x0, y0, w, h = (int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        # Once the box has drawn itself, most of its place is lit; hidden, it stays dark.
        wait_until(lambda: self.x.screenshot().count(lambda p: sum(p) > 150, x0, y0, x0 + w, y0 + h, step=4)
                   > (w // 4) * (h // 4) // 2, 20, what="the error box on top")
        self.assertIsNone(game.proc.poll(), "the box must wait for the player")
        self.assertRegex(game.error_box_text(), "^Error: Cannot run: Can not open the game data in ")
        game.dismiss_error_box(box)
        self.assertEqual(game.wait_exit(), 255)
        self.assertFalse(os.path.exists(game.progress_file))


if __name__ == "__main__":
    unittest.main()
