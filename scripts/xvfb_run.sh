#!/usr/bin/env bash
# xvfb-run, with a server that never resets. Xvfb resets when its last
# client leaves, and a program that connects during the reset is turned
# away ("Can't open display"). Between short-lived clients (xdotool, a game
# its test starts again) that happens now and then on a loaded machine:
# about 20 of 600 xdotool runs in four loops beside four busy loops, none
# with -noreset.
# Takes xvfb-run's -a, -n NUM and -s ARGS (default: its own screen).
set -euo pipefail
args=()
server="-screen 0 1280x1024x24"
while [ $# -gt 0 ]; do
  case $1 in
    -a) args+=("$1"); shift ;;
    -n) args+=("$1" "$2"); shift 2 ;;
    -s) server=$2; shift 2 ;;
    -*) echo "xvfb_run.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
exec xvfb-run "${args[@]}" -s "-noreset $server" "$@"
