#!/usr/bin/env bash
# What Windows sees of the game before it runs: a 64-bit window program that
# imports only DLLs every Windows has, with the game's icon and its version
# record, the fonts' licences, and the small font inside it drawing every combining mark of the
# presence's names. Prints the size of the executable.
# usage: exe_test.sh RAYCASTER_EXE SMALL_FONT
set -euo pipefail
exe=$1
font=$2
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
  '"OriginalFilename", "raycaster.exe"' '"ProductName", "Drevix Raycaster"' \
  '"LegalCopyright", "Copyright (c) 2026 The Drevix Raycaster developers. MIT License; fonts under their own licences."'; do
  grep -qF "VALUE $value" <<<"$version" || fail "version record lacks $value"
done

# The game's copy of its small font is carried byte for byte, and the font's
# own character map covers U+0300..U+036F.
grep -q '^"FONTS_NOTOSANSMONO_REGULAR_TTF" RCDATA' <<<"$resources" || fail "no small font inside"
for licence in FONTS_LICENSE_DEJAVU_TXT FONTS_LICENSE_NOTO_TXT; do
  grep -q "^\"$licence\" RCDATA" <<<"$resources" || fail "the fonts' licence $licence is not inside"
done
/usr/bin/python3 - "$exe" "$font" <<'PY' || fail "the small font inside does not draw every mark"
import sys
from fontTools.ttLib import TTFont
exe, font = (open(p, "rb").read() for p in sys.argv[1:3])
if font not in exe:
    sys.exit("the font's bytes are not in the program")
cmap = TTFont(sys.argv[2]).getBestCmap()
missing = [hex(cp) for cp in range(0x300, 0x370) if cp not in cmap]
if missing:
    sys.exit("no glyph for " + " ".join(missing))
PY

echo "raycaster.exe: $(stat -c %s "$exe") bytes; imports: $(tr '\n' ' ' <<<"$dlls")"
exit "$failures"
