#!/bin/sh
# packaging/windows/build-deps.sh WORK_DIR
# Builds the game's libraries for 64-bit Windows from the upstream releases in third_party/,
# static, into WORK_DIR/prefix (sources and build trees in WORK_DIR/src). Checks the
# tarballs against third_party/SHA256SUMS before unpacking. Does nothing when the prefix is
# already complete for these tarballs.
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

if [ -f "$stamp" ] && cmp -s "$stamp" "$tarballs/SHA256SUMS"; then
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

step zlib-1.3.1
unpack zlib-1.3.1
nice -n 10 make -C "$work/src/zlib-1.3.1" -f win32/Makefile.gcc -j "$jobs" PREFIX=$host- libz.a >/dev/null
mkdir -p "$prefix/include" "$prefix/lib/pkgconfig"
cp "$work/src/zlib-1.3.1/zlib.h" "$work/src/zlib-1.3.1/zconf.h" "$prefix/include/"
cp "$work/src/zlib-1.3.1/libz.a" "$prefix/lib/"
cat >"$prefix/lib/pkgconfig/zlib.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: zlib
Description: zlib compression library
Version: 1.3.1
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
PC

cmake_lib libogg-1.3.5 -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
cmake_lib libvorbis-1.3.7
cmake_lib freetype-2.13.3 -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_lib physfs-3.0.2 -DPHYSFS_BUILD_SHARED=OFF -DPHYSFS_BUILD_TEST=OFF -DPHYSFS_BUILD_DOCS=OFF
cmake_lib allegro-5.2.8.0 -DSHARED=OFF -DPREFER_STATIC_DEPS=ON \
    -DWANT_DOCS=OFF -DWANT_EXAMPLES=OFF -DWANT_DEMO=OFF -DWANT_TESTS=OFF \
    -DWANT_NATIVE_IMAGE_LOADER=ON -DWANT_DSOUND=ON -DWANT_OPENAL=OFF \
    -DWANT_VORBIS=ON -DWANT_FLAC=OFF -DWANT_OPUS=OFF -DWANT_MODAUDIO=OFF -DWANT_MP3=OFF \
    -DFREETYPE_ZLIB=ON -DWANT_TTF=ON -DWANT_PHYSFS=ON -DWANT_NATIVE_DIALOG=ON -DWANT_VIDEO=OFF

# Each library's licence, for the zip's licences/ folder.
licences="$prefix/share/licences"
mkdir -p "$licences"
cp "$work/src/zlib-1.3.1/LICENSE" "$licences/zlib.txt"
cp "$work/src/libogg-1.3.5/COPYING" "$licences/libogg.txt"
cp "$work/src/libvorbis-1.3.7/COPYING" "$licences/libvorbis.txt"
cp "$work/src/freetype-2.13.3/docs/FTL.TXT" "$licences/freetype.txt"
cp "$work/src/physfs-3.0.2/LICENSE.txt" "$licences/physfs.txt"
cp "$work/src/allegro-5.2.8.0/LICENSE.txt" "$licences/allegro.txt"

cp "$tarballs/SHA256SUMS" "$stamp"
step "done, $(du -sh "$prefix" | cut -f1) in $prefix"
