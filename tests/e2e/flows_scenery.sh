# Flows of the scenery and the help page: the landscape of a new stage coming in after the last level of
# a stage, and the help page's demonstration running on its board.

FLOWS+=(flow_stage_background_change flow_help_demonstration)

# ---- helpers of these flows ------------------------------------------------------------------------

differing_pixels() {  # differing_pixels A.png B.png [GEOMETRY]: pixels that differ by more than 12 %
    # GEOMETRY (WxH+X+Y) compares that part of both pictures only.
    local a=$1 b=$2
    if [ -n "${3:-}" ]; then
        a="$1[$3]"
        b="$2[$3]"
    fi
    compare -fuzz 12% -metric AE "$a" "$b" null: 2>&1 | awk '{ printf "%d\n", $1 }'
}

pictures_differ() {  # pictures_differ A.png B.png MINIMUM [GEOMETRY]: at least MINIMUM pixels changed
    local changed
    changed=$(differing_pixels "$1" "$2" "${4:-}")
    echo "       $(basename "$1") -> $(basename "$2"): $changed pixels changed"
    [ -n "$changed" ] && [ "$changed" -ge "$3" ]
}

quick_shot() {  # quick_shot NAME: the window, kept uncompressed first (a PNG takes a second to write)
    import -window "$WIN" "$WORK/$1.bmp" 2>/dev/null
}

keep_shots() {  # keep_shots NAME...: the quick shots as PNG pictures under SHOTS
    local name
    for name in "$@"; do convert "$WORK/$name.bmp" "$SHOTS/$name.png" 2>/dev/null; done
}

sleep_until() {  # sleep_until SECONDS-MARK: sleeps until bash's SECONDS reaches the mark (not at all when past)
    local left=$(($1 - SECONDS))
    [ "$left" -gt 0 ] && sleep "$left"
    return 0
}

win_with_cheat_key() {  # win_with_cheat_key: cheat key N ends the level; waits for the statistics page
    local attempt
    for attempt in 1 2 3; do
        xdotool key --window "$WIN" n
        wait_until 3 eval '[ "$(state_value complete)" != 0 ]' && break
    done
    # Any key cuts the level-complete sequence short.
    wait_until 3 eval '[ "$(state_value complete)" -gt 0 ]' && xdotool key --window "$WIN" space
    wait_state 15 page=levelcomplete ready=1
}

# ---- flows -----------------------------------------------------------------------------------------

flow_stage_background_change() {
    # The fifth level of the first stage, won with the cheat keys: after the statistics the board rests
    # while the second stage's landscape swirls in (6000 ms: the old one alone, then a cross-fade) and
    # the stage is announced; a key leaves for the map, where the next level waits on the new landscape.
    reach_level stage "STAGER" 0 4 || { stop_game; return; }
    check "the cheat keys come on" cheat_keys_on
    window_shot stage-last-level
    check "the cheat key wins the stage's last level" win_with_cheat_key
    window_shot stage-statistics
    press Return  # "ok" (the count-up of a level won with no points ends at once)
    check "the board rests after the stage's last level" wait_state 10 scene=game page=- menu=0 running=0
    # The old landscape still whole, then swirling (its view grows and turns), then the new one fading
    # in over it (the second half of the 6000 ms), then alone.
    quick_shot stage-change-start
    sleep 1.5
    quick_shot stage-change-swirl
    sleep 2.2
    quick_shot stage-change-fade
    sleep 4
    quick_shot stage-change-done
    keep_shots stage-change-start stage-change-swirl stage-change-fade stage-change-done
    check "the landscape swirls" pictures_differ "$SHOTS/stage-change-start.png" "$SHOTS/stage-change-swirl.png" 80000
    check "the new landscape fades in" pictures_differ "$SHOTS/stage-change-swirl.png" "$SHOTS/stage-change-fade.png" 80000
    check "the cross-fade has not ended when it is shot" \
        pictures_differ "$SHOTS/stage-change-fade.png" "$SHOTS/stage-change-done.png" 20000
    check "the new stage's landscape has replaced the old one" \
        pictures_differ "$SHOTS/stage-change-start.png" "$SHOTS/stage-change-done.png" 120000
    check "the resting board still waits for a key" state_is scene=game running=0
    press space
    check "a key leaves for the map with the next stage's first level chosen" \
        wait_state 10 scene=map page=mode1 ready=1 chosen=5
    window_shot stage-map
    press Return  # "start"
    check "the next stage's first level starts" wait_state 20 scene=game level=5 page=-
    sleep 1.5
    window_shot stage-next-level
    check "it plays on the new stage's landscape" \
        pictures_differ "$SHOTS/stage-last-level.png" "$SHOTS/stage-next-level.png" 60000
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_help_demonstration() {
    # "How to play" on "main": the demonstration moves a ball on its board at half speed, a cycle of
    # 19 s; three moments of its first cycle, and its board must change between them.
    fresh_home help
    past_splash help
    new_player "HELPER" || { stop_game; return; }
    local downs
    for downs in 1 2 3 4 5; do press Down; done
    check "the main page offers the help page" wait_state 5 item=helpscreen
    press Return
    check "the help page opens" wait_state 10 page=helpscreen ready=1
    local opened=$SECONDS
    sleep 1.5
    quick_shot help-demo-1 # the cursor on its way to the first ball
    sleep_until $((opened + 8))
    quick_shot help-demo-2 # a line cleared, the cursor on its way on
    sleep_until $((opened + 16))
    quick_shot help-demo-3 # the board later in the cycle
    keep_shots help-demo-1 help-demo-2 help-demo-3
    # The demonstration board stands in the middle of the page, between its two texts.
    local board=190x140+335+250
    check "the demonstration moves between the first two moments" \
        pictures_differ "$SHOTS/help-demo-1.png" "$SHOTS/help-demo-2.png" 300 "$board"
    check "and between the last two" pictures_differ "$SHOTS/help-demo-2.png" "$SHOTS/help-demo-3.png" 300 "$board"
    press Return  # "ok"
    check "ok goes back to main" wait_state 10 page=main ready=1
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}
