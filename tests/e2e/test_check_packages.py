"""The package check, run on this repository with packages.txt edited: it passes as the file is, and
fails, naming the program and its package, when a group leaves out the package of a program a
test runs."""

import os
import subprocess
import tempfile
import unittest

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class PackageCheck(unittest.TestCase):
    def test_packages_left_out(self):
        listed = open(os.path.join(SOURCE, "packages.txt")).read().splitlines()
        cases = [
            (None, 0, "come from Build-Depends, listed or base packages"),
            ("sox", 1, "sox comes from the package sox, which neither debian/control nor packages.txt"),
        ]
        for left_out, status, message in cases:
            with self.subTest(left_out=left_out), tempfile.NamedTemporaryFile("w", suffix=".txt") as edited:
                edited.write("\n".join(line for line in listed if line != left_out) + "\n")
                edited.flush()
                done = subprocess.run(["python3", os.path.join(SOURCE, "tools", "check-packages.py"), edited.name],
                                      stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
                self.assertEqual(done.returncode, status, done.stdout)
                self.assertIn(message, done.stdout)


if __name__ == "__main__":
    unittest.main()
