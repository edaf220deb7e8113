#!/usr/bin/env bash
# Builds the 32-bit exe in release form (stripped, version resource filled)
# in a build folder of its own and writes Tessaril-<version>-win32.zip with
# the exe, the Japanese README.txt and the licence into the build folder.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_deps
mkdir -p "$BUILD"
say "building the 32-bit release exe"
configure_and_build release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DTESSARIL_TESTS=OFF
say "packaging"
name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/release/CPackConfig.cmake")
cpack -G ZIP --config "$BUILD/release/CPackConfig.cmake" -B "$BUILD" >"$BUILD/package.log" 2>&1 ||
  { cat "$BUILD/package.log"; exit 1; }
rm -rf "$BUILD/_CPack_Packages"
zip=$BUILD/$name.zip
unzip -l "$zip"
say "written: $zip"
