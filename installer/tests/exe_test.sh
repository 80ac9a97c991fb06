#!/usr/bin/env bash
# Checks what Windows sees of the two .exe files before they ever run:
# 64-bit console programs that need only system DLLs; installer.exe carries
# its icon and exactly its version record, installer-shell.exe no resources.
# usage: exe_test.sh BIN_DIR
set -euo pipefail
bin=$1
objdump=x86_64-w64-mingw32-objdump
windres=x86_64-w64-mingw32-windres
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

system_dlls='^(kernel32|msvcrt|user32|shell32|urlmon|ole32|oleaut32)\.dll$'
# Outputs are captured before grep -q reads them: with pipefail, a grep that
# stops early would fail the pipeline through the writer's SIGPIPE.
declare -A imports
for exe in installer.exe installer-shell.exe; do
  headers=$($objdump -p "$bin/$exe")
  grep -q 'file format pei-x86-64' <<<"$headers" || fail "$exe is not a 64-bit PE image"
  grep -q 'Subsystem.*(Windows CUI)' <<<"$headers" || fail "$exe is not a console program"
  dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
  imports[$exe]=$dlls
  [ -n "$dlls" ] || fail "$exe imports nothing?"
  while read -r dll; do
    grep -Eq "$system_dlls" <<<"$dll" || fail "$exe needs $dll"
  done <<<"$dlls"
done
grep -qx urlmon.dll <<<"${imports[installer.exe]}" ||
  fail "installer.exe does not download through urlmon"
# zlib's inflate carries its copyright string into every program it is linked into.
grep -aq 'inflate [0-9]' "$bin/installer.exe" || fail "installer.exe has no inflate"
if grep -aq 'inflate [0-9]' "$bin/installer-shell.exe"; then
  fail "installer-shell.exe carries zlib"
fi
grep -qx ole32.dll <<<"${imports[installer-shell.exe]}" ||
  fail "installer-shell.exe does not use the Shell's objects"

resources=$($windres -i "$bin/installer.exe" -J coff -O rc | grep -v '^  0x')
grep -q '^1 14 /\* RT_GROUP_ICON \*/' <<<"$resources" || fail "installer.exe has no icon"
grep -q 'Has 4 elements' <<<"$resources" || fail "icon does not hold 4 sizes"
expected='1 VERSIONINFO
 FILEVERSION 1, 0, 0, 0
 PRODUCTVERSION 1, 0, 0, 0
 FILEFLAGSMASK 0x3f
 FILEOS 0x40004
 FILETYPE 0x1
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904B0"
    BEGIN
      VALUE "FileDescription", "Drevix Raycaster Installer"
      VALUE "InternalName", "installer"
      VALUE "LegalCopyright", "Copyright (c) 2026 The Drevix Raycaster developers. MIT License."
      VALUE "OriginalFilename", "Drevix Raycaster Setup.exe"
      VALUE "ProductName", "Drevix Raycaster"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1200
  END
END'
version=$(sed -n '/^1 VERSIONINFO/,/^END/p' <<<"$resources")
[ "$version" = "$expected" ] || fail "version record differs:
$version"

if $windres -i "$bin/installer-shell.exe" -J coff -O rc >/dev/null 2>&1; then
  fail "installer-shell.exe has resources"
fi

[ "$failures" -eq 0 ] && echo "both programs look right"
exit "$failures"
