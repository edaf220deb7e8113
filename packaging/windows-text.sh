#!/bin/sh
# Usage: windows-text.sh IN OUT
# Writes the UTF-8 text IN as Shift-JIS (code page 932) with CR LF line
# ends, the form Notepad on a Japanese Windows opens. A character code page
# 932 lacks stops the build instead of turning into "?".
set -eu
tmp="$2.tmp"
iconv -f UTF-8 -t CP932 "$1" >"$tmp"
LC_ALL=C sed 's/\r*$/\r/' "$tmp" >"$2"
rm -f "$tmp"
