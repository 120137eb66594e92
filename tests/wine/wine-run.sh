#!/bin/sh
# tests/wine/wine-run.sh WINEPREFIX PROGRAM ARGS...: runs a cross-built Windows program under
# Wine in the given prefix, quietly and without the Mono and Gecko installers.
# tests/wine/wine-run.sh WINEPREFIX --fresh makes the prefix anew.
set -eu
WINEPREFIX=$1; shift
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "${1:-}" = --fresh ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    exec wineboot -i
fi
if [ "${1:-}" = --stop ]; then
    wineserver -k 2>/dev/null || true  # it may have gone already
    exit 0
fi
exec wine "$@"
