#!/bin/sh
# Installs the Debian packages listed in packages.txt that are not installed yet.
set -eu
list="$(dirname "$0")/../packages.txt"
missing=""
for pkg in $(grep -v -e '^#' -e '^$' "$list"); do
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
