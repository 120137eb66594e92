#!/bin/sh
# packaging/windows/build-deps.sh WORK_DIR
# Builds the game's libraries for 64-bit Windows from the upstream releases in third_party/,
# static, into WORK_DIR/prefix (sources and build trees in WORK_DIR/src). Checks the
# tarballs against third_party/SHA256SUMS before unpacking. Does nothing when the prefix is
# already complete for these tarballs and this script. The versions are those of the tarballs'
# names, and nowhere else: they go into the zip's NOTICES.txt from here.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
tarballs="$top/third_party"
[ $# -eq 1 ] || { echo "usage: $0 WORK_DIR" >&2; exit 2; }
mkdir -p "$1"
work=$(cd "$1" && pwd)
prefix="$work/prefix"
stamp="$prefix/.built-from"
toolchain="$here/mingw-w64.cmake"
host=x86_64-w64-mingw32
jobs=${JOBS:-2}

# The one release of a library in third_party/, as NAME-VERSION.
release() {
    name=$1
    set -- "$tarballs/$name"-[0-9]*.tar.xz
    [ $# -eq 1 ] && [ -f "$1" ] || { echo "third_party/: not one release of $name" >&2; exit 1; }
    basename "$1" .tar.xz
}
zlib=$(release zlib)
libogg=$(release libogg)
libvorbis=$(release libvorbis)
freetype=$(release freetype)
physfs=$(release physfs)
allegro=$(release allegro)

# What the prefix is built from: the tarballs and the way this script builds them.
built_from() {
    cat "$tarballs/SHA256SUMS"
    sha256sum "$here/build-deps.sh" "$here/NOTICES.txt.in" "$toolchain" | cut -d' ' -f1
}
if [ -f "$stamp" ] && built_from | cmp -s "$stamp" -; then
    echo "Windows libraries: up to date in $prefix"
    exit 0
fi
(cd "$tarballs" && sha256sum --quiet -c SHA256SUMS) || { echo "third_party/: checksum mismatch" >&2; exit 1; }
rm -rf "$prefix" "$work/src"
mkdir -p "$prefix" "$work/src"
start=$(date +%s)
step() { echo "[$(( $(date +%s) - start )) s] Windows libraries: $1"; }

unpack() {
    tar -xJf "$tarballs/$1.tar.xz" -C "$work/src"
}

# name, then extra CMake options
cmake_lib() {
    name=$1; shift
    step "$name"
    unpack "$name"
    nice -n 10 cmake -S "$work/src/$name" -B "$work/src/$name-build" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUENMARSH_DEPS_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        "$@" >"$work/src/$name-configure.log" 2>&1 \
        || { tail -30 "$work/src/$name-configure.log" >&2; exit 1; }
    # The Allegro build takes a minute or more: say so every 30 s.
    (while sleep 30; do step "$name still building"; done) &
    ticker=$!
    nice -n 10 cmake --build "$work/src/$name-build" -j "$jobs" >"$work/src/$name-build.log" 2>&1 \
        || { kill $ticker; tail -30 "$work/src/$name-build.log" >&2; exit 1; }
    kill $ticker
    cmake --install "$work/src/$name-build" >/dev/null
}

step "$zlib"
unpack "$zlib"
nice -n 10 make -C "$work/src/$zlib" -f win32/Makefile.gcc -j "$jobs" PREFIX=$host- libz.a >/dev/null
mkdir -p "$prefix/include" "$prefix/lib/pkgconfig"
cp "$work/src/$zlib/zlib.h" "$work/src/$zlib/zconf.h" "$prefix/include/"
cp "$work/src/$zlib/libz.a" "$prefix/lib/"
cat >"$prefix/lib/pkgconfig/zlib.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: zlib
Description: zlib compression library
Version: ${zlib#zlib-}
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
PC

cmake_lib "$libogg" -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
cmake_lib "$libvorbis"
cmake_lib "$freetype" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_lib "$physfs" -DPHYSFS_BUILD_SHARED=OFF -DPHYSFS_BUILD_TEST=OFF -DPHYSFS_BUILD_DOCS=OFF
cmake_lib "$allegro" -DSHARED=OFF -DPREFER_STATIC_DEPS=ON \
    -DWANT_DOCS=OFF -DWANT_EXAMPLES=OFF -DWANT_DEMO=OFF -DWANT_TESTS=OFF \
    -DWANT_NATIVE_IMAGE_LOADER=ON -DWANT_DSOUND=ON -DWANT_OPENAL=OFF \
    -DWANT_VORBIS=ON -DWANT_FLAC=OFF -DWANT_OPUS=OFF -DWANT_MODAUDIO=OFF -DWANT_MP3=OFF \
    -DFREETYPE_ZLIB=ON -DWANT_TTF=ON -DWANT_PHYSFS=ON -DWANT_NATIVE_DIALOG=ON -DWANT_VIDEO=OFF

# Each library's licence, for the zip's licences/ folder.
licences="$prefix/share/licences"
mkdir -p "$licences"
cp "$work/src/$zlib/LICENSE" "$licences/zlib.txt"
cp "$work/src/$libogg/COPYING" "$licences/libogg.txt"
cp "$work/src/$libvorbis/COPYING" "$licences/libvorbis.txt"
cp "$work/src/$freetype/docs/FTL.TXT" "$licences/freetype.txt"
cp "$work/src/$physfs/LICENSE.txt" "$licences/physfs.txt"
cp "$work/src/$allegro/LICENSE.txt" "$licences/allegro.txt"

sed -e "s/@allegro@/${allegro#*-}/" -e "s/@freetype@/${freetype#*-}/" -e "s/@physfs@/${physfs#*-}/" \
    -e "s/@libogg@/${libogg#*-}/" -e "s/@libvorbis@/${libvorbis#*-}/" -e "s/@zlib@/${zlib#*-}/" \
    "$here/NOTICES.txt.in" >"$prefix/share/NOTICES.txt"

built_from >"$stamp"
step "done, $(du -sh "$prefix" | cut -f1) in $prefix"
