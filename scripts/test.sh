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
run_ctest() {  # name
  local dir=$BUILD/$1
  say "testing $1"
  # Failures are counted from the JUnit file below, so every build is tested.
  ctest --test-dir "$dir" --output-on-failure --timeout 300 \
    --output-junit "$dir/junit.xml" "${@:2}" || true
  results+=("$dir/junit.xml")
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

# One closing line over every run.
passed=0 failed=0
for f in "${results[@]}"; do
  [[ -f $f ]] || { failed=$((failed + 1)); continue; }
  t=$(grep -o 'tests="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  fl=$(grep -o 'failures="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  sk=$(grep -o 'skipped="[0-9]*"' "$f" | head -1 | tr -dc 0-9)
  passed=$((passed + t - fl - ${sk:-0}))
  failed=$((failed + fl))
done
echo "tests: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
