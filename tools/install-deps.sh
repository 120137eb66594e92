#!/bin/sh
# tools/install-deps.sh GROUP...: installs what the named groups need and is not installed yet.
# `build` is the game's build dependencies, the Build-Depends of debian/control (and
# build-essential), installed with `apt-get build-dep`; every other group is one of
# packages.txt ([test], [windows], ...): tools/install-deps.sh build test
set -eu
[ $# -gt 0 ] || { echo "usage: $0 GROUP..." >&2; exit 2; }
top=$(cd "$(dirname "$0")/.." && pwd)
list="$top/packages.txt"
build=no
wanted=""
for group in "$@"; do
    if [ "$group" = build ]; then
        build=yes
        continue
    fi
    grep -q "^\[$group\]\$" "$list" || { echo "packages.txt has no group [$group]" >&2; exit 2; }
    wanted="$wanted $(awk -v group="[$group]" '
        /^\[/ { inside = ($0 == group); next }
        inside && !/^#/ && NF { print $1 }' "$list")"
done
missing=""
for pkg in $wanted; do
    # A package whose triggers another apt has yet to run is installed all the same.
    case $(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null) in
        ii*|it*|iW*) ;;
        *) missing="$missing $pkg" ;;
    esac
done
# dpkg-checkbuilddeps comes with build-essential: without it, something is missing anyway.
if [ $build = yes ] && command -v dpkg-checkbuilddeps >/dev/null &&
   (cd "$top" && dpkg-checkbuilddeps >/dev/null 2>&1); then
    build=no
fi
[ -z "$missing" ] && [ $build = no ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# make test's suites install their groups side by side: one apt at a time.
exec 9> "${TMPDIR:-/tmp}/quenmarsh-install-deps.lock"
flock 9
$sudo apt-get update -q
if [ $build = yes ]; then
    echo "Installing the build dependencies of debian/control"
    $sudo apt-get build-dep -y -q --no-install-recommends "$top/"
fi
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $sudo apt-get install -y -q --no-install-recommends $missing
fi
