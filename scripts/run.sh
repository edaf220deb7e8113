#!/usr/bin/env bash
# Builds Tessaril and starts it under Wine. --win32 starts the 32-bit exe
# (the one users get) through qemu-i386; the default is the 64-bit build.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=win64
for arg in "$@"; do
  case $arg in
    --win32) arch=win32 ;;
    --win64) arch=win64 ;;
    *) echo "usage: $0 [--win32|--win64]" >&2; exit 2 ;;
  esac
done

ensure_deps
mkdir -p "$BUILD"
prepare_prefix
start_wineserver
trap 'stop_wineserver; stop_display' EXIT
say "building $arch"
# A folder of its own: the test builds keep their settings, so a run between
# two test runs costs the next one nothing.
configure_and_build "run-$arch" -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of $arch)" -DTESSARIL_TESTS=OFF
ensure_display
exe=$BUILD/run-$arch/Tessaril.exe
say "starting $exe on display $DISPLAY (close it from its menu or window to end)"
if [[ $arch == win32 ]]; then
  TESSARIL_WINE32_SHIM=$BUILD/run-$arch/wine32-qemu-shim.so "$ROOT/tools/wine32/wine32-run.sh" "$exe"
else
  "$ROOT/tools/wine64-run.sh" "$exe"
fi
