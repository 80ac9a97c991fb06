#!/usr/bin/env bash
# Runs both installer builds under wine as a user would: a loopback web
# server serves the release archive (the repository with the Windows game at
# build/raycaster.exe), each installer is built to download from it, and
# each run's message box is read (its text from wine's trace, its icon from
# a screenshot), dismissed with Return, and the exit code and files checked.
# The game the installer put on the Desktop is then started and played.
# Everything lives in a private folder below PARENT, wine prefix included,
# so parallel or repeated runs never share state.
# usage: wine_test.sh BUILD_VARIANT_SCRIPT PARENT RELEASE_ARCHIVE WINDOWS_GAME
set -euo pipefail
variant_script=$1
parent=$2
release_archive=$3
built_game=$4
here=$(cd "$(dirname "$0")" && pwd)

# A display of its own; a random start keeps clear of other tests' servers.
if [ -z "${DREVIX_WINE_DISPLAY:-}" ]; then
  export DREVIX_WINE_DISPLAY=1
  exec "$here/../../scripts/xvfb_run.sh" -a -n $((200 + RANDOM % 700)) -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

mkdir -p "$parent"
# Left behind only by a run that was killed; no run lasts an hour.
find "$parent" -mindepth 1 -maxdepth 1 -name 'run.*' -mmin +60 -exec rm -rf {} + || true
work=$(mktemp -d "$parent/run.XXXXXX")
WINE_ROOT=$work/wine
# Set before anything can fail, so that clean-up stops this prefix's wine
# server and no other.
. "$here/wine_env.sh"
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
bash "$here/wine_prefix.sh" "$WINE_ROOT" >"$work/prefix.log" 2>&1 || {
  cat "$work/prefix.log" >&2
  exit 1
}
echo "wine prefix made in $((SECONDS - started)) s"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

user_folder=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 ! -name Public -print -quit)
temp=$user_folder/Temp
desktop=$user_folder/Desktop

url_path=drevix/Drevix-Q-/archive/refs/heads/main.zip
served=$work/www/$url_path
mkdir -p "$(dirname "$served")"

serve_release() {
  cp "$release_archive" "$served"
  game=$built_game
}

# serve_repository TOP_FOLDER: the archive of a fresh repository under that folder name.
serve_repository() {
  local repo=$work/repo-$1
  mkdir -p "$repo/build"
  head -c 262144 /dev/urandom >"$repo/build/raycaster.exe"
  echo "Drevix Raycaster" >"$repo/README.md"
  git -C "$repo" -c init.defaultBranch=main init -q
  git -C "$repo" add -A
  git -C "$repo" -c user.name=Drevix -c user.email=build@drevix.example -c commit.gpgsign=false \
    commit -q -m snapshot
  git -C "$repo" archive --format=zip --prefix="$1/" -o "$served" HEAD
  game=$repo/build/raycaster.exe
}

start_server() {
  python3 -u -m http.server --bind 127.0.0.1 --directory "$work/www" 0 >"$work/server.log" 2>&1 &
  server_pid=$!
  port=
  for _ in $(seq 600); do
    port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$work/server.log")
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "web server did not start" >&2
  cat "$work/server.log" >&2
  exit 1
}

# pixels_where EXPRESSION: how many pixels of the box's screenshot match.
pixels_where() {
  convert "$work/box.png" -fx "$1" -format '%[fx:round(mean*w*h)]' info:
}

# run_installer PROGRAM TEXT EXIT_CODE ICON: one run, one box with that
# text and icon (error: red, information: blue), then that exit code.
run_installer() {
  local program=$1 text=$2 expected_code=$3 icon=$4 wid= code=0
  WINEDEBUG=-all,+msgbox wine "$work/$program.exe" >"$work/out.log" 2>"$work/trace.log" &
  local pid=$!
  for _ in $(seq 600); do
    wid=$(xdotool search --name '^Drevix Raycaster$' 2>/dev/null | head -n1) || true
    [ -n "$wid" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$wid" ]; then
    fail "no message box (expected \"$text\")"
    cat "$work/trace.log" >&2
    wait "$pid" || true
    return
  fi

  # The box may be mapped before it is painted: wait for its icon.
  local wanted=0 other=0
  for _ in $(seq 50); do
    import -window "$wid" "$work/box.png" 2>/dev/null || true
    if [ -s "$work/box.png" ]; then
      if [ "$icon" = error ]; then
        wanted=$(pixels_where 'r-b>0.3'); other=$(pixels_where 'b-r>0.3')
      else
        wanted=$(pixels_where 'b-r>0.3'); other=$(pixels_where 'r-b>0.3')
      fi
      [ "$wanted" -gt 100 ] || [ "$other" -gt 100 ] && break
    fi
    sleep 0.1
  done
  [ "$wanted" -gt 100 ] && [ "$other" -lt 10 ] ||
    fail "box for \"$text\" shows no $icon icon ($wanted pixels, $other of the other colour)"

  xdotool windowfocus --sync "$wid" key Return
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "still running after its box was dismissed (a second box?)"
    kill "$pid" || true
  fi
  wait "$pid" || code=$?

  local shown
  shown=$(sed -n 's/.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"\r\{0,1\}$/\1/p' "$work/trace.log")
  [ "$shown" = "$text" ] || fail "message was \"$shown\", expected \"$text\""
  [ "$code" -eq "$expected_code" ] || fail "exit code $code after \"$text\", expected $expected_code"
}

start_server
url=http://127.0.0.1:$port/$url_path
bash "$variant_script" installer "$work/installer.exe" "$url"
bash "$variant_script" installer-shell "$work/installer-shell.exe" "$url"
runs_started=$SECONDS

# A run that finds an older copy on the Desktop replaces it.
serve_release
echo "older build" >"$desktop/Drevix Raycaster.exe"
run_installer installer "Drevix Raycaster is ready! Check your Desktop." 0 information
cmp -s "$game" "$desktop/Drevix Raycaster.exe" || fail "Desktop copy is not the built game"
[ ! -e "$temp/drevix_repo.zip" ] || fail "archive left in the temporary folder"
[ ! -e "$temp/drevix_extract" ] || fail "extraction folder left in the temporary folder"

# The player starts it from the Desktop, where no asset folder is near.
played=$SECONDS
(
  set +e
  . "$here/../../raycaster/tests/e2e/drive.sh"
  . "$here/../../raycaster/tests/windows/wine_game.sh"
  play_windows_game "$desktop/Drevix Raycaster.exe" "$work/shots"
) || fail "the installed game did not play"
echo "installed game played in $((SECONDS - played)) s"

# wine has no zip folders, so the Shell cannot open the archive.
rm -f "$desktop/Drevix Raycaster.exe"
run_installer installer-shell "Failed to unpack. Try running as Administrator." 1 error
[ ! -e "$temp/drevix_repo.zip" ] || fail "installer-shell left the archive"
[ ! -e "$desktop/Drevix Raycaster.exe" ] || fail "installer-shell made a Desktop copy"

# Another repository's archive: no game where it is expected.
rm -rf "$temp/drevix_extract"
serve_repository Other-Repo-main
run_installer installer "Copy failed (error 3)." 1 error
[ ! -e "$desktop/Drevix Raycaster.exe" ] || fail "a Desktop copy appeared"
[ ! -e "$temp/drevix_repo.zip" ] || fail "archive left after a failed copy"
cmp -s "$game" "$temp/drevix_extract/Other-Repo-main/build/raycaster.exe" ||
  fail "extraction folder not kept after a failed copy"

# No server: the download fails.
kill "$server_pid"
wait "$server_pid" 2>/dev/null || true
server_pid=
run_installer installer "Failed to download Drevix Raycaster." 1 error

echo "installers under wine: $((SECONDS - runs_started)) s of runs," \
  "$((SECONDS - started)) s in all, $failures failures"
exit "$failures"
