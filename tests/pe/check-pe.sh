#!/bin/sh
# Usage: check-pe.sh OBJDUMP EXE BITS
#
# Checks the hardening flags and the import list of the built exe:
# - ASLR and DEP: DllCharacteristics has DYNAMIC_BASE (0x40) and NX_COMPAT
#   (0x100), and for 64 bits HIGH_ENTROPY_VA (0x20); a .reloc section is
#   there, without which the image cannot be moved;
# - LARGE_ADDRESS_AWARE (0x20) in Characteristics, so the 32-bit program
#   can report available memory up to 4 GB;
# - the Windows GUI subsystem;
# - static imports only from system DLLs that the loader never takes from
#   the program's folder (KnownDLLs, and COMCTL32, which the manifest binds
#   to the side-by-side store). winmm.dll, version.dll and wevtapi.dll are
#   not KnownDLLs: they are loaded at run time from System32 and must not be
#   imported.
set -eu

if [ $# -ne 3 ]; then
    echo "usage: $0 OBJDUMP EXE BITS" >&2
    exit 2
fi
objdump=$1 exe=$2 bits=$3
allowed="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll"

headers=$("$objdump" -p "$exe")
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
field() {  # the hexadecimal value of the first header line starting with $1
    printf '%s\n' "$headers" | awk -v name="$1" '$1 == name { print $2; exit }'
}
has_bit() {  # hex value, bit
    [ $((0x${1#0x} & $2)) -ne 0 ]
}

characteristics=$(field Characteristics)
dll=$(field DllCharacteristics)
subsystem=$(field Subsystem)
[ -n "$characteristics" ] && [ -n "$dll" ] && [ -n "$subsystem" ] ||
    { echo "FAIL: cannot read the PE headers of $exe"; exit 1; }

has_bit "$dll" 0x40 || fail "DllCharacteristics $dll lacks DYNAMIC_BASE (0x40)"
has_bit "$dll" 0x100 || fail "DllCharacteristics $dll lacks NX_COMPAT (0x100)"
if [ "$bits" = 64 ]; then
    has_bit "$dll" 0x20 || fail "DllCharacteristics $dll lacks HIGH_ENTROPY_VA (0x20)"
fi
has_bit "$characteristics" 0x20 ||
    fail "Characteristics $characteristics lacks LARGE_ADDRESS_AWARE (0x20)"
[ $((0x$subsystem)) -eq 2 ] || fail "subsystem $subsystem is not Windows GUI (2)"
"$objdump" -h "$exe" | awk '$2 == ".reloc" && $3 !~ /^0+$/ { found = 1 } END { exit !found }' ||
    fail "no .reloc section: the image cannot be relocated"

imports=$(printf '%s\n' "$headers" | awk '$1 == "DLL" && $2 == "Name:" { print tolower($3) }')
[ -n "$imports" ] || fail "no import list found"
for name in $imports; do
    case " $allowed " in
        *" $name "*) ;;
        *) fail "imports $name, which is not on the list of system DLLs" ;;
    esac
done

echo "$exe: Characteristics $characteristics, DllCharacteristics $dll, subsystem $subsystem"
echo "imports: $(echo $imports)"
[ "$failures" -eq 0 ]
