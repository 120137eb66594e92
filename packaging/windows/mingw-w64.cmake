# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# QUENMARSH_DEPS_PREFIX is where packaging/build-deps.sh installed the static libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(QUENMARSH_DEPS_PREFIX "" CACHE PATH "Prefix holding the cross-built static libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUENMARSH_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH ${QUENMARSH_DEPS_PREFIX} /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the prefix's .pc files, and the static link lines of them.
if(QUENMARSH_DEPS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${QUENMARSH_DEPS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
  set(PKG_CONFIG_ARGN --static)
endif()
