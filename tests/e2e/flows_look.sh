# Flows of what a player sees on a full-HD screen: every page and moment in full screen at 1920 x 1080,
# kept as screenshots (look-*.png) to be judged side by side, and bursts of frames 50 ms apart of the
# removals (a line, a bomb, a diamond, a megamatch) with a strip of each; no frame of a burst may turn more
# than 5 % of the playing field near-white in patches wider than a letter's stroke.

FLOWS+=(flow_look_pages flow_look_removals)

# ---- helpers of these flows ------------------------------------------------------------------------

LOOK_XVFB_PID=""
LOOK_OLD_DISPLAY=""
# The driver's clean-up knows only its own display: this one goes too when a run is cut short.
trap 'look_display_off >/dev/null 2>&1; cleanup' EXIT

look_display_on() {  # look_display_on: a display of its own, 1920 x 1080, for these flows
    xvfb_start 1920x1080 look
    local started=$?
    LOOK_XVFB_PID=$XVFB_NEW_PID
    [ $started -eq 0 ] || { echo "       no 1920 x 1080 display"; return 1; }
    LOOK_OLD_DISPLAY=$DISPLAY
    export DISPLAY=$XVFB_NEW_DISPLAY
}

look_display_off() {  # look_display_off: back to the driver's display
    stop_game
    [ -n "$LOOK_XVFB_PID" ] && kill "$LOOK_XVFB_PID" 2>/dev/null && wait "$LOOK_XVFB_PID" 2>/dev/null
    LOOK_XVFB_PID=""
    [ -n "$LOOK_OLD_DISPLAY" ] && export DISPLAY=$LOOK_OLD_DISPLAY
}

full_screen_on() {  # full_screen_on: the full-screen flag of the stored settings set, the rest kept
    printf '\x01' | dd of="$HOME_DIR/config/pebblecraft/settings" bs=1 seek=40 conv=notrunc 2>/dev/null
}

page_from_main() {  # page_from_main ITEM SECONDS NAME: the item of "main" opens its page; a shot SECONDS later
    choose_item "$1" && press Return
    check "$1 opens its page" wait_state 10 page="$1" ready=1
    sleep "$2"
    full_screen_shot "$3"
}

choose_item() {  # choose_item NAME: Down on the open page until its item NAME is selected
    local n
    for n in 1 2 3 4 5 6 7 8 9 10; do
        state_is item="$1" && return 0
        press Down
        wait_until 2 state_is item="$1" && return 0
    done
    return 1
}

full_screen_shot() {  # full_screen_shot NAME: the whole 1920 x 1080 screen, checked for its size
    screenshot "$1"
    check "$1 is a full-screen picture of 1920 x 1080" equals "$(png_size "$SHOTS/$1.png")" 1920x1080
}

free_run() {  # free_run BOARD-FILE LENGTH: "X Y" of LENGTH cells in a row away from the edge, the first
    # empty run, else the first run with no hole (its balls are emptied before the pieces are put there)
    awk -v n="$2" '{ row[NR - 1] = $0 }
        END {
          for (pass = 0; pass < 2; pass++) {
            pattern = pass == 0 ? "^[.]+$" : "^[^#]+$"
            for (y = 2; y < 13; y++) for (x = 3; x + n <= 19; x++) {
              s = substr(row[y], x, n)
              if (length(s) == n && s ~ pattern) { print x + 4, y + 5; exit }
            }
          }
        }' "$1"
}

# The playing field on the full screen: between the progress bar and the panel (x -346..272 of the
# 800 x 600 picture, scaled by 1.8 beside 240-pixel bars), the whole height.
LOOK_FIELD=1113x1080+337+0

near_white_share() {  # near_white_share PICTURE: the share (0..1) of the playing field whose red, green
    # and blue are all 245 or more: each channel cut at 245, the three cut channels' minimum averaged.
    # Thin white (the points over each removed ball, letters, sparks) is no flash: where the plain share is
    # over 5 %, it is measured again with every white patch narrower than about 10 pixels opened away, so
    # that a board of many balls does not count as a sheet of white.
    local plain
    plain=$(convert "$1" -crop "$LOOK_FIELD" +repage -channel RGB -separate -threshold 95.9% \
        -evaluate-sequence min -format '%[fx:mean]' info: 2>/dev/null)
    if awk -v a="${plain:-1}" 'BEGIN { exit !(a > 0.05) }'; then
        convert "$1" -crop "$LOOK_FIELD" +repage -channel RGB -separate -threshold 95.9% \
            -evaluate-sequence min -morphology Open Disk:5 -format '%[fx:mean]' info: 2>/dev/null
    else
        echo "$plain"
    fi
}

burst_strip() {  # burst_strip NAME X Y: 48 frames 50 ms apart, each measured; a strip of 24 of them around
    # the brightest, of the part around cell (X, Y), and the brightest frame whole
    # A cell's centre on the full screen: the 800 x 600 picture scaled by 1.8 and centred (240 px bars).
    local cx=$((240 + (($2 - 5) * 40 + 40) * 18 / 10)) cy=$(((($3 - 5) * 40 + 20) * 18 / 10))
    local left=$((cx - 320)) top=$((cy - 200))
    [ "$left" -lt 0 ] && left=0
    [ "$top" -lt 0 ] && top=0
    # Two seconds and more: on a busy machine the blast may come late after the first pops.
    "$BUILD/e2e_burst" 48 50 "$WORK/$1"
    local i shots=0 frames=() share worst=0 worst_frame=0 first
    for i in $(seq 0 47); do
        [ -f "$WORK/$1-$(printf %02d "$i").ppm" ] || continue
        shots=$((shots + 1))
        # A blast lights the board; a sheet of white over it reads as a flash, not an explosion.
        share=$(near_white_share "$WORK/$1-$(printf %02d "$i").ppm")
        if awk -v a="${share:-1}" -v b="$worst" 'BEGIN { exit !(a > b) }'; then
            worst=${share:-1}
            worst_frame=$i
        fi
    done
    first=$((worst_frame - 8))
    [ "$first" -lt 0 ] && first=0
    [ "$first" -gt 24 ] && first=24
    for i in $(seq "$first" $((first + 23))); do
        i=$(printf %02d "$i")
        [ -f "$WORK/$1-$i.ppm" ] || continue
        convert "$WORK/$1-$i.ppm" -crop "640x400+$left+$top" +repage "$WORK/$1-crop-$i.png" 2>/dev/null
        frames+=("$WORK/$1-crop-$i.png")
    done
    convert "$WORK/$1-$(printf %02d "$worst_frame").ppm" "$SHOTS/$1-frame.png" 2>/dev/null
    montage "${frames[@]}" -tile 6x -geometry 320x200+2+2 -background black "$SHOTS/$1-strip.png" 2>/dev/null
    rm -f "$WORK/$1"-*.ppm "$WORK/$1"-crop-*.png
    check "the burst of $1 keeps 48 shots and a strip of 24" equals "$shots ${#frames[@]}" "48 24"
    echo "       $1: at most $(awk -v w="$worst" 'BEGIN { printf "%.1f", 100 * w }') % of the field near-white (frame $worst_frame)"
    check "no frame of $1 turns more than 5 % of the field near-white" \
        awk -v w="$worst" 'BEGIN { exit !(w <= 0.05) }'
}

# ---- flows -----------------------------------------------------------------------------------------

flow_look_pages() {
    look_display_on || { check "a 1920 x 1080 display for the look flows" false; return; }
    fresh_home look full
    past_splash look || { lost_way "look: no first page"; look_display_off; return; }
    check "the first start fills the 1920 x 1080 screen" equals "$(window_size "$WIN")" 1920x1080
    full_screen_shot look-first-start
    new_player LOOKER || { lost_way "look: no greeting"; look_display_off; return; }
    sleep 1
    full_screen_shot look-main
    # The mouse on "Puzzle": its tip beside the panel.
    local p
    p=$(menu_px 220 169)
    xdotool mousemove --window "$WIN" ${p% *} ${p#* }
    check "the mouse chooses the puzzle mode" wait_state 5 item=mode2
    sleep 0.5
    full_screen_shot look-main-tip
    # A question: the one of "exit", and Escape back from it.
    choose_item exit && press Return
    check "exit asks first" wait_state 10 page=messageboxyn ready=1
    full_screen_shot look-question
    press Escape
    check "Escape goes back from the question" wait_state 10 page=main ready=1
    page_from_main options 0.5 look-options
    press Escape
    wait_state 10 page=main ready=1
    page_from_main helpscreen 2 look-help # the demonstration under way
    press Return
    wait_state 10 page=main ready=1
    page_from_main mode1 1 look-map
    check "with the first level chosen" state_is chosen=0
    # A later level chosen on the map: its board in the corner.
    local attempt point
    for attempt in 1 2 3; do
        type_word xzqnbv
        wait_until 3 state_is allopen=1 && break
    done
    point=$(mark_point 12)
    click_menu $point
    check "a later level is chosen on the map" wait_state 5 chosen=12
    sleep 0.5
    full_screen_shot look-map-level13
    press Return
    check "start plays the level, with the first help page" wait_state 20 scene=game page=helpscreen ready=1
    sleep 2
    full_screen_shot look-level-help
    press Return
    check "the level runs" wait_state 10 page=- menu=0 running=1
    sleep 2.5
    full_screen_shot look-level
    press Escape
    check "Escape opens the in-game menu" wait_state 10 page=gameplay ready=1
    sleep 0.5
    full_screen_shot look-ingame-menu
    press Escape
    check "and Escape goes back to play" wait_state 10 page=- menu=0
    close_tips
    for attempt in 1 2 3; do
        type_word tzqhgmwp
        wait_until 3 state_is cheat=1 && break
    done
    check "the board's cheat word turns the cheat keys on" state_is cheat=1
    for attempt in 1 2 3; do
        xdotool key --window "$WIN" n
        wait_until 3 eval '[ "$(state_value complete)" != 0 ]' && break
    done
    check "the level-complete sequence runs" wait_until 10 eval '[ "$(state_value complete)" -gt 0 ]'
    wait_until 10 eval '[ "$(state_value complete)" -le 5500 ]'
    full_screen_shot look-level-complete
    check "the statistics page follows" wait_state 20 page=levelcomplete
    sleep 0.4
    full_screen_shot look-results-opening
    wait_state 10 page=levelcomplete ready=1
    sleep 3
    full_screen_shot look-results
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    look_display_off
}

flow_look_removals() {
    # A saved game is made in a window (a move, then "main" saves it); in full screen it is resumed four
    # times, each time with pieces that appear in a row of empty cells: their appearance ends in a
    # removal pass, whose bursts are shot 50 ms apart.
    [ -x "$BUILD/e2e_burst" ] || { check "the burst shooter is built" false; return; }
    look_display_on || { check "a 1920 x 1080 display for the look flows" false; return; }
    # A puzzle level: it is won by clearing its busy squares, so the four removals do not end it.
    reach_level bursts "BURSTER" 1 6 || { look_display_off; return; }
    make_move bursts
    save_from_level BURSTER 1
    board_rows >"$WORK/bursts.board"
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    full_screen_on
    past_splash bursts-full || { lost_way "bursts: no first page"; look_display_off; return; }
    check "the game starts in full screen" equals "$(window_size "$WIN")" 1920x1080
    local moment pieces run x y
    # Colour 0 and, in the middle of the row, a triple bomb, a diamond or three bombs.
    for moment in line bomb diamond megamatch; do
        case $moment in
        line) pieces="0 0 0 0 0" ;;
        bomb) pieces="0 0 11 0 0" ;;
        diamond) pieces="0 0 12 0 0" ;;
        megamatch) pieces="0 11 13 11 0" ;;
        esac
        run=$(free_run "$WORK/bursts.board" 5)
        check "the board has five cells in a row for the $moment" test -n "$run"
        [ -n "$run" ] || break
        x=${run% *}
        y=${run#* }
        local cells="" i=0 kind
        for kind in $pieces; do
            cells="$cells -1@$((x + i)),$y $kind@$((x + i)),${y}a"
            i=$((i + 1))
        done
        check "the $moment is put into the saved game" \
            eval '"$BUILD/e2e_saved_game" "$(player_file BURSTER_1.sav)" $cells >/dev/null'
        state_is page=messageboxok && press Return  # the note of the saved game: "main"
        wait_state 10 scene=map page=main ready=1
        choose_item mode2 && press Return
        check "the mode asks to load the saved game" wait_state 10 page=loadgamequest ready=1
        [ "$moment" = line ] && full_screen_shot look-load-question
        press Return # "yes"
        check "yes resumes it" wait_state 15 scene=game menu=0
        # The pieces appear (about 670 ms), then the pass removes them: their pops wait in the removal
        # queue and burst one after another from 250 ms on, so the shots start once the queue fills.
        check "the $moment's removal begins" wait_until 10 eval '[ "$(state_value removals)" -gt 0 ]'
        burst_strip "look-burst-$moment" "$((x + 2))" "$y"
        sleep 1.5
        check "the $moment's row is removed" test "$(cell_letter "$((x + 2))" "$y")" = .
        # The megamatch's blast may clear the last busy squares and win the level: nothing follows it.
        [ "$moment" = megamatch ] && break
        close_tips
        board_rows >"$WORK/bursts.board"
        save_from_level BURSTER 1
    done
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    look_display_off
}
