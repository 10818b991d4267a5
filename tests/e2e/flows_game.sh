# Flows of a level in the game scene.

FLOWS+=(flow_level_moves flow_pause_bomb_and_level_complete flow_defeat_greying)

flow_level_moves() {
    local mode names=(classic puzzle action)
    for mode in 0 1 2; do
        local name=level-${names[$mode]}
        start_level "$name" "$mode:0"
        check "the $name level starts from the developer route" equals "$(state_value mode)" "$mode"
        [ -s "$STATE" ] || { stop_game; continue; }
        sleep 1
        local move
        move=$(find_move)
        check "the $name board has a ball with an empty neighbour" test -n "$move"
        [ -n "$move" ] || { stop_game; continue; }
        set -- $move
        local kind
        kind=$(cell_letter "$1" "$2")
        click_cell "$1" "$2"
        sleep 0.6
        check "a click on the ball selects it" equals "$(state_value selected)" "$1,$2"
        window_shot "$name-selected"
        click_cell "$3" "$4"
        sleep 2
        check "a click on the empty neighbour moves it" equals "$(state_value moves)" 1
        local landed
        landed=$(cell_letter "$3" "$4")
        # The ball stands on the target, unless it completed a line there and was removed with it.
        check "the ball left its cell" test "$(cell_letter "$1" "$2")" != "$kind"
        check "the target holds the ball or it went with a line" test "$landed" = "$kind" -o "$landed" = "."
        window_shot "$name-moved"
        check "the screenshot shows the game's 800 x 600 picture" equals "$(png_size "$SHOTS/$name-moved.png")" "800x600"
        close_window "$WIN"
        wait_exit "$GAME_PID" 10
        check "the $name game closes with code 0" equals "$EXIT_CODE" 0
        GAME_PID=""
    done
}

flow_pause_bomb_and_level_complete() {
    # A triple and a quadro bomb on whichever of these cells are empty; the cheat keys clear the board.
    start_level bombs "0:0" "11@10,9;11@11,13;11@12,9;13@13,13;13@9,12;13@14,10"
    check "the level with bombs starts" test -s "$STATE"
    [ -s "$STATE" ] || { stop_game; return; }
    sleep 1.5
    window_shot level-in-progress
    xdotool key --window "$WIN" space
    sleep 1.5
    check "Space pauses the game" equals "$(state_value running)" 0
    window_shot pause
    xdotool key --window "$WIN" Return
    sleep 1
    check "a key resumes it" equals "$(state_value running)" 1
    check "the board holds a bomb" grep -q '[TQ]' "$STATE"
    xdotool type --window "$WIN" --delay 250 tzqhgmwp  # one letter a frame at least
    sleep 0.5
    xdotool key --window "$WIN" e
    sleep 0.75
    window_shot bomb-blast
    sleep 1
    check "the cheat key cleared every bomb" test -z "$(sed -n '2,$p' "$STATE" | tr -d '.#a-hA-HJ*')"
    # An emptied board may already have won the level; otherwise the cheat key N completes it.
    [ "$(state_value complete)" -gt 0 ] || xdotool key --window "$WIN" n
    # The tiles shiver from 7500 to 6500 ms of the sequence, then fly apart: shoot them on their way.
    local deadline=$((SECONDS + 30))
    while [ $SECONDS -lt $deadline ] && ! [ "$(state_value complete)" -gt 0 -a "$(state_value complete)" -le 5000 ]; do
        sleep 0.1
    done
    check "the level-complete sequence runs" test "$(state_value complete)" -gt 0
    window_shot level-complete-breakup
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}

flow_defeat_greying() {
    start_level defeat "1:0:4"  # a puzzle clock of 4 seconds
    check "the puzzle level starts" test -s "$STATE"
    [ -s "$STATE" ] || { stop_game; return; }
    local deadline=$((SECONDS + 60))
    while [ $SECONDS -lt $deadline ] && [ "$(state_value defeat)" -le 0 ]; do sleep 0.2; done
    check "the clock runs out into the defeat sequence" test "$(state_value defeat)" -gt 0
    sleep 2.8
    window_shot defeat-greying
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}
