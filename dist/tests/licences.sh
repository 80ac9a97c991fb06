# Licence checks shared by the install, .deb and release archive tests.
# Each function prints what is missing and returns non-zero.

# A machine-readable copyright file: the project's own files under MIT with
# the licence's full text, and the shipped font's paragraph with its licence
# in full.
check_copyright() { # FILE SOURCE_DIR
  local file=$1 src=$2 bad=0
  grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$file" ||
    { echo "$file: not in the machine-readable format"; bad=1; }
  local paragraphs
  paragraphs=$(awk '/^Files:/ { f = $2; next } /^License:/ && f != "" { print f, $2; f = "" }' "$file")
  grep -qx '\* MIT' <<<"$paragraphs" || { echo "$file: Files: * is not License: MIT"; bad=1; }
  grep -q 'fonts/SourceCodePro-Bold.ttf bitstream-vera$' <<<"$paragraphs" ||
    { echo "$file: no bitstream-vera paragraph for the bold font"; bad=1; }
  # The MIT text as in LICENSE, from its permission notice on.
  local text
  text=$(awk '/^License: MIT$/ && blank { on = 1; next } /^$/ { blank = 1; on = 0; next }
               { blank = 0 } on' "$file" | sed 's/^ //;s/^\.$//')
  [ "$text" = "$(sed -n '/^Permission is hereby granted/,$p' "$src/LICENSE")" ] ||
    { echo "$file: the MIT text differs from LICENSE"; bad=1; }
  grep -q '^License: bitstream-vera$' "$file" && grep -q 'renamed to names not containing' "$file" ||
    { echo "$file: no full Bitstream Vera licence text"; bad=1; }
  return $bad
}

# The named fonts' licence files (LICENSE-<name>.txt) in FOLDER, the same as
# Debian's copyright files for those fonts.
check_font_licences() { # FOLDER NAME...
  local folder=$1 bad=0 name
  shift
  for name in "$@"; do
    case $name in
      DejaVu) debian=/usr/share/doc/fonts-dejavu-core/copyright ;;
      Noto) debian=/usr/share/doc/fonts-noto-mono/copyright ;;
    esac
    cmp -s "$folder/LICENSE-$name.txt" "$debian" ||
      { echo "$folder: LICENSE-$name.txt missing or changed"; bad=1; }
  done
  return $bad
}
