#!/bin/sh
# tests/wine/wine-run.sh WINEPREFIX PROGRAM ARGS...: runs a cross-built Windows program under
# Wine in the given prefix, quietly and without the Mono and Gecko installers.
# tests/wine/wine-run.sh WINEPREFIX --fresh makes the prefix anew; --stop ends its wine server.
set -eu
WINEPREFIX=$1; shift
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A wine server still ending writes its registry into the prefix: wait for it (-w) before the
# prefix is removed, and after wineboot, so that the new prefix is complete before it is used.
stop() {
    wineserver -k 2>/dev/null || true  # it may have gone already
    wineserver -w 2>/dev/null || true
}
if [ "${1:-}" = --fresh ]; then
    stop
    rm -rf "$WINEPREFIX"
    wineboot -i
    exec wineserver -w
fi
if [ "${1:-}" = --stop ]; then
    stop
    exit 0
fi
exec wine "$@"
