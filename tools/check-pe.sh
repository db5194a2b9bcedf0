#!/usr/bin/env bash
# Checks that the shipped program is a 32-bit GUI executable that imports
# Windows system DLLs only (the C and C++ runtimes are linked in).
set -euo pipefail
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "check-pe: $exe: $*" >&2; exit 1; }
grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE32 (pei-i386) image"
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$dump" || fail "not the GUI subsystem (2)"
allowed='^(kernel32|user32|gdi32|comctl32|shell32|ole32|oleaut32|advapi32|msvcrt|version|comdlg32|shlwapi|uxtheme|imm32|api-ms-win-[a-z0-9-]+)\.dll$'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z')
for d in $dlls; do
    grep -Eq "$allowed" <<<"$d" || fail "imports a non-system DLL: $d"
done
echo "check-pe: $exe: pei-i386, GUI subsystem, imports: $(echo $dlls)"
