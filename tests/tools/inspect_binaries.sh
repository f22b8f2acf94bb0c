#!/usr/bin/env bash
# Inspects the Windows binaries without running them: kem3.dll exports exactly
# the expected plain names at their ordinals, ov3.exe is a GUI program,
# neither needs a DLL that Windows does not ship, and neither carries debug
# sections: those lie in NAME.debug beside each, named by its debug link.
# Usage: inspect_binaries.sh OBJDUMP KEM3_DLL OV3_EXE POINTER_SIZE
set -euo pipefail
objdump=$1 dll=$2 exe=$3 ptr=$4
here=$(cd "$(dirname "$0")" && pwd)
fail=0
complain() { echo "FAIL: $*"; fail=1; }

dll_dump=$("$objdump" -p "$dll")
# Names are listed as "\t[   2] hlGetTitle", the index counting from the ordinal base.
actual=$(awk '/^Ordinal Base/ {base=$3}
              /\[Ordinal\/Name Pointer\] Table/ {on=1; next}
              on && /^\t\[/ { idx=$0; sub(/^\t\[ */, "", idx); sub(/\].*/, "", idx); print idx+base, $NF; next }
              on { on=0 }' <<<"$dll_dump" | sort -n)
expected=$(grep -v '^#' "$here/kem3_exports.txt" | sort -n)
if [[ "$actual" != "$expected" ]]; then
  complain "kem3.dll exports differ"
  diff <(echo "$expected") <(echo "$actual") || true
fi
if grep -q '@' <<<"$actual"; then complain "decorated export names in kem3.dll"; fi

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|msvcrt|msimg32|version|winmm|shlwapi|ws2_32|mpr|netapi32|uxtheme|imm32|winspool\.drv)(\.dll)?$'
for bin in "$dll" "$exe"; do
  while read -r name; do
    lower=${name,,}
    [[ $lower =~ $allowed ]] || complain "$(basename "$bin") imports $name"
  done < <("$objdump" -p "$bin" | awk '/DLL Name:/ {print $3}')
done

# Whole dumps are captured first: grep -q ending a pipe early would fail it under pipefail.
exe_dump=$("$objdump" -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$exe_dump" || complain "ov3.exe is not a GUI program"
if [[ $ptr == 4 ]]; then want=pei-i386; else want=pei-x86-64; fi
for bin in "$dll" "$exe"; do
  header=$("$objdump" -f "$bin")
  grep -q "file format $want" <<<"$header" || complain "$(basename "$bin") is not $want"
done
headers=$("$objdump" -h "$exe")
grep -q '\.rsrc' <<<"$headers" || complain "ov3.exe has no resources"

for bin in "$dll" "$exe"; do
  sections=$("$objdump" -h "$bin")
  if grep -q ' \.debug_' <<<"$sections"; then complain "$(basename "$bin") carries debug sections"; fi
  grep -q ' \.gnu_debuglink' <<<"$sections" || complain "$(basename "$bin") has no debug link"
  kept=$("$objdump" -h "$bin.debug" 2>/dev/null || true)
  grep -q ' \.debug_info' <<<"$kept" || complain "$(basename "$bin").debug holds no debug data"
done

if [[ $fail == 0 ]]; then echo "binaries inspected: ok"; fi
exit $fail
