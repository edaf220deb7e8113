#!/bin/sh
# Usage: run-as-nobody.sh STATE_DIR REPORT TEST_EXE [ARGS...]
#
# Runs a 64-bit Windows test exe under Wine as the unprivileged user 65534,
# and leaves its GoogleTest XML report at REPORT.
# Wine run by root ignores read-only files and folders (root may write
# anything on the Unix side), so tests that a read-only log is never
# truncated only mean something for an ordinary user. The user gets a prefix
# of its own, made once for each STATE_DIR (about 12 s, 700 MB) and kept.
# Run by an ordinary user already, the exe runs as that user in $WINEPREFIX.
set -eu

if [ $# -lt 3 ]; then
    echo "usage: $0 STATE_DIR REPORT TEST_EXE [ARGS...]" >&2
    exit 2
fi
state=$(readlink -m "$1")
report=$(readlink -m "$2")
exe=$(readlink -f "$3")
shift 3
mkdir -p "$(dirname "$report")"
here=$(dirname "$(readlink -f "$0")")
runner="$here/../../../tools/wine64-run.sh"

if [ "$(id -u)" -ne 0 ]; then
    exec "$runner" "$exe" --gtest_output="xml:Z:$report" "$@"
fi

# The user must reach its prefix and the exe, and a clone in root's home
# (mode 700, as on a fresh machine) is out of its reach: both go to a folder
# of their own under /tmp, one for each STATE_DIR, kept so that the prefix
# is made once.
state=/tmp/tessaril-nonroot-$(printf '%s' "$state" | cksum | cut -d' ' -f1)
uid=65534
prefix="$state/prefix"
log="$state/wine.log"
mkdir -p "$state/home" "$prefix"
chmod 755 "$state"
chown "$uid:$uid" "$state/home" "$prefix"
cp "$exe" "$state/test.exe"
chmod 755 "$state/test.exe"
exe="$state/test.exe"

as_nobody() {
    setpriv --reuid=$uid --regid=$uid --clear-groups \
        env -i HOME="$state/home" PATH=/usr/bin:/bin WINEPREFIX="$prefix" \
        WINEDEBUG=-all LANG=ja_JP.UTF-8 \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$@"
}

# Wine's helper processes inherit the output; a log file keeps them off
# ctest's pipe, which would otherwise stay open after the test.
if [ ! -f "$prefix/system.reg" ]; then
    as_nobody /usr/lib/wine/wine64 wineboot -i </dev/null >"$log" 2>&1 ||
        { cat "$log" >&2; exit 1; }
fi
rc=0
rm -f "$state/home/report.xml"
as_nobody /usr/lib/wine/wine64 "$exe" --gtest_output="xml:Z:$state/home/report.xml" "$@" \
    </dev/null >"$log" 2>&1 || rc=$?
cp "$state/home/report.xml" "$report" 2>/dev/null || true
as_nobody /usr/lib/wine/wineserver64 -k 2>/dev/null || true
iconv -f CP932 -t UTF-8 -c "$log"
exit $rc
