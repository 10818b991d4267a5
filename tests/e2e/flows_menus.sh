# Flows of the menus: the first start, options, exit, a saved game resumed, profiles.

FLOWS+=(flow_first_start_and_exit flow_classic_save_and_resume flow_second_profile)

flow_first_start_and_exit() {
    fresh_home first
    past_splash first
    screenshot first-newprofile
    xdotool type --window "$WIN" --delay 120 "ada7"
    key Return
    sleep 1
    screenshot first-main
    check "a first start creates the profile typed on the new-profile page" file_has "$(player_file profiles.dat)" ADA7
    # "exit" is the last item of "main": Up from the first item reaches it; "yes" is the question's first.
    key Up
    key Return
    sleep 0.5
    screenshot first-quit-question
    key Return
    wait_exit "$GAME_PID" 10
    check "exit with yes ends the program with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    check "the settings are written at exit" test -s "$HOME_DIR/config/pebblecraft/settings"
    check "the records are written at exit" test -s "$(player_file records.dat)"

    # A later start greets the same player on "main".
    past_splash second-start
    screenshot second-start-main
    check "a later start keeps the player" file_has "$(player_file profiles.dat)" ADA7
    # Options: the sound volume one step down with its left arrow, the full-screen box off, "apply".
    key Down Down Down
    key Return
    sleep 0.5
    local before
    before=$(window_size "$WIN")
    click_menu -112 135
    click_menu -112 135
    click_menu -100 12
    screenshot options-changed
    click_menu -85 -193
    sleep 1.5
    screenshot options-applied
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    local bytes
    bytes=$(od -An -tu4 -N8 "$HOME_DIR/config/pebblecraft/settings" | tr -s ' ')
    check "the sound volume lowered on the options page is stored" equals "$bytes" " 50 48"

    start_game options-restart
    WIN=$(wait_window 60)
    sleep 2
    check "the window mode chosen on the options page holds after a restart" \
        test "$(window_size "$WIN")" != "$before"
    close_window "$WIN"
    wait_exit "$GAME_PID" 30
    GAME_PID=""
}

flow_classic_save_and_resume() {
    fresh_home classic
    past_splash classic
    xdotool type --window "$WIN" --delay 120 "bea"
    key Return
    sleep 1
    key Return           # "Classic": the level map of the mode
    sleep 1.5
    screenshot classic-map
    key Return           # "start": level 1 in the game scene
    sleep 3
    screenshot classic-level
    key Escape           # a first help page, if one is shown, goes back to play
    sleep 1
    # Moves: clicks along three rows select balls and send them to empty cells.
    local row col
    for row in 8 11 14; do
        for col in $(seq 7 2 23); do click_menu $(((col - 5) * 40 - 360)) $((280 - (row - 5) * 40)); done
    done
    sleep 1.5
    screenshot classic-moves
    key Escape           # the in-game menu
    sleep 1
    screenshot classic-game-menu
    key Up               # "main", the last item
    key Return
    sleep 1
    screenshot classic-saved-note
    check "leaving with main saves the game" test -s "$(player_file BEA_0.sav)"
    key Return           # "ok": the map with "main"
    sleep 1.5
    key Return           # "Classic" again
    sleep 1.5
    screenshot classic-load-question
    key Return           # "yes"
    sleep 3
    screenshot classic-resumed
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}

flow_second_profile() {
    fresh_home profiles
    past_splash profiles
    xdotool type --window "$WIN" --delay 120 "ann"
    key Return
    sleep 1
    click_menu -220 -269  # "ifnotyou": the profile list with the current player chosen
    sleep 1
    key Down              # "newprofile"
    key Return
    sleep 1
    xdotool type --window "$WIN" --delay 120 "cal"
    key Return
    sleep 1.5
    screenshot profiles-second-main
    click_menu -220 -269
    sleep 1
    screenshot profiles-list
    key Down Down Down    # "remove" acts on the chosen profile, the new current one
    key Return
    sleep 1
    key Return            # "yes"
    sleep 1.5
    screenshot profiles-removed
    key Return            # "selectprofile": the one left
    sleep 1.5
    screenshot profiles-selected
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    check "the removed profile is gone from the player files" test -z "$(grep -a CAL "$(player_file profiles.dat)")"
    check "the first profile stays" file_has "$(player_file profiles.dat)" ANN
}
