# The -posix compilers: the default win32 thread model has no std::mutex,
# which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# 32-bit Wine runs under qemu-i386 here; see tools/wine32/wine32-run.sh.
get_filename_component(_tessaril_emulator "${CMAKE_CURRENT_LIST_DIR}/../tools/wine32/wine32-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tessaril_emulator}")
