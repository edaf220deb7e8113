# Shared by the project's scripts: dependencies, the virtual display, the
# Wine prefix and the three builds. Source it; don't run it.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TESSARIL_BUILD:-$ROOT/build}

say() { printf '==> %s\n' "$*"; }

# Installs what is missing, from Debian's packages. Each entry is
# "command-or-path package".
ensure_deps() {
  local need=() item check pkg
  local wanted=(
    "cmake cmake"
    "make make"
    "g++ g++"
    "/usr/src/googletest/CMakeLists.txt googletest"
    "x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix"
    "i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix"
    "/usr/lib/wine/wine64 wine64"
    "/usr/lib/wine/wine wine32:i386"
    "/usr/lib/i386-linux-gnu/wine/i386-windows/user32.dll wine32:i386"
    "qemu-i386 qemu-user"
    "Xvfb xvfb"
    "xdotool xdotool"
    "xwd x11-apps"
    "/usr/bin/convert imagemagick"
    "locale-gen locales"
    "zip zip"
    "unzip unzip"
    "clang clang"
    "/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev"
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf fonts-ipafont-gothic"
  )
  for item in "${wanted[@]}"; do
    check=${item%% *}
    pkg=${item#* }
    if [[ $check == /* ]]; then [[ -e $check ]] && continue
    else command -v "$check" >/dev/null 2>&1 && continue
    fi
    need+=("$pkg")
  done
  if ((${#need[@]})); then
    say "installing: ${need[*]}"
    if [[ " ${need[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      $(printf '%s\n' "${need[@]}" | sort -u) >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    say "generating the ja_JP.UTF-8 locale"
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# Starts Xvfb on a free display unless DISPLAY is usable already.
XVFB_PID=
ensure_display() {
  if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then return; fi
  if [[ -n ${DISPLAY:-} ]] && [[ -S /tmp/.X11-unix/X${DISPLAY#:} ]]; then return; fi
  local n=90
  while [[ -e /tmp/.X$n-lock || -S /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  say "no X display: starting a virtual one (Xvfb :$n)"
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [[ -S /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
  export DISPLAY=":$n"
}

stop_display() {
  if [[ -n $XVFB_PID ]]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

# One prefix for both Windows builds; 32-bit programs run in it via qemu.
prepare_prefix() {
  export WINEPREFIX=$BUILD/wineprefix
  export WINEPREFIX32=$WINEPREFIX
  "$ROOT/tools/wine32/prepare-prefix.sh" "$WINEPREFIX"
}

configure_and_build() {  # name, then extra cmake arguments
  local name=$1
  shift
  cmake -S "$ROOT" -B "$BUILD/$name" "$@" >"$BUILD/$name.configure.log" 2>&1 ||
    { cat "$BUILD/$name.configure.log"; return 1; }
  cmake --build "$BUILD/$name" -j2
}

build_native() { configure_and_build native -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"; }
# The native tests under AddressSanitizer and UBSan; unoptimised, which
# builds a third faster and tests as fast.
build_native_asan() {
  configure_and_build native-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARIL_SANITIZE=ON "$@"
}
# The libFuzzer targets; clang only, no unit tests.
build_fuzz() {
  configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DTESSARIL_FUZZ=ON -DTESSARIL_TESTS=OFF "$@"
}
toolchain_of() {  # win32 or win64
  case $1 in
    win32) echo "$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" ;;
    win64) echo "$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" ;;
  esac
}
build_win32() { configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of win32)" "$@"; }
build_win64() { configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of win64)" "$@"; }

# A persistent wineserver, so builds (test discovery runs the test exes) and
# tests don't pay a cold start per process.
start_wineserver() {
  /usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1 || true
  "$ROOT/tools/wine64-run.sh" wineboot </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() { /usr/lib/wine/wineserver64 -k 2>/dev/null || true; }
