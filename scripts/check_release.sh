#!/usr/bin/env bash
# Checks the programs of a release folder (default dist/) from their file headers, since the
# 32-bit one cannot be run here: each is a Windows GUI program with ASLR and DEP, without debug
# information, within 600 KiB; the 64-bit one is a PE32+ and the 32-bit one a PE32, and the
# 32-bit one imports the same DLLs and the same functions as the 64-bit one, but for the
# functions that only one of the two ABIs has. Every failed check is named.
#
#   scripts/check_release.sh [dist folder]
set -euo pipefail
export LC_ALL=C
dist=$(realpath -m "${1:-$(dirname "$0")/../dist}")
cd "$(dirname "$0")/.."
source scripts/prerequisites.sh

require x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump
x64=$dist/BrevaneTwinova.exe
x86=$dist/BrevaneTwinova-x86.exe
[ -f "$x64" ] && [ -f "$x86" ] || fail "$dist does not hold both programs; run scripts/release.sh first."
size_limit=$((600 * 1024))

# What only one of the two programs may import, as DLL!function, since the two ABIs differ: the
# 64-bit program unwinds with the system's unwinder, while the 32-bit one carries its own unwind
# tables, registered at start (GetModuleHandleA, LoadLibraryA); the C runtime's start-up and
# locale entries have other names (the 32-bit one finds the code page through setlocale, strchr
# and atoi); and in 32-bit Windows the Ptr forms of the window long functions are macros for the
# plain ones.
only_x64_may_import=(
    kernel32.dll!RtlCaptureContext kernel32.dll!RtlLookupFunctionEntry kernel32.dll!RtlUnwindEx
    kernel32.dll!RtlVirtualUnwind kernel32.dll!__C_specific_handler
    msvcrt.dll!___lc_codepage_func msvcrt.dll!___mb_cur_max_func msvcrt.dll!__iob_func
    msvcrt.dll!_commode msvcrt.dll!_fmode msvcrt.dll!_setjmp msvcrt.dll!_wcmdln
    user32.dll!GetWindowLongPtrW user32.dll!SetWindowLongPtrW
)
only_x86_may_import=(
    kernel32.dll!GetModuleHandleA kernel32.dll!LoadLibraryA
    msvcrt.dll!__mb_cur_max msvcrt.dll!__p__commode msvcrt.dll!__p__fmode msvcrt.dll!__p__wcmdln
    msvcrt.dll!_iob msvcrt.dll!_setjmp3 msvcrt.dll!atoi msvcrt.dll!setlocale msvcrt.dll!strchr
    user32.dll!GetWindowLongW user32.dll!SetWindowLongW
)

failures=0
complain() {
    echo "$(basename "$0"): $*" >&2
    failures=$((failures + 1))
}

# The imported functions of a program's `objdump -p` output, one DLL!function a line, the DLL
# names in lower case since Windows ignores their case.
imported_functions() {
    awk '/^\tDLL Name: / { dll = tolower($3) }
         /^$/ { dll = "" }
         dll != "" && /^\t[0-9a-f]+\t +[0-9]+ / { print dll "!" $3 }' | sort -u
}

# Checks what both programs must be; $1 the program, $2 its objdump, $3 the optional header's
# magic number it must carry and $4 that format's name.
check_program() {
    local program=$1 objdump=$2 magic=$3 format=$4 headers characteristics size
    headers=$("$objdump" -p "$program") || { complain "$objdump cannot read $program"; return; }
    grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || complain "$program is not a $format file"
    grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$headers" ||
        complain "$program is not a Windows GUI program (subsystem 2)"
    characteristics=$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$headers")
    (((0x$characteristics & 0x40) != 0)) || complain "$program has no ASLR (DYNAMIC_BASE)"
    (((0x$characteristics & 0x100) != 0)) || complain "$program has no DEP (NX_COMPAT)"
    ! grep -q '\.debug' <<<"$("$objdump" -h "$program")" || complain "$program carries debug information"
    size=$(stat -c %s "$program")
    [ "$size" -le "$size_limit" ] || complain "$program has $size bytes, over 600 KiB"
    echo "$(basename "$program"): $size bytes"
}

check_program "$x64" x86_64-w64-mingw32-objdump 020b PE32+
check_program "$x86" i686-w64-mingw32-objdump 010b PE32

# A file objdump cannot read was named above, and has no imports here.
x64_imports=$(x86_64-w64-mingw32-objdump -p "$x64" 2>/dev/null | imported_functions) || true
x86_imports=$(i686-w64-mingw32-objdump -p "$x86" 2>/dev/null | imported_functions) || true
dlls_of() { sed 's/!.*//' | sort -u; }
# What one program imports, the other does not, and its list does not allow.
only_in() { comm -23 <(echo "$1") <(printf '%s\n' "${@:3}" | sort) | comm -23 - <(echo "$2"); }
if [ -z "$x64_imports" ] || [ -z "$x86_imports" ]; then
    complain "no imported functions found to compare"
else
    [ "$(dlls_of <<<"$x64_imports")" = "$(dlls_of <<<"$x86_imports")" ] ||
        complain "the two programs import different DLLs:" \
            "$(diff <(dlls_of <<<"$x64_imports") <(dlls_of <<<"$x86_imports") | grep '^[<>]' | tr '\n' ' ')"
    unexpected=$(only_in "$x64_imports" "$x86_imports" "${only_x64_may_import[@]}")
    [ -z "$unexpected" ] || complain "only the 64-bit program imports ${unexpected//$'\n'/ }"
    unexpected=$(only_in "$x86_imports" "$x64_imports" "${only_x86_may_import[@]}")
    [ -z "$unexpected" ] || complain "only the 32-bit program imports ${unexpected//$'\n'/ }"
fi

[ "$failures" -eq 0 ] || exit 1
echo "Both programs are GUI programs with ASLR and DEP, without debug information and within 600 KiB, importing the same functions but for the ABIs' differences."
