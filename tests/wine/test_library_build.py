"""The library build (packaging/deps/), run afresh in a scratch folder for zlib and libogg, with
the C compiler behind a wrapper that reports the version written beside it: built once, built
again with nothing changed (no step runs), then with the compiler reporting another version
(each library is built again from an empty build tree)."""

import os
import re
import shutil
import subprocess
import unittest

from harness import temp_folder

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
COMPILER = "x86_64-w64-mingw32-gcc-posix"
WRAPPER = """#!/bin/sh
if [ "$1" = --version ]; then cat "$(dirname "$0")/version"; exit 0; fi
exec %s "$@"
"""


class LibraryRebuild(unittest.TestCase):
    def test_a_new_compiler_version_rebuilds_the_libraries(self):
        work = temp_folder(self.addCleanup, "qm-libraries-")
        wrappers = os.path.join(work, "bin")
        os.mkdir(wrappers)
        wrapper = os.path.join(wrappers, COMPILER)
        with open(wrapper, "w") as out:
            out.write(WRAPPER % shutil.which(COMPILER))
        os.chmod(wrapper, 0o755)
        env = dict(os.environ, PATH=wrappers + os.pathsep + os.environ["PATH"])
        tree = os.path.join(work, "deps")
        cases = [
            ("12-posix", ["libogg", "zlib"]),
            ("12-posix", []),
            ("13-posix", ["libogg", "zlib"]),
        ]
        for version, rebuilt in cases:
            with self.subTest(version=version):
                with open(os.path.join(wrappers, "version"), "w") as out:
                    out.write("%s (GCC) %s\n" % (COMPILER, version))
                for command in (["cmake", "-DCMAKE_TOOLCHAIN_FILE=%s/packaging/windows/mingw-w64.cmake" % SOURCE,
                                 "-S", os.path.join(SOURCE, "packaging", "deps"), "-B", tree],
                                ["cmake", "--build", tree, "-j", "2", "--target", "zlib", "libogg"]):
                    done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
                    self.assertEqual(done.returncode, 0, done.stdout)
                configured = re.findall(r"Performing configure step for '(\w+)'", done.stdout)
                self.assertEqual(sorted(configured), rebuilt, done.stdout)
                self.assertEqual(sorted(re.findall(r"Emptying the build tree of '(\w+)'", done.stdout)), rebuilt)


if __name__ == "__main__":
    unittest.main()
