# A build for Windows or the browser finds the libraries of packaging/deps/ in
# QUENMARSH_DEPS_PREFIX, and only those: the game (included by CMakeLists.txt) and each library
# that needs another (the superbuild gives it as CMAKE_PROJECT_INCLUDE). The prefix comes before
# the toolchain's own folders, where Wine's libz-mingw-w64 puts a zlib DLL. pkg-config reads only
# the prefix's .pc files, and gives the static link lines of them, with the prefix where the
# files lie now (a prefix may be a copy of one built elsewhere).
list(PREPEND CMAKE_FIND_ROOT_PATH ${QUENMARSH_DEPS_PREFIX})
set(ENV{PKG_CONFIG_LIBDIR} ${QUENMARSH_DEPS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static --define-prefix)
