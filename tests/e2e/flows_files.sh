# Flows of damaged and lost files: a damaged window file, a level kept through a kill of the game, an
# empty level file, a data folder that cannot be written.
FLOWS+=(flow_files_damaged_window flow_files_autosave_kill flow_files_broken_level flow_files_unsaved_progress)

# A window file with a few bits flipped (16 516 996 x 66 216 pixels) in a windowed game on a laptop's
# screen: the plain window opens on the screen and the game starts as usual.
flow_files_damaged_window() {
    fresh_home damagedwindow
    printf '\x84\x03\xfc\x00\xa8\x02\x01\x00\x01\x9a\x00\x00' >"$HOME_DIR/config/pebblecraft/window"
    use_screen 1280x800 || { check "damagedwindow: a 1280 x 800 screen" false; return; }
    past_splash damagedwindow
    check "damagedwindow: the game starts as usual to its first page" state_is scene=map page=newprofile
    check "damagedwindow: the window is the plain one, within the screen" equals "$(window_size "$WIN")" 800x600
    window_shot damagedwindow-first-page
    close_window "$WIN"
    wait_exit "$GAME_PID" 20
    GAME_PID=""
    check "damagedwindow: the game ends normally" equals "$EXIT_CODE" 0
    main_screen
}

# Three moves, then the game is killed outright: the next start offers the level, and it comes back with
# the three moves and the board as it was.
flow_files_autosave_kill() {
    reach_level autosave Keeper 0 0 || return
    local i rows
    for i in 1 2 3; do make_move "autosave-$i"; done
    check "autosave: the third move is saved once the board rests" wait_state 10 moves=3 moving=0 saved=3
    sleep 0.3 # the state file shows the board as saved
    rows=$(board_rows)
    kill -KILL "$(pgrep -P "$GAME_PID" | head -n 1)" # the game itself, inside the subshell of start_game
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
    check "autosave: the saved game is there after the kill" test -s "$(player_file KEEPER_0.sav)"
    past_splash autosave-again || return
    check "autosave: the player is still there" state_is page=main player=KEEPER
    wait_state 10 item=mode1
    press Return # "Classic"
    check "autosave: the mode asks to load the level" wait_state 10 page=loadgamequest ready=1
    window_shot autosave-load-question
    press Return # "yes"
    check "autosave: the level resumes with its three moves" wait_state 15 scene=game menu=0 moves=3
    check "autosave: the board is the one left at the kill" equals "$(board_rows)" "$rows"
    window_shot autosave-resumed
    close_window "$WIN"
    wait_exit "$GAME_PID" 20
    GAME_PID=""
}

# An empty level file: the loading message names it in a window of the game's own (this display has
# neither zenity nor kdialog nor X11 core fonts, so SDL's box cannot show), standard error says the same,
# a key closes it and the game ends with code 1.
flow_files_broken_level() {
    fresh_home brokenlevel
    local game=$WORK/brokenlevel-game f id
    mkdir -p "$game/Data"
    cp "$GAME" "$game/pebblecraft"
    for f in "$BUILD"/Data/*; do [ "${f##*/}" = levels ] || ln -s "$f" "$game/Data/${f##*/}"; done
    cp -r "$BUILD/Data/levels" "$game/Data/levels"
    : >"$game/Data/levels/tut1_01.lvl"
    start_game brokenlevel "$game/pebblecraft"
    id=""
    wait_until 120 eval 'id=$(xdotool search --onlyvisible --name "^Loading Error$" 2>/dev/null | tail -n 1); [ -n "$id" ]'
    check "brokenlevel: the loading message shows in a window" test -n "$id"
    screenshot brokenlevel-message
    check "brokenlevel: standard error names the file" \
        file_has "$WORK/brokenlevel.err" "Loading Error: Can't load levels/tut1_01.lvl..."
    [ -n "$id" ] && xdotool key --window "$id" Return
    wait_exit "$GAME_PID" 20
    GAME_PID=""
    check "brokenlevel: a key closes it and the game ends with code 1" equals "$EXIT_CODE" 1
}

# The player data's folder cannot be made (a file stands where it should be): the game plays, and the
# main page says once that progress cannot be kept.
flow_files_unsaved_progress() {
    fresh_home unsaved
    echo "not a folder" >"$HOME_DIR/data/pebblecraft"
    past_splash unsaved || { lost_way "unsaved: no first page"; return; }
    xdotool type --window "$WIN" --delay 120 "nobody"
    local attempt
    for attempt in 1 2 3; do # a loaded machine may lose the key that takes the name
        press Return
        wait_until 5 state_is page=messageboxok\|main && break
    done
    check "unsaved: the main page notes that progress cannot be saved" wait_state 10 page=messageboxok ready=1
    window_shot unsaved-note
    press Return
    check "unsaved: ok leaves the main page as it was" wait_state 10 page=main ready=1 player=NOBODY
    close_window "$WIN"
    wait_exit "$GAME_PID" 20
    GAME_PID=""
}
