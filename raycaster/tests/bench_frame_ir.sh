#!/usr/bin/env bash
# Frame cost in instructions, for a busy machine where wall time is noise:
# each view is drawn under valgrind's callgrind with llvmpipe on one thread,
# one frame to compile GL's shaders, then 4 frames whose instructions alone
# are counted. Slow: a few minutes per view.
# usage: bench_frame_ir.sh BUILD_DIR [VIEW[:--flood|:--flood-uncached]...]
# (views of frame_views.h; with a flood, eight presence lines on screen and
# a new one on 60 % of frames)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
shift
[ $# -gt 0 ] || set -- "wall ahead, lit, off" "wall ahead, lit, on" \
  "wall ahead, dark, off" "wall ahead, dark, on" \
  "long corridor" "long corridor:--flood" "long corridor:--flood-uncached"
count() { # view[:flag] frames -> instructions
  local view=${1%%:*} flag=
  [ "$view" = "$1" ] || flag=${1#*:}
  LP_NUM_THREADS=0 "$here/../../scripts/xvfb_run.sh" -a -s "-screen 0 1920x1200x24" valgrind --tool=callgrind \
    --toggle-collect='*counted_frames*' --callgrind-out-file=/dev/null \
    "$build/bin/bench_frame" --frames "$view" "$2" $flag 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' | sort -n | tail -1
}
for view in "$@"; do
  echo "$view: $(($(count "$view" 4) / 4)) instructions per 960x600 frame"
done
