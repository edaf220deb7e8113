#!/bin/sh
# Usage: check-package.sh CPACK OBJDUMP WINDRES BUILD_DIR VERSION
# Builds the release zip from the 32-bit build tree with CPack and checks
# what a user unpacks: exactly Tessaril.exe, README.txt and LICENSE.txt; the
# README in Shift-JIS with CR LF; the exe a stripped 32-bit GUI program
# whose version resource carries the package's version.
set -eu
cpack=$1 objdump=$2 windres=$3 build=$4 version=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

if ! "$cpack" -G ZIP --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  exit 1
fi
zip=$work/out/Tessaril-$version-win32.zip
[ -f "$zip" ] || { echo "FAIL: no $(basename "$zip") in:" >&2; ls "$work/out" >&2; exit 1; }

names=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "LICENSE.txt README.txt Tessaril.exe " ] || fail "the zip holds: $names"
unzip -q "$zip" -d "$work/x"

# Every line ends with CR LF: as many CRs as LFs, each line's text ends with
# a CR, and the file ends with LF.
check_crlf() {  # file
  cr=$(LC_ALL=C tr -cd '\r' <"$1" | wc -c)
  lf=$(LC_ALL=C tr -cd '\n' <"$1" | wc -c)
  with_cr=$(LC_ALL=C grep -c "$(printf '\r')\$" "$1" || true)
  last=$(tail -c 1 "$1" | od -An -tx1 | tr -d ' ')
  [ "$lf" -gt 0 ] && [ "$cr" -eq "$lf" ] && [ "$with_cr" -eq "$lf" ] && [ "$last" = 0a ] ||
    fail "$(basename "$1"): not CR LF throughout ($cr CR, $lf LF, $with_cr lines with CR, last byte $last)"
}

readme=$work/x/README.txt
if [ -f "$readme" ]; then
  check_crlf "$readme"
  if iconv -f CP932 -t UTF-8 "$readme" >"$work/readme.utf8" 2>/dev/null; then
    grep -q "^Tessaril $version" "$work/readme.utf8" || fail "README.txt does not name version $version"
    grep -q "スタートアップ" "$work/readme.utf8" || fail "README.txt lacks the install steps"
  else
    fail "README.txt is not valid Shift-JIS (CP932)"
  fi
  # Japanese UTF-8 is not valid CP932 as a rule, but the two overlap:
  # a copy left in UTF-8 must not pass.
  if iconv -f UTF-8 -t UTF-16LE "$readme" >/dev/null 2>&1; then
    fail "README.txt is UTF-8, not Shift-JIS"
  fi
fi

licence=$work/x/LICENSE.txt
if [ -f "$licence" ]; then
  check_crlf "$licence"
  grep -q "^MIT License" "$licence" || fail "LICENSE.txt is not the MIT licence"
  grep -q "Copyright (c) 2026 Tessaril developers" "$licence" || fail "LICENSE.txt: no copyright line"
fi

exe=$work/x/Tessaril.exe
if [ -f "$exe" ]; then
  headers=$("$objdump" -p "$exe" 2>&1 || true)
  echo "$headers" | grep -q "file format pei-i386" || fail "Tessaril.exe is not a 32-bit x86 PE"
  echo "$headers" | grep -q "^Magic.*(PE32)" || fail "Tessaril.exe is not PE32"
  echo "$headers" | grep -q "^Subsystem.*(Windows GUI)" || fail "Tessaril.exe is not a GUI program"
  "$objdump" -t "$exe" 2>/dev/null | grep -q "^no symbols" || fail "Tessaril.exe is not stripped"
  resources=$("$windres" --input-format=coff -O rc -i "$exe" 2>&1 || true)
  commas=$(echo "$version" | sed 's/\./, /g')
  echo "$resources" | grep -q "^ FILEVERSION $commas\$" || fail "FILEVERSION is not $version"
  echo "$resources" | grep -q "VALUE \"FileVersion\", \"$version\"" ||
    fail "the version resource's FileVersion text is not $version"
fi

[ "$failed" -eq 0 ] && echo "package ok: $(basename "$zip"): $names"
exit "$failed"
