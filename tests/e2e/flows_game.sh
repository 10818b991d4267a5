# Flows of a level in the game scene, each reached through the menus as a player reaches it.

FLOWS+=(flow_level_moves flow_pause_bomb_and_level_complete flow_defeat_greying flow_high_score_after_lost_game)

flow_level_moves() {
    # Classic and action from their first level; puzzle from a later level, opened with the map's word.
    local mode names=(classic puzzle action) levels=(0 6 0)
    for mode in 0 1 2; do
        local name=level-${names[$mode]} level=${levels[$mode]}
        reach_level "$name" "MOVER" "$mode" "$level"
        check "the $name level starts through the menus" state_is scene=game mode="$mode" level="$level" page=-
        if ! state_is scene=game page=-; then
            stop_game
            continue
        fi
        make_move "$name"
        check "the screenshot shows the game's 800 x 600 picture" equals "$(png_size "$SHOTS/$name-moved.png")" "800x600"
        close_window "$WIN"
        wait_exit "$GAME_PID" 10
        check "the $name game closes with code 0" equals "$EXIT_CODE" 0
        GAME_PID=""
    done
}

flow_pause_bomb_and_level_complete() {
    # A move, then "main" from the in-game menu saves the game; bombs are put into the saved game, and
    # the load question brings the board back with them.
    reach_level bombs "BOMBER" 0 0
    check "the classic level starts" state_is scene=game page=-
    state_is scene=game page=- || { stop_game; return; }
    make_move bombs
    save_from_level BOMBER
    local cells
    cells=$(empty_cells 6 | awk -F, '{ printf "%d@%s ", NR % 2 ? 11 : 13, $0 }')
    check "bombs are put into the saved game" eval '"$BUILD/e2e_saved_game" "$(player_file BOMBER_0.sav)" $cells >/dev/null'
    resume_saved bombs 1
    check "the resumed board holds triple and quadro bombs" wait_until 5 eval 'board_has T && board_has Q'
    window_shot level-in-progress
    close_tips

    key space
    check "Space pauses the game" wait_state 5 running=0
    window_shot pause
    key Return
    check "a key resumes it" wait_state 5 running=1

    check "the board's cheat word turns the cheat keys on" cheat_keys_on
    xdotool key --window "$WIN" e
    sleep 0.75
    window_shot bomb-blast
    check "the cheat key E cleared every bomb" wait_until 10 eval '! board_has "[TQ]"'
    # An emptied board may already have won the level; otherwise the cheat key N completes it.
    wait_until 1 eval '[ "$(state_value complete)" -gt 0 ]' || xdotool key --window "$WIN" n
    # The tiles shiver from 7500 to 6500 ms of the sequence, then fly apart: shoot them on their way.
    check "the level-complete sequence runs" \
        wait_until 30 eval '[ "$(state_value complete)" -gt 0 -a "$(state_value complete)" -le 5000 ]'
    window_shot level-complete-breakup
    check "the statistics page follows" wait_state 15 page=levelcomplete ready=1
    sleep 3  # the count-up of the rows
    window_shot level-complete-statistics
    press Return  # ends the count-up if it still runs, else "ok"
    settle        # the state file shows whether the page is closing
    state_is page=levelcomplete ready=1 && press Return
    check "its ok leads to the level map with the next level chosen" wait_state 15 scene=map page=mode1 ready=1 chosen=1
    window_shot level-complete-map
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_defeat_greying() {
    # The saved game of a level in play gets a ball on every cell but one; resumed, the move into the last
    # free cell leaves one free cell, which the new ball takes: the full board is lost. (A saved game that
    # is full already would be refused as one that ends the level before a move.)
    reach_level defeat "LOSER" 0 0
    check "the classic level starts" state_is scene=game page=- lives=3
    state_is scene=game page=- || { stop_game; return; }
    make_move defeat
    save_from_level LOSER
    # Every cell gets a ball coloured by (x + 2y) mod 5, which differs along every row, column and
    # diagonal, so no move or new ball makes a line; the first free cell with a cell to its right stays free.
    local cells
    cells=$(board_rows | awk '{ row[NR - 1] = $0 }
        END {
            for (y = 0; y < 15; y++) for (x = 1; x <= 20; x++) {
                c = substr(row[y], x, 1); right = substr(row[y], x + 1, 1)
                if (c == "#") continue
                X = x + 4; Y = y + 5
                if (!kept && c == "." && x < 20 && right != "#") { kept = 1; continue }
                printf "-1@%d,%d %d@%d,%d ", X, Y, (X + 2 * Y) % 5, X, Y
            }
        }')
    check "every cell of the saved game but one gets a ball" eval '"$BUILD/e2e_saved_game" "$(player_file LOSER_0.sav)" $cells >/dev/null'
    resume_saved defeat 1
    make_move defeat-last
    check "the full board starts the defeat sequence" wait_until 5 eval '[ "$(state_value defeat)" -gt 0 ]'
    check "the board is full" state_is free=0
    wait_until 5 eval '[ "$(state_value defeat)" -le 2500 ]'
    window_shot defeat-greying
    check "the defeat panel follows and a life is gone" wait_state 10 page=defeat ready=1 lives=2
    window_shot defeat-panel
    press Return  # "restart level"
    check "restart level plays the level again from its start" wait_state 10 scene=game page=- menu=0 moves=0 defeat=0
    check "with a board that is not full" test "$(state_value free)" -gt 0
    window_shot defeat-restarted
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

hiscore_line() {  # hiscore_line TABLE NAME: prints the score of NAME in the high-score table (0..2), or nothing
    # The file holds the three tables of ten lines, each a name of 32 bytes and a 4-byte score.
    local file line at name score
    file=$(player_file hiscore.dat)
    for line in $(seq 0 9); do
        at=$(($1 * 360 + line * 36))
        name=$(dd if="$file" bs=1 skip="$at" count=32 2>/dev/null | tr -d '\0')
        score=$(od -An -t d4 -j $((at + 32)) -N4 "$file" | tr -d ' ')
        [ "$name" = "$2" ] && { echo "$score"; return 0; }
    done
    return 1
}

flow_high_score_after_lost_game() {
    # Points from the cheat key Z, then every life given up in the in-game menu: the level restarted three
    # times, and with no life left the level given up. The high-score page opens with the player's score.
    reach_level hiscore "HANS" 0 0
    check "the classic level starts with three lives" state_is scene=game page=- lives=3
    state_is scene=game page=- || { stop_game; return; }
    check "the board's cheat word turns the cheat keys on" cheat_keys_on
    # 140000 points: above the lower lines of the default table, below the extra life at 150000.
    xdotool key --window "$WIN" --delay 200 z z z z z z z z z z z z z z
    check "the cheat key Z scores 10000 points a press" wait_state 10 total=140000
    local lives
    for lives in 2 1 0 -1; do
        press Escape
        wait_state 10 page=gameplay ready=1 && press Down  # "restart level"
        wait_state 5 item=restart_level && press Return
        wait_state 10 page=messageboxyn ready=1
        [ "$lives" -ge 1 ] || window_shot "hiscore-question-$lives"
        press Return  # "yes"
        [ "$lives" -ge 0 ] || break
        check "restarting the level costs a life ($lives left)" wait_state 10 page=- menu=0 lives="$lives" moves=0
    done
    check "with no life left, yes gives the level up" wait_until 5 eval '[ "$(state_value defeat)" -gt 0 ]'
    sleep 1
    window_shot hiscore-game-over-text
    check "the high-score page follows the lost game" wait_state 15 page=hiscore ready=1 lives=-1
    local final
    final=$(state_value total)
    check "the player's score keeps its 140000 points" equals "$final" 140000
    window_shot hiscore-page
    press Escape  # as "back": the game is over, the map with "main"
    check "Escape leads to the map with main" wait_state 15 scene=map page=main ready=1
    window_shot hiscore-escape-on-map
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    check "the player's score stands in the classic table of the high-score file" equals "$(hiscore_line 0 HANS)" 140000
}
