#!/bin/sh
# packaging/build-deps.sh TARGET WORK_DIR, TARGET being windows or web.
# Builds the game's libraries from the upstream releases in third_party/, static, into
# WORK_DIR/prefix (sources and build trees in WORK_DIR/src): for Windows with MinGW-w64, for
# the browser with Emscripten (which also needs SDL2, libpng and libjpeg-turbo). The steps are
# the same for both; only the compilers and a few options differ. Checks the tarballs against
# third_party/SHA256SUMS before unpacking. Does nothing when the prefix is already complete for
# these tarballs and this script. The versions are those of the tarballs' names, and nowhere
# else: they go into the zip's NOTICES.txt from here.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
tarballs="$top/third_party"
[ $# -eq 2 ] || { echo "usage: $0 windows|web WORK_DIR" >&2; exit 2; }
target=$1
mkdir -p "$2"
work=$(cd "$2" && pwd)
prefix="$work/prefix"
stamp="$prefix/.built-from"
jobs=${JOBS:-2}

# What differs between the targets: how CMake is run, the C compiler and archiver for zlib,
# and the libraries only the browser needs.
case $target in
windows)
    label="Windows libraries"
    toolchain="$here/windows/mingw-w64.cmake"
    configure="cmake -DCMAKE_TOOLCHAIN_FILE=$toolchain -DQUENMARSH_DEPS_PREFIX=$prefix"
    cc=x86_64-w64-mingw32-gcc-posix
    ar=x86_64-w64-mingw32-ar
    zlib_flags=""
    ;;
web)
    label="Web libraries"
    toolchain=""
    # Emscripten's own toolchain file searches its sysroot; the prefix is added to that.
    configure="emcmake cmake -DCMAKE_FIND_ROOT_PATH=$prefix"
    cc=emcc
    ar=emar
    # Without it zlib's file functions call read() and close() undeclared.
    zlib_flags="-DZ_HAVE_UNISTD_H"
    # Emscripten's JS tools need Debian's acorn module; its prebuilt system libraries stay in
    # the shared cache, which a private EM_CACHE would not find.
    export NODE_PATH=/usr/share/nodejs
    unset EM_CACHE
    # Only the prefix's .pc files, never the host's.
    export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
    ;;
*)
    echo "$0: unknown target $target (windows or web)" >&2; exit 2 ;;
esac

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
sdl2=$(release SDL2)
libpng=$(release libpng)
libjpeg=$(release libjpeg-turbo)
notices="$here/$target/NOTICES.txt.in"

# What the prefix is built from: the tarballs, our patches to them and the way this script
# builds them.
built_from() {
    cat "$tarballs/SHA256SUMS"
    # shellcheck disable=SC2046 # one word per file
    sha256sum "$here/build-deps.sh" "$notices" $toolchain $(ls "$tarballs"/*.patch 2>/dev/null) | cut -d' ' -f1
}
if [ -f "$stamp" ] && built_from | cmp -s "$stamp" -; then
    echo "$label: up to date in $prefix"
    exit 0
fi
(cd "$tarballs" && sha256sum --quiet -c SHA256SUMS) || { echo "third_party/: checksum mismatch" >&2; exit 1; }
rm -rf "$prefix" "$work/src"
mkdir -p "$prefix" "$work/src"
start=$(date +%s)
step() { echo "[$(( $(date +%s) - start )) s] $label: $1"; }

# A release, with our changes to it: third_party/<release>-*.patch, each saying why in its header.
unpack() {
    tar -xJf "$tarballs/$1.tar.xz" -C "$work/src"
    for patch in "$tarballs/$1"-*.patch; do
        [ -f "$patch" ] || continue
        patch -s -p1 -d "$work/src/$1" <"$patch"
    done
}

# name, then extra CMake options
cmake_lib() {
    name=$1; shift
    step "$name"
    unpack "$name"
    # Configuring SDL2 or Allegro, and building them, each take a minute or more: say so every 30 s.
    (while sleep 30; do step "$name still building"; done) &
    ticker=$!
    # shellcheck disable=SC2086 # $configure is a command with its options
    nice -n 10 $configure -S "$work/src/$name" -B "$work/src/$name-build" -G "Unix Makefiles" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        "$@" >"$work/src/$name-configure.log" 2>&1 \
        || { kill $ticker; tail -30 "$work/src/$name-configure.log" >&2; exit 1; }
    nice -n 10 cmake --build "$work/src/$name-build" -j "$jobs" >"$work/src/$name-build.log" 2>&1 \
        || { kill $ticker; tail -30 "$work/src/$name-build.log" >&2; exit 1; }
    kill $ticker
    cmake --install "$work/src/$name-build" >/dev/null
}

# Emscripten's CMake answers 9 for the size of every type it is asked about; these are the
# sizes on wasm32, seeded into the cache of the libraries that ask.
sizes() {
    for pair in "$@"; do
        echo "-D${pair%=*}=${pair#*=}" "-DHAVE_${pair%=*}=TRUE"
    done
}

step "$zlib"
unpack "$zlib"
nice -n 10 make -C "$work/src/$zlib" -f win32/Makefile.gcc -j "$jobs" CC="$cc" AR="$ar" \
    LOC="$zlib_flags" libz.a >/dev/null
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

ogg_sizes=""
[ "$target" = web ] && ogg_sizes=$(sizes INT16_SIZE=2 UINT16_SIZE=2 U_INT16_SIZE=2 INT32_SIZE=4 \
    UINT32_SIZE=4 U_INT32_SIZE=4 INT64_SIZE=8 SHORT_SIZE=2 INT_SIZE=4 LONG_SIZE=4 LONG_LONG_SIZE=8)
# shellcheck disable=SC2086 # one word per option
cmake_lib "$libogg" -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF $ogg_sizes
cmake_lib "$libvorbis"
cmake_lib "$freetype" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_lib "$physfs" -DPHYSFS_BUILD_SHARED=OFF -DPHYSFS_BUILD_TEST=OFF -DPHYSFS_BUILD_DOCS=OFF

if [ "$target" = windows ]; then
    # GDI+ reads the PNG and JPEG pictures, DirectSound plays the cry.
    cmake_lib "$allegro" -DSHARED=OFF -DPREFER_STATIC_DEPS=ON \
        -DWANT_DOCS=OFF -DWANT_EXAMPLES=OFF -DWANT_DEMO=OFF -DWANT_TESTS=OFF \
        -DWANT_NATIVE_IMAGE_LOADER=ON -DWANT_DSOUND=ON -DWANT_OPENAL=OFF \
        -DWANT_VORBIS=ON -DWANT_FLAC=OFF -DWANT_OPUS=OFF -DWANT_MODAUDIO=OFF -DWANT_MP3=OFF \
        -DFREETYPE_ZLIB=ON -DWANT_TTF=ON -DWANT_PHYSFS=ON -DWANT_NATIVE_DIALOG=ON -DWANT_VIDEO=OFF
else
    # SDL2 with only what Allegro's SDL backend calls: video, audio, events and timers, plus the
    # joystick and sensor subsystems that its SDL_Init asks for (it fails without them). No
    # threads: Allegro runs its timers from SDL's main loop in the browser.
    cmake_lib "$sdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
        -DSDL_THREADS=OFF -DSDL_RENDER=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_POWER=OFF \
        -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_DISKAUDIO=OFF -DSDL_OFFSCREEN=OFF -DSDL_CCACHE=OFF
    cmake_lib "$libpng" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_TOOLS=OFF \
        -DPNG_EXECUTABLES=OFF
    # shellcheck disable=SC2046 # one word per option
    cmake_lib "$libjpeg" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
        -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF $(sizes SIZE_T=4 UNSIGNED_LONG=4)
    # One static library with every add-on; no native dialogs, no threads to wait on.
    cmake_lib "$allegro" -DALLEGRO_SDL=ON -DSHARED=OFF -DPREFER_STATIC_DEPS=ON -DWANT_MONOLITH=ON \
        -DWANT_ALLOW_SSE=OFF -DWANT_OPENAL=OFF -DWANT_WAIT_EVENT_SLEEP=ON -DALLEGRO_HAVE__BOOL=1 \
        -DSDL2_INCLUDE_DIR="$prefix/include/SDL2" -DSDL2_LIBRARY="$prefix/lib/libSDL2.a" \
        -DWANT_DOCS=OFF -DWANT_EXAMPLES=OFF -DWANT_DEMO=OFF -DWANT_TESTS=OFF -DWANT_VIDEO=OFF \
        -DWANT_VORBIS=ON -DWANT_FLAC=OFF -DWANT_OPUS=OFF -DWANT_MODAUDIO=OFF -DWANT_MP3=OFF \
        -DWANT_IMAGE_WEBP=OFF -DWANT_IMAGE_FREEIMAGE=OFF \
        -DFREETYPE_ZLIB=ON -DWANT_TTF=ON -DWANT_PHYSFS=ON -DWANT_NATIVE_DIALOG=OFF
fi

# Each library's licence, for the zip's licences/ folder.
licences="$prefix/share/licences"
mkdir -p "$licences"
cp "$work/src/$zlib/LICENSE" "$licences/zlib.txt"
cp "$work/src/$libogg/COPYING" "$licences/libogg.txt"
cp "$work/src/$libvorbis/COPYING" "$licences/libvorbis.txt"
cp "$work/src/$freetype/docs/FTL.TXT" "$licences/freetype.txt"
cp "$work/src/$physfs/LICENSE.txt" "$licences/physfs.txt"
cp "$work/src/$allegro/LICENSE.txt" "$licences/allegro.txt"
if [ "$target" = web ]; then
    cp "$work/src/$sdl2/LICENSE.txt" "$licences/SDL2.txt"
    cp "$work/src/$libpng/LICENSE" "$licences/libpng.txt"
    cat "$work/src/$libjpeg/LICENSE.md" "$work/src/$libjpeg/README.ijg" >"$licences/libjpeg-turbo.txt"
fi

sed -e "s/@allegro@/${allegro#*-}/" -e "s/@freetype@/${freetype#*-}/" -e "s/@physfs@/${physfs#*-}/" \
    -e "s/@libogg@/${libogg#*-}/" -e "s/@libvorbis@/${libvorbis#*-}/" -e "s/@zlib@/${zlib#*-}/" \
    -e "s/@SDL2@/${sdl2#*-}/" -e "s/@libpng@/${libpng#*-}/" -e "s/@libjpeg-turbo@/${libjpeg#*-}/" \
    "$notices" >"$prefix/share/NOTICES.txt"

built_from >"$stamp"
step "done, $(du -sh "$prefix" | cut -f1) in $prefix"
