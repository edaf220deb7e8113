#!/usr/bin/env bash
# Builds everything (native, win64, win32) and runs every test.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_deps
mkdir -p "$BUILD"
# Where the end-to-end tests leave their screenshots.
export TESSARIL_SCREENSHOTS=$BUILD/screenshots
trap stop_display EXIT

builds=()
restarted=()
run_ctest() {  # name
  local dir=$BUILD/$1 name n=0
  say "testing $1"
  builds+=("$1")
  rm -rf "$dir/gtest-xml" "$dir"/rerun-*.xml
  # Every build is tested; the results are counted at the end.
  ctest --test-dir "$dir" --output-on-failure --timeout 300 \
    --output-junit "$dir/junit.xml" "${@:2}" || true
  # A failed test that printed nothing at all never reached its first line:
  # Wine's start of the process failed (seen about once in several hundred
  # starts). It runs once more, with the fixtures it needs, and is named
  # above the closing line; what the second run does is what counts. A setup
  # or cleanup fixture is never run again alone: the tests that needed it
  # stay "not run", and count as failed.
  local fixtures
  fixtures=$(grep -rhE --include=CTestTestfile.cmake ' FIXTURES_(SETUP|CLEANUP) ' "$dir" |
    sed -nE 's/^set_tests_properties\(\[=\[(.*)\]=\] PROPERTIES .*/\1/p' || true)
  while IFS= read -r name; do
    grep -qxF -- "$name" <<<"$fixtures" && continue
    n=$((n + 1))
    say "running $name again: its process ended before printing anything"
    ctest --test-dir "$dir" -R "^$(printf '%s' "$name" | sed 's/[][\\.^$*+?(){}|]/\\&/g')\$" \
      --output-on-failure --timeout 300 --output-junit "$dir/rerun-$n.xml" </dev/null || true
    restarted+=("$name")
  done < <(awk '/<testcase name=.*status="fail"/ { match($0, /name="[^"]*"/)
                  name = substr($0, RSTART + 6, RLENGTH - 7); next }
                name != "" && /<system-out><\/system-out>/ { print name }
                /<\/testcase>/ { name = "" }' "$dir/junit.xml" 2>/dev/null)
}

say "building native"
build_native
run_ctest native
say "building native with sanitizers"
build_native_asan
run_ctest native-asan
say "building the fuzz targets"
build_fuzz
run_ctest fuzz

prepare_prefix
ensure_display
say "building win32"
build_win32
say "building win64"
build_win64 -DTESSARIL_WIN32_EXE="$BUILD/win32/Tessaril.exe"
run_ctest win64
run_ctest win32

# One closing line over every run, counted case by case (scripts/tally.sh):
# a test that did not run, or left no result, counts as failed.
results=$(for b in "${builds[@]}"; do
  d=$BUILD/$b
  if [[ -f $d/junit.xml ]]; then
    "$ROOT/scripts/tally.sh" "$d" "$d/junit.xml" $(ls -tr "$d"/rerun-*.xml 2>/dev/null)
  else
    printf 'failed\t%s\tno results: ctest did not finish\n' "$b"
  fi
done)
count() { grep -c "^$1"$'\t' <<<"$results" || true; }
passed=$(count passed) failed=$(count failed) skipped=$(count skipped)
for name in "${restarted[@]}"; do echo "started again: $name (its first process printed nothing)"; done
awk -F '\t' '$1 == "failed" { print "failed: " $2 " (" $3 ")" }' <<<"$results"
skips=$(awk -F '\t' '$1 == "skipped" { print $2 ": " $3 }' <<<"$results")
if ((skipped)); then
  printf 'skipped: %s\n' "${skips//$'\n'/$'\n'skipped: }"
  echo "tests: $passed passed, $failed failed, $skipped skipped ($(printf '%s\n' "$skips" | awk 'NR > 1 { printf "; " } { printf "%s", $0 }'))"
else
  echo "tests: $passed passed, $failed failed"
fi
[[ $failed -eq 0 && $passed -gt 0 ]]
