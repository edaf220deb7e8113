#!/usr/bin/env bash
# Measures Tessaril under Wine against floors taken in the same run (the
# driver is bench/bench_driver.cpp) and prints one line per figure, and a
# line for each run that counts the log's and the event list's lines (it
# exits with 1 if one was lost). About eight minutes on two cores: two for
# the idle figure, two for each of the 20,000 broadcasts of the growth
# figures, parked and shown. Not part of the tests. An argument (start,
# bursts or growth) measures only that figure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_deps
mkdir -p "$BUILD"
prepare_prefix
start_wineserver
trap 'stop_wineserver; stop_display' EXIT

# Build folders of their own, without the tests: the figures need only the
# exes, and the test builds keep their settings.
build() {  # name, toolchain
  say "building $1 with the benchmark programs"
  configure_and_build "bench-$1" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$2-w64-mingw32.cmake" \
    -DTESSARIL_TESTS=OFF -DTESSARIL_BENCH=ON -DCMAKE_BUILD_TYPE=MinSizeRel \
    >"$BUILD/bench-$1.build.log" 2>&1 || { cat "$BUILD/bench-$1.build.log"; return 1; }
}
build win32 i686
build win64 x86_64
ensure_display

echo "date:    $(date '+%Y-%m-%d %H:%M %Z')"
echo "machine: $(nproc) CPUs, $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(/usr/lib/wine/wine64 --version)"
say "measuring (about six minutes)"
"$ROOT/tools/wine64-run.sh" "$BUILD/bench-win64/bench/tessaril_bench.exe" \
  "$BUILD/bench-win64/Tessaril.exe" "$BUILD/bench-win64/bench/tessaril_bench_floor.exe" \
  "$BUILD/bench-win32/Tessaril.exe" "$BUILD/bench-win32/bench/tessaril_bench_floor.exe" "$@"
