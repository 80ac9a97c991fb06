# Plays the Windows game under wine as a player would, inside Xvfb: its
# window appears, the title screen shows the banner and the pulsing prompt,
# a key leads through the intro into a textured play view, and Esc, Esc ends
# it with exit status 0. Sourced; needs drive.sh, a wine prefix set up by
# installer/tests/wine_env.sh and DISPLAY. KEEP_SHOTS=DIR keeps the title
# and play screenshots, as for the Linux game.
# usage: play_windows_game EXE SHOTS_DIR

# The game's client area: wine draws its own frame around it when no window
# manager runs, so the screenshot is cut to the 960x600 drawing.
client_shot() {
    import -window root -crop "960x600+$CLIENT_X+$CLIENT_Y" +repage "$1"
}

play_windows_game() {
    local exe=$1 shots=$2
    mkdir -p "$shots"
    printf '#!/bin/sh\nexec wine "%s"\n' "$exe" >"$shots/start.sh"
    chmod +x "$shots/start.sh"
    start_game "$shots/start.sh" "$shots/stderr"
    # The frame's size tells where the client area lies inside it.
    eval "$(xdotool getwindowgeometry --shell "$GAME_WID")"
    local frame_w=$WIDTH frame_h=$HEIGHT
    CLIENT_X=$((X + (frame_w - 960) / 2))
    CLIENT_Y=$((Y + frame_h - 600 - (frame_w - 960) / 2))
    sleep 1

    # Title: banner strokes in light blue in the top half, and the prompt,
    # whose brightness pulses with a period of about 2 s. Looks at uneven
    # intervals, so their spacing cannot fall in step with the pulse, for up
    # to 30 s: on a loaded machine the game under wine may show a new frame
    # only now and then.
    local looks=() lo=255 hi=0 m pause deadline=$((SECONDS + 30))
    while [ $((hi - lo)) -le 30 ] && [ "$SECONDS" -lt "$deadline" ]; do
        for pause in 0.13 0.41 0.27 0.62 0.19 0.55 0.33 0.71 0.23 0.47; do
            client_shot "$shots/title.png"
            m=$(convert "$shots/title.png" -crop 960x50+0+480 +repage -colorspace Gray \
                -format '%[fx:int(255*maxima)]' info:)
            looks+=("$m")
            [ "$m" -lt "$lo" ] && lo=$m
            [ "$m" -gt "$hi" ] && hi=$m
            [ $((hi - lo)) -gt 30 ] && break
            sleep "$pause"
        done
    done
    echo "prompt brightness, look by look: ${looks[*]}"
    [ "$hi" -gt 120 ] || fail "no prompt on the title screen (brightest $hi)"
    [ $((hi - lo)) -gt 30 ] || fail "the prompt does not pulse (${looks[*]})"
    local banner
    banner=$(banner_pixels "$shots/title.png")
    [ "$banner" -gt 200 ] || fail "title banner not shown ($banner banner pixels)"

    # Into the intro and on to play: textured walls, not a flat or dark view.
    press space
    sleep 4.5
    client_shot "$shots/play.png"
    local detail bright
    detail=$(region_stat "$shots/play.png" 960x400+0+100 standard_deviation)
    [ "$detail" -gt 12 ] || fail "play view looks flat (grey deviation $detail)"
    bright=$(region_stat "$shots/play.png" 960x600+0+0 mean)
    [ "$bright" -gt 30 ] || fail "play view is dark (mean $bright)"

    # Esc releases the mouse, Esc again quits.
    press Escape
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || fail "the first Esc ended the game"
    press Escape
    local status=0
    wait_exit 20 || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
    GAME_PID=""
    if [ -n "${KEEP_SHOTS:-}" ]; then cp "$shots"/*.png "$KEEP_SHOTS"/; fi
}
