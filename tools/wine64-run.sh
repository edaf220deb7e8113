#!/bin/sh
# Runs a 64-bit Windows exe under Wine with the project's test environment.
# Used as the x86_64 build's CMAKE_CROSSCOMPILING_EMULATOR. wine64 is not on
# PATH on Debian, and /usr/bin/wine would pick the i386 loader.
set -eu

: "${WINEPREFIX:?wine64-run.sh: set WINEPREFIX}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# Under ctest the locale is C.UTF-8, where GetACP() would be 1252.
export LANG=ja_JP.UTF-8
# No Mono/Gecko install prompts, no .desktop files.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"

exec /usr/lib/wine/wine64 "$@"
