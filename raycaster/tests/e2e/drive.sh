# Helpers for driving the real game under Xvfb: start it, find its window,
# send keys, take screenshots and read pixels. Sourced by the end-to-end
# tests and the headless demo; expects DISPLAY to be set (xvfb-run -a).

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The game plays with no settings file unless a test makes one: never the
# settings of whoever runs the tests. Nothing is written there unless a
# setting changes.
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME_FOR_TESTS:-${TMPDIR:-/tmp}/drevix-no-settings.$$}
# Nor their journey or pictures: the game writes its journey as it plays.
export XDG_DATA_HOME=${XDG_DATA_HOME_FOR_TESTS:-${TMPDIR:-/tmp}/drevix-no-journey.$$}
export XDG_PICTURES_DIR=${XDG_PICTURES_DIR_FOR_TESTS:-${TMPDIR:-/tmp}/drevix-no-pictures.$$}

GAME_PID=""
GAME_WID=""

fail() {
    echo "FAIL: $*" >&2
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    exit 1
}

# find_window TITLE -> the first visible window whose name matches, within a
# minute; nothing when none came. Searched again and again rather than once
# with --sync: a window that vanishes while xdotool walks the tree (wine's
# helpers come and go) ends xdotool with BadWindow, which says nothing about
# the window looked for.
find_window() {
    local wid="" deadline=$((SECONDS + 60))
    while [ -z "$wid" ] && [ "$SECONDS" -lt "$deadline" ]; do
        wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$wid" ] || sleep 0.2
    done
    echo "$wid"
}

# no_window TITLE STDERR_FILE: fails saying whether the game still runs (or
# how it ended), what it printed and which windows the display has: what a
# failed start leaves to go on.
no_window() {
    local state="still runs"
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
        wait "$GAME_PID"
        state="exited with status $?"
        GAME_PID=""
    fi
    echo "the game $state; windows on the display:" \
        "$(xdotool search --name . getwindowname %@ 2>&1 | head -5 | tr '\n' ' ')" >&2
    [ -f "$2" ] && tail -n 20 "$2" | sed 's/^/game: /' >&2
    fail "no window $1 appeared"
}

# start_game EXE [STDERR_FILE [TITLE]]: runs the game (or the program whose
# window TITLE names) and waits for its window: a minute, which only a loaded
# machine ever needs. GAME_ENV, when set, holds NAME=value words for the
# game's environment only.
start_game() {
    local exe=$1 err=${2:-/dev/null} title=${3:-'^Drevix Raycaster$'}
    # shellcheck disable=SC2086 # GAME_ENV is a list of words
    env ${GAME_ENV:-} "$exe" 2>"$err" &
    GAME_PID=$!
    GAME_WID=$(find_window "$title")
    [ -n "$GAME_WID" ] || no_window "$title" "$err"
    xdotool windowfocus --sync "$GAME_WID" 2>/dev/null || true
    sleep 0.5
}

press() {
    xdotool windowfocus --sync "$GAME_WID" 2>/dev/null || true
    xdotool key --window "$GAME_WID" "$@"
}

type_text() { xdotool type --delay 40 "$1"; }

# hold KEY SECONDS
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# The game window alone, 960x600 unless resized.
shot() { import -window "$GAME_WID" "$1"; }

# pixel FILE X Y -> "R G B"
pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# region_stat FILE WxH+X+Y STAT -> mean or standard deviation (0..255) of the grey levels
region_stat() {
    convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:int(255*$3)]" info:
}

# banner_pixels FILE -> light blue banner strokes in the title's top half (960x600 shot)
banner_pixels() {
    convert "$1" -crop 960x200+0+100 +repage \
        -fx 'b>0.6 && b>=r ? 1 : 0' -format '%[fx:int(w*h*mean+0.5)]' info:
}

# count_red FILE WxH+X+Y -> pixels that are clearly red
count_red() {
    convert "$1" -crop "$2" +repage -fx 'r>0.7 && g<0.35 && b<0.35 ? 1 : 0' \
        -format '%[fx:int(w*h*mean+0.5)]' info:
}

# menu_shown FILE: the options panel's title in light letters over its dark
# ground (a 960x600 shot); the band allows for the panel's height, which
# grows with the settings
menu_shown() {
    [ "$(convert "$1" -crop 200x60+380+40 +repage -colorspace Gray -threshold 60% \
        -format '%[fx:int(w*h*mean+0.5)]' info:)" -gt 50 ] &&
        [ "$(region_stat "$1" 150x20+580+432 mean)" -lt 30 ]
}

# wait_exit SECONDS -> the game's exit status (fails when it does not end)
wait_exit() {
    local i
    for i in $(seq $(($1 * 10))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            return $?
        fi
        sleep 0.1
    done
    fail "the game did not exit within $1 s"
}
