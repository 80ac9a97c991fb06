#!/usr/bin/env bash
# Worksheet figures: the wall-clock time of whole runs of the command line
# (start, generate, draw, write and sync the file), best of five with its
# CPU time, and the PDF's size. Targets: 30 mazes of 40x25 with answer keys, 2 a page, under
# 1 s and 1 MB; one 300x300 maze under 1 s.
# Usage: maze-generator/tests/bench_worksheets.sh [BUILD_DIR]
set -euo pipefail
exe="$(realpath -m "${1:-build}/bin/maze-generator")"
[ -x "$exe" ] || { echo "no $exe: build the maze-generator target first" >&2; exit 1; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

TIMEFORMAT='%3R %3U %3S'
measure() { # label, then the program's arguments
  local label=$1 best=999 cpu=0 real user sys
  shift
  for _ in 1 2 3 4 5; do
    read -r real user sys < <({ time env -u DISPLAY "$exe" "$@" >/dev/null; } 2>&1)
    if awk "BEGIN {exit !($real < $best)}"; then
      best=$real
      cpu=$(awk "BEGIN {print $user + $sys}")
    fi
  done
  local out=${*: -1}
  printf '%-48s %6.3f s (CPU %5.3f s)  %7d bytes  %s pages\n' "$label" "$best" "$cpu" \
    "$(stat -c %s "$out")" "$(pdfinfo "$out" | awk '/^Pages:/ {print $2}')"
}

cd "$dir"
measure "30 mazes 40x25, answer keys, 2 a page (A4)" \
  --size 40x25 --count 30 --per-page 2 --answer-key --seed K7QX2M --title Bench --output week.pdf
for algo in recursive prim kruskal aldous-broder wilson; do
  measure "one 300x300 maze, $algo" --size 300x300 --algorithm "$algo" --seed K7QX2M --output big.pdf
done
measure "one 300x300 maze with its answer key, wilson" \
  --size 300x300 --algorithm wilson --seed K7QX2M --answer-key --output big.pdf
