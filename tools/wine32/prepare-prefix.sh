#!/bin/sh
# Usage: prepare-prefix.sh PREFIX
#
# Makes a WoW64 prefix that both wine64 and the qemu-i386 route
# (wine32-run.sh) can use, or reuses one this script already prepared.
# wine64's wineboot cannot run the i386 half here, so syswow64 never gets
# the 32-bit builtins; without every one of them, *.drv included, a 32-bit
# program loads no display driver and CreateWindowEx returns NULL.
# Managed=N: with no window manager under Xvfb every hide or destroy of a
# managed window waits about 2 s for one.
set -eu

if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: $0 PREFIX" >&2
    exit 2
fi
prefix=$(readlink -m "$1")

wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
builtins32=/usr/lib/i386-linux-gnu/wine/i386-windows
marker="$prefix/.tessaril-prefix"
stamp="$("$wine64" --version) $(find "$builtins32" -type f | wc -l)"

if [ -f "$marker" ] && [ "$(cat "$marker")" = "$stamp" ]; then
    exit 0
fi

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export LANG=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

log=$(mktemp)
trap 'rm -f "$log"' EXIT

fail() {
    echo "prepare-prefix.sh: $1 failed for $prefix" >&2
    cat "$log" >&2
    exit 1
}

mkdir -p "$prefix"
# Wine prints prefix-creation messages regardless of WINEDEBUG.
"$wine64" wineboot -i </dev/null >"$log" 2>&1 || fail "wineboot -i"
"$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >"$log" 2>&1 || fail "reg add Managed=N"
"$wineserver" -w

[ -d "$prefix/drive_c/windows/syswow64" ] || fail "syswow64 check"
cp -n "$builtins32"/* "$prefix/drive_c/windows/syswow64/"

printf '%s\n' "$stamp" >"$marker"
