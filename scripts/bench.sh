#!/usr/bin/env bash
# Measures Tessaril under Wine against floors taken in the same run (the
# driver is bench/bench_driver.cpp) and prints one line per figure. About
# three minutes, two of them the idle measurement. Not part of the tests.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_deps
mkdir -p "$BUILD"
prepare_prefix
start_wineserver
trap 'stop_wineserver; stop_display' EXIT

# Build folders of their own, without the tests: the figures need only the
# exes, and the test builds keep their settings.
bench_options=(-DTESSARIL_TESTS=OFF -DTESSARIL_BENCH=ON -DCMAKE_BUILD_TYPE=MinSizeRel)
say "building win32 with the benchmark programs"
configure_and_build bench-win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
  "${bench_options[@]}"
say "building win64 with the benchmark programs"
configure_and_build bench-win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" \
  "${bench_options[@]}"
ensure_display

echo "date:    $(date '+%Y-%m-%d %H:%M %Z')"
echo "machine: $(nproc) CPUs, $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(/usr/lib/wine/wine64 --version)"
say "measuring (the idle figure takes two minutes)"
"$ROOT/tools/wine64-run.sh" "$BUILD/bench-win64/bench/tessaril_bench.exe" \
  "$BUILD/bench-win64/Tessaril.exe" "$BUILD/bench-win64/bench/tessaril_bench_floor.exe" \
  "$BUILD/bench-win32/Tessaril.exe" "$BUILD/bench-win32/bench/tessaril_bench_floor.exe"
