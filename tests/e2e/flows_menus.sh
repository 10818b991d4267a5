# Flows of the menus: the first start, options, exit, a saved game resumed, profiles.

FLOWS+=(flow_first_start_and_exit flow_classic_save_and_resume flow_second_profile flow_quick_returns_on_exit
    flow_volumes_hold_after_restart)

flow_first_start_and_exit() {
    fresh_home first
    past_splash first
    check "a first start opens the new-profile page" state_is page=newprofile
    screenshot first-newprofile
    check "the name typed there makes the player, greeted on main" new_player ada7
    screenshot first-main
    check "the profile is written to the player files" wait_until 5 file_has "$(player_file profiles.dat)" ADA7
    # "exit" is the last item of "main": Up from the first item reaches it; "yes" is the question's first.
    press Up
    wait_state 5 item=exit
    press Return
    check "exit asks whether to quit" wait_state 10 page=messageboxyn ready=1
    screenshot first-quit-question
    press Return
    wait_exit "$GAME_PID" 10
    check "exit with yes ends the program with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    check "the settings are written at exit" test -s "$HOME_DIR/config/pebblecraft/settings"
    check "the records are written at exit" test -s "$(player_file records.dat)"

    # A later start greets the same player on "main".
    past_splash second-start
    screenshot second-start-main
    check "a later start greets the same player on main" state_is page=main player=ADA7
    # Options: the sound volume two steps down with its left arrow, the full-screen box on, "apply".
    press Down Down Down
    wait_state 5 item=options
    press Return
    check "the options page opens" wait_state 10 page=options ready=1
    local before
    before=$(window_size "$WIN")
    click_menu -112 160
    click_menu -112 160
    click_menu -100 37
    screenshot options-changed
    click_menu -85 -218
    check "apply goes back to main" wait_state 10 page=main ready=1
    check "and switches the window to full screen" wait_until 10 eval 'test "$(window_size "$WIN")" != "$before"'
    screenshot options-applied
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    local bytes
    bytes=$(od -An -tu4 -N8 "$HOME_DIR/config/pebblecraft/settings" | tr -s ' ')
    check "the sound volume lowered on the options page is stored" equals "$bytes" " 50 48"

    start_game options-restart
    WIN=$(wait_window 60)
    wait_state 20 scene=splash
    check "the window mode chosen on the options page holds after a restart" \
        test "$(window_size "$WIN")" != "$before"
    close_window "$WIN"
    wait_exit "$GAME_PID" 30
    GAME_PID=""
}

flow_classic_save_and_resume() {
    # Classic level 1 from the map, two moves, "main" from the in-game menu saves it; choosing the mode
    # again asks to load it, and "yes" brings back the same board.
    fresh_home classic
    past_splash classic
    new_player bea
    press Return  # "Classic": the level map of the mode
    check "Classic opens the level map of the mode" wait_state 10 page=mode1 ready=1 chosen=0
    screenshot classic-map
    press Return  # "start": level 1 in the game scene
    check "start plays level 1, with the first help page" wait_state 20 scene=game level=0 page=helpscreen ready=1
    screenshot classic-level
    press Escape  # the help page goes back to play
    check "Escape on the help page goes back to play" wait_state 10 page=- menu=0
    make_move classic-first
    make_move classic-second
    screenshot classic-moves
    wait_state 5 moving=0
    board_rows >"$WORK/classic-saved.board"
    save_from_level BEA
    screenshot classic-saved-note
    resume_saved classic 2
    check "the resumed board is the board that was saved" \
        eval 'grep -q "[a-h]" "$WORK/classic-saved.board" && equals "$(board_rows)" "$(cat "$WORK/classic-saved.board")"'
    screenshot classic-resumed
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_second_profile() {
    fresh_home profiles
    past_splash profiles
    new_player ann
    click_menu -220 -269  # "ifnotyou": the profile list with the current player chosen
    check "the link under the greeting opens the profile list" wait_state 10 page=profiles ready=1
    press Down  # "newprofile"
    wait_state 5 item=newprofile
    press Return
    check "newprofile opens the name page" wait_state 10 page=newprofile ready=1
    check "the second player is made and greeted" new_player cal
    screenshot profiles-second-main
    click_menu -220 -269
    wait_state 10 page=profiles ready=1
    screenshot profiles-list
    press Down Down Down  # "remove" acts on the chosen profile, the new current one
    wait_state 5 item=remove
    press Return
    check "remove asks first" wait_state 10 page=messageboxyn ready=1
    press Return  # "yes"
    check "yes goes back to the profile list" wait_state 10 page=profiles ready=1
    screenshot profiles-removed
    press Return  # "selectprofile": the one left
    check "the player left is selected and greeted" wait_state 10 page=main ready=1 player=ANN
    screenshot profiles-selected
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    check "the removed profile is gone from the player files" test -z "$(grep -a CAL "$(player_file profiles.dat)")"
    check "the first profile stays" file_has "$(player_file profiles.dat)" ANN
}

flow_quick_returns_on_exit() {
    # Full screen, as a first start is: Return pressed twice in one go on "exit" asks the question and
    # leaves it open; the second Return belonged to "main", not to the question.
    fresh_home quickexit full
    past_splash quickexit
    new_player cyd
    press Up
    wait_state 5 item=exit ready=1
    xdotool key --window "$WIN" --delay 0 Return Return
    check "two quick Returns on exit open the quit question" wait_state 10 page=messageboxyn ready=1
    sleep 1
    check "and the question stays open, unanswered" state_is scene=map page=messageboxyn ready=1
    check "the game is still running" running "$GAME_PID"
    screenshot quickexit-question
    # "no", the question's second button, goes back to "main".
    press Right
    wait_state 5 item=no
    press Return
    check "no goes back to main" wait_state 10 page=main ready=1
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}

# The loudest sample of a run recorded with SDL's disk audio driver (32-bit float stereo at 44100 Hz), in
# dB of full scale; "-inf" for silence.
peak_db() {
    sox -t raw -r 44100 -e floating-point -b 32 -c 2 "$1" -n stats 2>&1 | awk '/^Pk lev dB/ { print $4 }'
}

heard() { [ -s "$1" ] && [ "$(peak_db "$1")" != "-inf" ]; }    # heard RAW: some sample is not silent
silent() { [ -s "$1" ] && [ "$(peak_db "$1")" = "-inf" ]; }   # silent RAW: recorded, and nothing in it

# Drags a slider of the open page from its middle to its left end (screen units), as a player would.
drag_to_left() {  # drag_to_left Y
    local from to
    from=$(menu_px 0 "$1")
    to=$(menu_px -100 "$1")
    # The game counts the drag by its frames: each step waits for it to have run some.
    xdotool mousemove --window "$WIN" ${from% *} ${from#* } sleep 0.2 mousedown 1
    settle
    xdotool mousemove --window "$WIN" ${to% *} ${to#* }
    settle
    xdotool mouseup 1
    settle
}

flow_volumes_hold_after_restart() {
    # A first run is heard; both volumes go to 0 on the options page; the next run is silent from its
    # first sound on, before the options page is opened again.
    fresh_home volumes
    local loud=$WORK/volumes-loud.raw quiet=$WORK/volumes-quiet.raw
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$loud past_splash volumes-loud || { check "the first run reaches the menus" false; return; }
    new_player vol
    press Down Down Down
    wait_state 5 item=options
    press Return
    check "the options page opens" wait_state 10 page=options ready=1
    drag_to_left 160  # the sound volume
    drag_to_left 97   # the music volume
    screenshot volumes-zero
    click_menu 85 -218  # "back" keeps the settings
    check "back from the options page goes to main" wait_state 10 page=main ready=1
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    local bytes
    bytes=$(od -An -tu4 -N8 "$HOME_DIR/config/pebblecraft/settings" | tr -s ' ')
    check "both volumes at 0 are stored" equals "$bytes" " 0 0"
    check "the first run was heard (peak $(peak_db "$loud") dB)" heard "$loud"

    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$quiet past_splash volumes-quiet || { check "the second run reaches the menus" false; return; }
    press Down Up  # the menu's sounds
    sleep 2
    screenshot volumes-quiet-main
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    check "the next run is silent from the start (peak $(peak_db "$quiet") dB)" silent "$quiet"
}
