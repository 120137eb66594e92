#!/bin/sh
# packaging/linux/make-deb.sh BUILD_DIR: packs the game built in BUILD_DIR (games layout) into
# BUILD_DIR/quenmarsh_<version>_<arch>.deb and prints its path. The tree is what
# `cmake --install --strip` puts under /usr; Depends comes from the program's libraries.
# The error box's add-on is loaded only when needed, so control.in names its package itself.
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
layout=$(sed -n 's/^QUENMARSH_INSTALL_LAYOUT:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$layout" = games ] || { echo "make-deb.sh: $build is configured for the $layout layout" >&2; exit 1; }
arch=$(dpkg --print-architecture)
# dpkg-shlibdeps wants the tree where a Debian source tree would keep it: debian/<package>.
work="$build/deb"
root="$work/debian/quenmarsh"
deb="$build/quenmarsh_${version}_${arch}.deb"

rm -rf "$work"
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >/dev/null
# cmake --install leaves its record of the DESTDIR tree: this is no install to undo.
rm -f "$build/install_manifest.txt" "$build/install_prefix.txt"
if grep -qv '^#' "$here/quenmarsh.lintian-overrides"; then
    install -D -m 0644 "$here/quenmarsh.lintian-overrides" "$root/usr/share/lintian/overrides/quenmarsh"
fi

mkdir -p "$root/DEBIAN"
printf "Source: quenmarsh\n\nPackage: quenmarsh\nArchitecture: any\n" > "$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O debian/quenmarsh/usr/lib/games/quenmarsh/quenmarsh |
          sed -n 's/^shlibs:Depends=//p')

size=$(du -sk --apparent-size "$root/usr" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
    "$here/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
