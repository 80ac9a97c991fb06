#!/usr/bin/env bash
# Times the installer's zip reader against unzip and bsdtar on the same
# archive of about 100 MB (made once, then kept), best of several runs each,
# and prints the ratios. Not a test: numbers depend on the machine.
# usage: bench_extract.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../../build}")
runs=${2:-5}
reader=$build/bin/bench_zip_extract
[ -x "$reader" ] || { echo "build $reader first" >&2; exit 1; }
work=$build/installer/bench-data
archive=$work/bench.zip
out=$work/out

if [ ! -f "$archive" ]; then
  echo "making the archive in $work ..."
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  python3 "$here/make_archive.py" "$work/tree"
  (cd "$work/tree" && zip -q -r "$archive" .)
  rm -rf "$work/tree"
fi
unzip -tq "$archive" >/dev/null
echo "archive: $(du -m "$archive" | cut -f1) MB, $(unzip -Z1 "$archive" | wc -l) entries," \
  "$(unzip -Zt "$archive" | sed 's/.* \([0-9]*\) bytes uncompressed.*/\1/' | awk '{printf "%d", $1 / 1048576}') MB unpacked"

declare -A best
tools=(reader unzip bsdtar)
extract() {
  case $1 in
  reader) "$reader" "$archive" "$out" ;;
  unzip) unzip -q -o "$archive" -d "$out" ;;
  bsdtar) bsdtar -xf "$archive" -C "$out" ;;
  esac
}
# Round-robin, so that a slow moment of the machine hits every tool alike.
for run in $(seq "$runs"); do
  for tool in "${tools[@]}"; do
    rm -rf "$out"
    mkdir -p "$out"
    sync
    start=$(date +%s%N)
    extract "$tool"
    elapsed=$(($(date +%s%N) - start))
    if [ -z "${best[$tool]:-}" ] || [ "$elapsed" -lt "${best[$tool]}" ]; then best[$tool]=$elapsed; fi
  done
done
rm -rf "$out"

ms() { echo $(($1 / 1000000)); }
printf '%-8s %8s\n' tool "best ms"
for tool in "${tools[@]}"; do printf '%-8s %8s\n' "$tool" "$(ms "${best[$tool]}")"; done
awk -v r="${best[reader]}" -v u="${best[unzip]}" -v b="${best[bsdtar]}" 'BEGIN {
  printf "reader / unzip  = %.2f (target < 1)\n", r / u
  printf "reader / bsdtar = %.2f (target <= 1.2)\n", r / b
}'
