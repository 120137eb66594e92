# emcc (Emscripten gcc/clang-like replacement + linker emulating GNU ld) 3.1.6 ()
# Allegro's configure checks as the Emscripten named above answers them (with the options that
# packaging/deps/CMakeLists.txt gives Allegro), given to its configure as its initial cache so
# that it does not ask them one compiler run each. That file uses them only with the Emscripten
# whose `emcc --version` begins with the line above. For another, make this file again from the
# CMakeCache.txt of Allegro configured without it (build-web/deps/src/allegro-*-build/):
#   { emcc --version | sed -n '1s/^/# /p'; sed -n '2,9p' allegro-checks.cmake; awk '
#     /^\/\/(Have|Test) / { keep = 1; next }
#     keep && /:INTERNAL=/ { split($0, a, ":INTERNAL="); printf "set(%s \"%s\" CACHE INTERNAL \"\")\n", a[1], a[2] }
#     { keep = 0 }' CMakeCache.txt; } > new-checks.cmake
set(ALLEGRO_HAVE_DIRENT_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_FSEEKO "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_FTELLO "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_GETEXECNAME "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_INTTYPES_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_LINUX_INPUT_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_LINUX_SOUNDCARD_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_MACHINE_SOUNDCARD_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_MKSTEMP "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_MMAP "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_MPROTECT "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_OSATOMIC_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SAL_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SCHED_YIELD "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SOUNDCARD_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_STDBOOL_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_STDINT_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_STRERROR_R "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_STRERROR_S "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYSCONF "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_INOTIFY_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_IO_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_SOUNDCARD_H "" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_STAT_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_TIME_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_TYPES_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_SYS_UTSNAME_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_TIME_H "1" CACHE INTERNAL "")
set(ALLEGRO_HAVE_VA_COPY "1" CACHE INTERNAL "")
set(CMAKE_HAVE_LIBC_PTHREAD "1" CACHE INTERNAL "")
set(HAVE_STDDEF_H "1" CACHE INTERNAL "")
set(HAVE_STDINT_H "1" CACHE INTERNAL "")
set(HAVE_SYS_TYPES_H "1" CACHE INTERNAL "")
set(PHYSFS_IMPLICIT_ZLIB "1" CACHE INTERNAL "")
set(TTF_COMPILES_WITH_EXTRA_DEPS "1" CACHE INTERNAL "")
set(VORBIS_COMPILES "1" CACHE INTERNAL "")
