#!/usr/bin/env bash
# The portable build answers every GL call through gl_runtime.cpp's table;
# a call missing there only fails when that build links, in a Debian 11 root.
# Here the ordinary game's own GL imports are held against the table.
# Usage: gl_calls_listed.sh GAME GL_RUNTIME_CPP
set -euo pipefail
used=$(nm -D --undefined-only "$1" | awk '{ print $2 }' | grep -E '^gl[A-Z]' | sort -u)
listed=$(grep -oE 'X\([A-Za-z]+, gl[A-Za-z0-9]+' "$2" | sed 's/.*, //' | sort -u)
[ -n "$used" ] || { echo "no GL imports found in $1" >&2; exit 1; }
missing=$(comm -23 <(echo "$used") <(echo "$listed"))
if [ -n "$missing" ]; then
  echo "GL calls missing from $2:" $missing >&2
  exit 1
fi
echo "gl_calls_listed: $(echo "$used" | wc -l) GL calls, all in the table"
