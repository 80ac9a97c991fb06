#!/usr/bin/env bash
# What Windows sees of the game before it runs: a 64-bit window program that
# imports only DLLs every Windows has, with the game's icon and its version
# record. Prints the size of the executable.
# usage: exe_test.sh RAYCASTER_EXE
set -euo pipefail
exe=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

system_dlls='^(kernel32|msvcrt|user32|gdi32|opengl32|winmm|imm32|ole32|oleaut32|version|setupapi|shell32|advapi32|dinput8|cfgmgr32)\.dll$'
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-x86-64' <<<"$headers" || fail "not a 64-bit PE image"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a window (GUI) program"
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
grep -qx opengl32.dll <<<"$dlls" || fail "does not draw through opengl32"
while read -r dll; do
  grep -Eq "$system_dlls" <<<"$dll" || fail "needs $dll, which Windows does not have"
done <<<"$dlls"

resources=$(x86_64-w64-mingw32-windres -i "$exe" -J coff -O rc | grep -v '^  0x')
grep -q '^1 14 /\* RT_GROUP_ICON \*/' <<<"$resources" || fail "no icon"
version=$(sed -n '/^1 VERSIONINFO/,/^END/p' <<<"$resources")
for value in '"FileDescription", "Drevix Raycaster"' '"InternalName", "raycaster"' \
  '"OriginalFilename", "raycaster.exe"' '"ProductName", "Drevix Raycaster"'; do
  grep -qF "VALUE $value" <<<"$version" || fail "version record lacks $value"
done

echo "raycaster.exe: $(stat -c %s "$exe") bytes; imports: $(tr '\n' ' ' <<<"$dlls")"
exit "$failures"
