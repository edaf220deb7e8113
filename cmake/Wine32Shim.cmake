# Builds tools/wine32/shim.c with the host's gcc -m32 (not the MinGW
# compiler): it is a Linux .so preloaded into the i386 Wine loader that
# wine32-run.sh starts under qemu-i386. No 32-bit libc is needed.
#
# Usage in an i686 build whose emulator is wine32-run.sh:
#   include(Wine32Shim)
#   tessaril_build_wine32_shim(shim)
#   set(CMAKE_CROSSCOMPILING_EMULATOR env TESSARIL_WINE32_SHIM=${shim}
#       ${CMAKE_CROSSCOMPILING_EMULATOR})        # before the test targets
#   add_dependencies(my_tests tessaril_wine32_shim)  # discovery runs the exe

set(_tessaril_wine32_dir "${CMAKE_CURRENT_LIST_DIR}/../tools/wine32")

function(tessaril_build_wine32_shim OUT_VAR)
  # CMAKE_FIND_ROOT_PATH_MODE_PROGRAM is NEVER in the toolchains, so this
  # finds the host compiler.
  find_program(TESSARIL_HOST_CC NAMES gcc cc REQUIRED)
  get_filename_component(src "${_tessaril_wine32_dir}/shim.c" ABSOLUTE)
  set(out "${CMAKE_BINARY_DIR}/wine32-qemu-shim.so")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND "${TESSARIL_HOST_CC}" -m32 -shared -nostdlib -fPIC -O2
            -Wall -Wextra -Werror -o "${out}" "${src}"
    DEPENDS "${src}"
    COMMENT "Building wine32-qemu-shim.so (host gcc -m32)"
    VERBATIM)
  if(NOT TARGET tessaril_wine32_shim)
    add_custom_target(tessaril_wine32_shim ALL DEPENDS "${out}")
  endif()
  set(${OUT_VAR} "${out}" PARENT_SCOPE)
endfunction()
