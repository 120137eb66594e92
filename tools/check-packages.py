#!/usr/bin/env python3
"""tools/check-packages.py [PACKAGES_TXT]: every program that the Makefile, the build and test scripts and the
tests run must come from a Debian package that debian/control's Build-Depends or packages.txt
names (build-essential included, which Debian's builds take as given), that a named package
brings in (Depends or Pre-Depends, followed as apt would on a fresh system), or that every
Debian system has (Essential, or priority required or important). A program installed by hand,
or from a package nobody listed, works on one machine and makes `make test` fail on a fresh one.

Programs not installed here are skipped: `make test` installs the listed groups first, so a
program the check cannot find is one that no group brings, and its test fails on its own."""

import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Where programs are run from: the Makefile and CI, the scripts, the CMake files, the tests.
SOURCES = ("Makefile", ".ci", "tools", "packaging", "tests", "debian/rules", "CMakeLists.txt")
# Words that stand before the program a shell line runs.
PREFIXES = {"sudo", "exec", "env", "nice", "time", "command", "xargs", "then", "do", "else", "if", "!", "while",
            "until", "elif"}
# Build-Depends that name no package of their own, and what every build of a Debian package has.
IMPLIED_BUILD_DEPENDS = {"debhelper-compat": "debhelper"}
BUILD_ESSENTIAL = "build-essential"


def read_groups(path):
    groups, group = {}, None
    for line in open(path):
        line = line.split("#")[0].strip()
        if line.startswith("["):
            group = line.strip("[]")
            groups[group] = []
        elif line:
            groups[group].append(line.split()[0])
    return groups


def shell_programs(text):
    """The first word of each simple command in shell text (scripts, recipes, sh -c strings)."""
    found = set()
    # Variables, of make and of the shell, are no programs: $(BUILD), ${x}, $sudo, "$1".
    text = re.sub(r"\$(?:\(\w+\)|\{\w+\}|\w+)", "$v", text)
    for line in text.splitlines():
        line = line.split(" #")[0].strip()
        if line.startswith("#"):
            continue
        for part in re.split(r"\|\||&&|[|;`]|\$\(|\(|\bthen\b|\bdo\b|\belse\b", line):
            words = part.split()
            while words and (words[0] in PREFIXES or re.match(r"^\w+=", words[0]) or words[0][0] in "-$\"'"
                             or words[0].isdigit()):
                words.pop(0)
            if words and re.match(r"^[A-Za-z][\w.+-]*$", words[0]):
                found.add(words[0])
    return found


def programs_in(path):
    text = open(path, errors="replace").read()
    name = os.path.basename(path)
    found = set()
    if name.endswith(".py"):
        # run("prog", ...), subprocess.run(["prog", ...]), Popen(["prog"]), shutil.which("prog")
        found |= set(re.findall(r'(?:\(\s*\[|\brun\(|which\()\s*"([\w.+-]+)"', text))
    elif name.endswith(".sh") or name in ("Makefile", "run", "rules"):
        if name in ("Makefile", "rules"):
            text = "\n".join(line for line in text.splitlines() if line.startswith("\t"))
        found |= shell_programs(text)
    elif name == "CMakeLists.txt" or name.endswith(".cmake"):
        found |= set(re.findall(r"\bCOMMAND\s+([A-Za-z][\w.+-]*)", text))
        for alternatives in re.findall(r"find_program\(\s*\w+\s+NAMES\s+([^)]*)\)", text):
            found |= set(alternatives.split())
        found |= set(re.findall(r"EMULATOR\s+([A-Za-z][\w.+-]*)", text))
    for command in re.findall(r'\bsh -c \\?"([^"\\]+)', text):
        found |= shell_programs(command)
    return found


def installed_packages():
    """name -> (depends, pre-depends, provides, priority, essential) of every installed package."""
    out = subprocess.run(["dpkg-query", "-W", "-f",
                          "${db:Status-Abbrev}\t${Package}\t${Depends}\t${Pre-Depends}\t${Provides}\t"
                          "${Priority}\t${Essential}\n"],
                         stdout=subprocess.PIPE, text=True, check=True).stdout
    packages = {}
    for line in out.splitlines():
        status, name, depends, pre, provides, priority, essential = line.split("\t")
        if status.startswith("ii"):
            packages[name] = (depends, pre, provides, priority, essential)
    return packages


def names(field):
    """A Depends field as a list of alternatives lists of bare names."""
    return [[re.split(r"[\s(:\[]", alt.strip())[0] for alt in group.split("|")]
            for group in field.split(",") if group.strip()]


def brought_in(listed, packages):
    """The listed packages and everything their Depends and Pre-Depends pull in, taking of a
    group of alternatives the first one, as apt does on a system that has none of them yet."""
    providers = {}
    for name, (_, _, provides, _, _) in packages.items():
        for group in names(provides):
            providers.setdefault(group[0], []).append(name)
    closure, todo = set(), list(listed)
    while todo:
        name = todo.pop()
        if name in closure:
            continue
        closure.add(name)
        if name not in packages:
            todo += providers.get(name, [])
            continue
        depends, pre = packages[name][:2]
        for group in names(depends) + names(pre):
            todo.append(group[0])
    return closure


def candidates(path):
    """`path` and the names dpkg may know it by: its real file (alternatives), the other side
    of the merged /usr."""
    found = [path, os.path.realpath(path)]
    return found + [p[4:] if p.startswith("/usr/") else "/usr" + p for p in found]


def owners(paths):
    """path -> the package that installed it, for those of `paths` that dpkg knows."""
    done = subprocess.run(["dpkg", "-S"] + sorted(set(paths)), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          text=True)
    found = {}
    for line in done.stdout.splitlines():
        names, path = line.rsplit(": ", 1)
        if "diversion" not in names:
            found[path] = names.split(",")[0].strip().split(":")[0]
    return found


def build_depends():
    control = open(os.path.join(ROOT, "debian", "control")).read()
    field = re.search(r"^Build-Depends:(.*(?:\n[ \t].*)*)", control, re.M).group(1)
    return {IMPLIED_BUILD_DEPENDS.get(g[0], g[0]) for g in names(field)} | {BUILD_ESSENTIAL}


def main():
    groups = read_groups(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "packages.txt"))
    listed = {p for group in groups.values() for p in group} | build_depends()
    problems = []

    programs = set()
    for source in SOURCES:
        top = os.path.join(ROOT, source)
        paths = [top] if os.path.isfile(top) else [os.path.join(d, f) for d, _, fs in os.walk(top) for f in fs]
        for path in paths:
            if "__pycache__" not in path:
                programs |= programs_in(path)

    packages = installed_packages()
    known = brought_in(listed, packages)
    folders = os.environ.get("PATH", "").split(os.pathsep) + ["/usr/sbin", "/sbin"]
    found = {program: [p for p in (shutil.which(program, path=folder) for folder in folders) if p]
             for program in programs}
    known_owners = owners([c for paths in found.values() for path in paths for c in candidates(path)])
    checked, shadows = 0, []
    for program, paths in sorted(found.items()):
        if not paths:
            continue
        checked += 1
        # A packaged program behind a local one of the same name (a wrapper, a Python shim) is
        # what a fresh system runs: it decides. One with no packaged program behind it fails.
        owned = [(path, next((known_owners[c] for c in candidates(path) if c in known_owners), None))
                 for path in dict.fromkeys(paths)]
        owned = [(path, owner) for path, owner in owned if owner] or [(paths[0], None)]
        path, owner = owned[0]
        if path != paths[0]:
            shadows.append("%s before %s" % (paths[0], path))
        if owner is None:
            problems.append("%s (%s) belongs to no Debian package: installed by hand?" % (program, path))
            continue
        _, _, _, priority, essential = packages.get(owner, ("", "", "", "", ""))
        if owner not in known and priority not in ("required", "important") and essential != "yes":
            problems.append("%s comes from the package %s, which neither debian/control nor packages.txt "
                            "names or brings in" % (program, owner))
    if shadows:
        print("packages.txt: local programs found first on PATH, the packaged ones checked: " + ", ".join(shadows))
    if problems:
        print("tools/check-packages.py:\n  " + "\n  ".join(problems), file=sys.stderr)
        return 1
    print("packages.txt: the %d programs run here come from Build-Depends, listed or base packages" % checked)
    return 0


if __name__ == "__main__":
    sys.exit(main())
