# Flows of the program around its window: start, full screen, the single copy, missing display or data,
# and the render layer's own check.

FLOWS+=(flow_window_and_single_instance flow_full_screen flow_stale_lock flow_no_display flow_missing_data
        flow_render_check)

flow_window_and_single_instance() {
    fresh_home window
    start_game window
    local id
    id=$(wait_window 60)
    check "the window titled Pebblecraft appears" test -n "$id"
    [ -n "$id" ] || { stop_game; return; }
    check "its client area is 800 x 600" equals "$(window_size "$id")" "800x600"
    wait_state 20 scene=splash
    screenshot window
    check "a screenshot is taken" equals "$(png_size "$SHOTS/window.png")" "1024x768"
    # The screen's root is white; the window is centred on it and the splash picture fills it to its corners.
    check "the window is centred and shows the splash picture" \
        test "$(pixel "$SHOTS/window.png" 113 85)" != "255,255,255" -a "$(pixel "$SHOTS/window.png" 910 682)" != "255,255,255"
    check "the screen around it is untouched" equals "$(pixel "$SHOTS/window.png" 111 83),$(pixel "$SHOTS/window.png" 913 685)" "255,255,255,255,255,255"

    local second
    game_env "$GAME" >"$WORK/second.out" 2>"$WORK/second.err" &
    second=$!
    wait_exit "$second" 2
    check "a second copy ends within two seconds" test "$EXIT_CODE" -ne 124
    check "the second copy exits with code 0" equals "$EXIT_CODE" 0
    [ "$EXIT_CODE" -eq 124 ] && kill "$second" 2>/dev/null
    check "the second copy says nothing" test ! -s "$WORK/second.err"
    check "the first copy keeps running" running "$GAME_PID"

    close_window "$id"
    wait_exit "$GAME_PID" 10
    check "closing the window ends the game with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_full_screen() {
    fresh_home full full
    start_game full
    local id
    id=$(wait_window 60)
    check "the full-screen window appears" test -n "$id"
    [ -n "$id" ] || { stop_game; return; }
    wait_state 20 scene=splash
    check "it covers the screen" wait_until 5 eval 'equals "$(window_size "$id")" "1024x768"'
    screenshot full-screen
    # The 4:3 screen takes the picture without bars: no white root left in either corner.
    check "the picture fills it" test "$(pixel "$SHOTS/full-screen.png" 0 0)" != "255,255,255" -a \
        "$(pixel "$SHOTS/full-screen.png" 1023 767)" != "255,255,255"
    close_window "$id"
    wait_exit "$GAME_PID" 10
    check "it closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_stale_lock() {
    fresh_home stale
    # A copy killed without cleaning up leaves its lock file behind; only a held lock counts.
    mkdir -p "$HOME_DIR/config/pebblecraft"
    echo stale >"$HOME_DIR/config/pebblecraft/instance.lock"
    start_game stale
    local id
    id=$(wait_window 60)
    check "a stale lock file does not block the start" test -n "$id"
    [ -n "$id" ] && close_window "$id"
    wait_exit "$GAME_PID" 10
    check "it still closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_no_display() {
    fresh_home nodisplay
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$HOME_DIR/config" XDG_DATA_HOME="$HOME_DIR/data" \
        "$GAME" >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err" &
    local pid=$!
    wait_exit "$pid" 10
    [ "$EXIT_CODE" -eq 124 ] && kill "$pid" 2>/dev/null
    check "without a display the game ends with a non-zero code" test "$EXIT_CODE" -ne 0 -a "$EXIT_CODE" -ne 124
    check "and does not crash" test "$EXIT_CODE" -lt 128
    check "and says why on standard error" file_has "$WORK/nodisplay.err" "needs a display"
}

flow_missing_data() {
    fresh_home nodata
    # The executable alone, with no Data folder beside it and none installed.
    mkdir -p "$WORK/nodata/bin"
    cp "$GAME" "$WORK/nodata/bin/pebblecraft"
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$HOME_DIR/config" XDG_DATA_HOME="$HOME_DIR/data" \
        "$WORK/nodata/bin/pebblecraft" >"$WORK/nodata.out" 2>"$WORK/nodata.err" &
    local pid=$!
    wait_exit "$pid" 10
    [ "$EXIT_CODE" -eq 124 ] && kill "$pid" 2>/dev/null
    check "without its data the game ends with code 1" equals "$EXIT_CODE" 1
    check "and shows the loading error" file_has "$WORK/nodata.err" "Can't load"
}

flow_render_check() {
    # The render layer's own check in a real window: pixels of text, sprites of the three blend modes, a
    # picture with an alpha plane, lightning, batched and unbatched pictures compared, and, once the data
    # builder has filled the Data folder, the built fonts and pictures. It holds its last frame for a
    # screenshot of the real window.
    local args=("$SHOTS/render-check.png" 2000)
    [ -e "$BUILD/Data/targa.dat" ] && args+=("$SHOTS/render-check-data.png")
    fresh_home render
    game_env "$BUILD/e2e_render_check" "${args[@]}" >"$WORK/render.out" 2>"$WORK/render.err" &
    GAME_PID=$!
    local tenths=300
    while [ "$tenths" -gt 0 ] && running "$GAME_PID" && ! file_has "$WORK/render.out" "holding the picture"; do
        sleep 0.1
        tenths=$((tenths - 1))
    done
    sleep 0.3
    screenshot render-check-window
    wait_exit "$GAME_PID" 60
    [ "$EXIT_CODE" -eq 124 ] && kill "$GAME_PID" 2>/dev/null
    GAME_PID=""
    check "the render check passes in a real window" equals "$EXIT_CODE" 0
    grep -i "fail" "$WORK/render.out" | sed 's/^/       /'
    check "it saves the drawn picture" equals "$(png_size "$SHOTS/render-check.png")" "800x600"
}
