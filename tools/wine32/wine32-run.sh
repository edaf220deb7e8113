#!/bin/sh
# Runs a 32-bit Windows exe on this x86_64 host, which cannot execute the
# i386 Wine loader natively: the loader runs under qemu-i386, with the
# preload shim (shim.c) so startup takes under a second instead of ~50 s.
# Used as the i686 build's CMAKE_CROSSCOMPILING_EMULATOR.
#
# Environment:
#   WINEPREFIX32 or WINEPREFIX   prefix made by prepare-prefix.sh (required)
#   TESSARIL_WINE32_SHIM         built shim; default: wine32-qemu-shim.so
#                                beside this script
#
# Known limit: under qemu a 32-bit process that has a second thread crashes
# when a Windows structured exception is raised. GoogleTest's printer raises
# one for every failure and skip (OutputDebugStringA), so the test exes have
# a main of their own that prints without it (tests/shared/gtest_main.cpp).
set -eu

here=$(dirname "$(readlink -f "$0")")
shim=${TESSARIL_WINE32_SHIM:-$here/wine32-qemu-shim.so}
if [ ! -f "$shim" ]; then
    echo "wine32-run.sh: shim not found: $shim (build it or set TESSARIL_WINE32_SHIM)" >&2
    exit 127
fi

prefix=${WINEPREFIX32:-${WINEPREFIX:-}}
if [ -z "$prefix" ]; then
    echo "wine32-run.sh: set WINEPREFIX32 or WINEPREFIX" >&2
    exit 127
fi

# Under ctest the locale is C.UTF-8, where GetACP() would be 1252.
export LANG=ja_JP.UTF-8
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Otherwise ntdll re-execs the i386 loader natively, outside qemu, and fails
# with "could not exec the wine loader".
export WINELOADERNOEXEC=1

# -R sets qemu's guest address space. A large-address-aware exe needs all
# 4 GB: with -R 0x81000000 its MEM_TOP_DOWN reservations fail and it gets
# under 2 GB. Wine still holds exes without the flag to 2 GB, and startup
# is no slower.
exec qemu-i386 -L / -R 0xffff0000 -E LD_PRELOAD="$shim" /usr/lib/wine/wine "$@"
