"""The Debian package and the install rules: the binary and source packages, built from debian/
by `make deb` with Debian's build flags, pass lintian without a hardening tag, and the desktop
and AppStream validators; they are built from exactly the files git tracks, the source package
without third_party/; the game
unpacked from the binary package starts through /usr/games with its data and font behind links,
and `cmake --install` followed by the uninstall target leaves nothing."""

import glob
import os
import subprocess
import unittest

from harness import DEFAULTS, GameTestCase, progress_text, temp_folder

BUILD = os.environ.get("QUENMARSH_BUILD_DIR", "")
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SYSTEM_FONT = os.environ.get("QUENMARSH_FONT_SOURCE", "")
FONT_FILE = os.environ.get("QUENMARSH_FONT_FILE", "")
MAP_FILE = os.environ.get("QUENMARSH_MAP_FILE", "")


def run(*args, **kwargs):
    done = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)
    return done.returncode, done.stdout


def files_under(root):
    """Every file and link below `root`, as paths relative to it."""
    found = []
    for folder, dirs, files in os.walk(root):
        found += [os.path.relpath(os.path.join(folder, n), root) for n in files]
        found += [os.path.relpath(os.path.join(folder, n), root) for n in dirs
                  if os.path.islink(os.path.join(folder, n))]
    return sorted(found)


class DebianPackage(GameTestCase):
    SCREEN = (960, 540)

    @classmethod
    def setUpClass(cls):
        for old in glob.glob(os.path.join(BUILD, "quenmarsh_*")):
            os.remove(old)
        status, out = run("make", "-C", SOURCE, "deb", "BUILD=" + BUILD)
        assert status == 0, out
        debs = glob.glob(os.path.join(BUILD, "quenmarsh_*_amd64.deb"))
        sources = glob.glob(os.path.join(BUILD, "quenmarsh_*.dsc"))
        assert len(debs) == 1 and len(sources) == 1, (debs, sources, out)
        cls.deb, cls.dsc = debs[0], sources[0]

    def unpack(self):
        root = temp_folder(self.addCleanup)
        status, out = run("dpkg-deb", "-x", self.deb, root)
        self.assertEqual(status, 0, out)
        return root

    def test_lintian_and_the_validators_pass(self):
        status, out = run("lintian", "--fail-on", "error,warning", "--display-info", self.deb, self.dsc)
        print("lintian:\n" + out)
        self.assertEqual(status, 0, out)
        self.assertFalse([line for line in out.splitlines()
                          if line[:2] in ("E:", "W:") or " hardening-no-" in line], out)
        root = self.unpack()
        share = os.path.join(root, "usr", "share")
        entry = os.path.join(share, "applications", "quenmarsh.desktop")
        self.assertEqual(os.stat(entry).st_mode & 0o777, 0o644)
        status, out = run("desktop-file-validate", entry)
        self.assertEqual((status, out), (0, ""))
        metainfo = os.path.join(share, "metainfo", "io.github.quenmarsh.Quenmarsh.metainfo.xml")
        status, out = run("appstreamcli", "validate", "--no-net", "--explain", metainfo)
        self.assertEqual(status, 0, out)

    def test_the_source_folder_holds_exactly_the_tracked_files(self):
        status, tracked = run("git", "-C", SOURCE, "ls-files")
        self.assertEqual(status, 0, tracked)
        folder = os.path.join(BUILD, "debian-source", "quenmarsh")
        self.assertEqual(files_under(folder), sorted(tracked.splitlines()))
        # The source package leaves out third_party/, which only the cross builds use.
        status, listing = run("tar", "-tf", self.dsc[:-len(".dsc")] + ".tar.xz")
        self.assertEqual(status, 0, listing)
        self.assertIn("quenmarsh/debian/", listing)
        self.assertNotIn("/third_party/", listing)

    def test_the_unpacked_game_starts_through_its_link_with_the_linked_font(self):
        root = self.unpack()
        self.assertEqual(os.readlink(os.path.join(root, "usr/share/games/quenmarsh", FONT_FILE)),
                         os.path.relpath(SYSTEM_FONT, "/usr/share/games/quenmarsh"))
        # The font package, installed into the same root: one more link, to this machine's file.
        os.makedirs(os.path.join(root, os.path.dirname(SYSTEM_FONT[1:])))
        os.symlink(SYSTEM_FONT, os.path.join(root, SYSTEM_FONT[1:]))
        elsewhere = temp_folder(self.addCleanup)
        self.addCleanup(os.chdir, os.getcwd())
        os.chdir(elsewhere)
        game = self.start_game(program=os.path.join(root, "usr", "games", "quenmarsh"))
        window = game.wait_for_window()
        # The dialog is compared with text drawn in the TrueType font: Allegro's built-in
        # fallback font would not match.
        game.wait_for_dialog(0)
        icon = self.x.run("xprop", "-id", window, "_NET_WM_ICON").stdout
        self.assertIn("Icon (64 x 64)", icon)
        game.quit("Escape")
        self.assertEqual(game.wait_exit(), 0)
        self.assertEqual(game.saved_progress(), progress_text(DEFAULTS))

    def test_cmake_install_then_uninstall_leaves_nothing(self):
        prefix = temp_folder(self.addCleanup)
        status, out = run("cmake", "--install", BUILD, "--prefix", prefix)
        self.assertEqual(status, 0, out)
        installed = files_under(prefix)
        for path in ("games/quenmarsh", "lib/games/quenmarsh/quenmarsh", "share/applications/quenmarsh.desktop",
                     "share/icons/hicolor/16x16/apps/quenmarsh.png", "share/man/man6/quenmarsh.6"):
            self.assertIn(path, installed)
        self.assertEqual(os.path.realpath(os.path.join(prefix, "lib/games/quenmarsh/data", MAP_FILE)),
                         os.path.join(os.path.realpath(prefix), "share/games/quenmarsh", MAP_FILE))
        # Outside the prefix the font's link is absolute.
        self.assertEqual(os.readlink(os.path.join(prefix, "share/games/quenmarsh", FONT_FILE)),
                         os.path.realpath(SYSTEM_FONT))
        status, out = run("cmake", "--build", BUILD, "--target", "uninstall")
        self.assertEqual(status, 0, out)
        self.assertEqual(files_under(prefix), [])
        # Only the prefix's shared folders may stay, empty.
        left = sorted(os.path.relpath(f, prefix) for f, _, _ in os.walk(prefix))
        self.assertEqual(left, [".", "games", "lib", "lib/games", "share", "share/applications", "share/doc",
                                "share/games", "share/icons", "share/icons/hicolor", "share/man",
                                "share/man/man6", "share/metainfo"])


if __name__ == "__main__":
    unittest.main()
