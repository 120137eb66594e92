#!/bin/sh
# Installs the Debian packages of the named groups of packages.txt ([build], [test], ...) that
# are not installed yet: tools/install-deps.sh build test
set -eu
[ $# -gt 0 ] || { echo "usage: $0 GROUP..." >&2; exit 2; }
list="$(dirname "$0")/../packages.txt"
wanted=""
for group in "$@"; do
    grep -q "^\[$group\]\$" "$list" || { echo "packages.txt has no group [$group]" >&2; exit 2; }
    wanted="$wanted $(awk -v group="[$group]" '
        /^\[/ { inside = ($0 == group); next }
        inside && !/^#/ && NF { print $1 }' "$list")"
done
missing=""
for pkg in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing $pkg"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends $missing
