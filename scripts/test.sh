#!/usr/bin/env bash
# Builds everything (native, win64, win32) and runs every test.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_deps
mkdir -p "$BUILD"
# Where the end-to-end tests leave their screenshots.
export TESSARIL_SCREENSHOTS=$BUILD/screenshots
trap stop_display EXIT

results=()
restarted=()
run_ctest() {  # name
  local dir=$BUILD/$1 name
  say "testing $1"
  # Failures are counted from the JUnit file below, so every build is tested.
  ctest --test-dir "$dir" --output-on-failure --timeout 300 \
    --output-junit "$dir/junit.xml" "${@:2}" || true
  results+=("$dir/junit.xml")
  # A failed test that printed nothing at all never reached its first line:
  # Wine's start of the process failed (seen about once in several hundred
  # starts). It runs once more, and is named above the closing line; a
  # second failure counts as one.
  while IFS= read -r name; do
    say "running $name again: its process ended before printing anything"
    ctest --test-dir "$dir" -R "^$(printf '%s' "$name" | sed 's/[][\\.^$*+?(){}|]/\\&/g')\$" \
      --output-on-failure --timeout 300 --output-junit "$dir/rerun.xml" </dev/null || true
    if awk -v want="<testcase name=\"$name\"" 'index($0, want) && /status="run"/ { ok = 1 }
                                              END { exit !ok }' "$dir/rerun.xml"; then
      restarted+=("$name")
    fi
  done < <(awk '/<testcase name=.*status="fail"/ { match($0, /name="[^"]*"/)
                  name = substr($0, RSTART + 6, RLENGTH - 7); next }
                name != "" && /<system-out><\/system-out>/ { print name }
                /<\/testcase>/ { name = "" }' "$dir/junit.xml")
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

# One closing line over every run. Skips are counted from the tests' own
# output too: a 32-bit test exe runs as one CTest test, so a case skipped
# inside it would otherwise count as passed.
passed=0 failed=0
for f in "${results[@]}"; do
  [[ -f $f ]] || { failed=$((failed + 1)); continue; }
  t=$(grep -o 'tests="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  fl=$(grep -o 'failures="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  sk=$(grep -o 'skipped="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  passed=$((passed + t - fl - ${sk:-0}))
  failed=$((failed + fl))
done
# A test that passed when run again is counted passed, and named.
passed=$((passed + ${#restarted[@]}))
failed=$((failed - ${#restarted[@]}))
for name in "${restarted[@]}"; do echo "started again: $name (its first process printed nothing)"; done
skips=$(for f in "${results[@]}"; do [[ -f $f ]] && cat "$f"; done | awk '
  /<testcase name="/ { match($0, /name="[^"]*"/); test = substr($0, RSTART + 6, RLENGTH - 7) }
  reason_next { reason = $0; reason_next = 0 }
  /: Skipped$/ { reason_next = 1 }
  /^\[  SKIPPED \] [^ ]+ \(/ {
    split($0, w, " "); name = (test == w[4] || test ~ ("\\." w[4] "$")) ? test : test ": " w[4]
    printf "%s: %s\n", name, reason; reason = ""
  }')
skipped=0
[[ -n $skips ]] && skipped=$(printf '%s\n' "$skips" | wc -l)
if ((skipped)); then
  printf 'skipped: %s\n' "${skips//$'\n'/$'\n'skipped: }"
  echo "tests: $passed passed, $failed failed, $skipped skipped ($(printf '%s\n' "$skips" | awk 'NR > 1 { printf "; " } { printf "%s", $0 }'))"
else
  echo "tests: $passed passed, $failed failed"
fi
[[ $failed -eq 0 ]]
