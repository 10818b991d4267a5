# Flows of the game on the desktops players have: a first start in full screen on wide screens (1280 x
# 800, 1920 x 1080), a window resized to 1000 x 700, every click where the thing is drawn; and a move
# played from the keyboard alone.

FLOWS+=(flow_desktop_full_1280 flow_desktop_full_1920 flow_desktop_window_1000 flow_desktop_keyboard
        flow_desktop_ways_back flow_desktop_icon)

# ---- helpers of these flows ------------------------------------------------------------------------

help_on_piece() {  # help_on_piece NAME: the help button, then a ball: its tip, and the ball not selected
    close_tips
    local ball
    ball=$(find_move)
    set -- "$1" $ball
    click_menu -378 -270 # the help button in the lower left corner
    check "$1: the help button arms the help cursor" wait_state 5 cursor=2
    click_cell "$2" "$3"
    check "$1: the help cursor on a ball shows its tip" wait_until 5 eval '[ "$(state_value tip)" != 0 ]'
    check "$1: and does not select it" state_is selected=-1,-1 cursor=0
    window_shot "$1-help-tip"
    close_tips
}

menu_button() {  # menu_button NAME: the panel's Menu button opens the in-game menu; Escape goes back
    click_menu 345 -30
    check "$1: the panel's Menu button opens the in-game menu" wait_state 10 page=gameplay ready=1 menu=1
    window_shot "$1-menu-button"
    press Escape
    check "$1: Escape goes back to play" wait_state 10 page=- menu=0
}

close_and_keep() {  # close_and_keep NAME PLAYER: closes the window; the saved game holds the board as left
    settle # the state file catches up
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "$1: the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    check "$1: the saved game holds the moves and the board as they were" saved_game_holds_state "$2"
}

desktop_first_level() {  # desktop_first_level NAME PLAYER START SIZE: classic level 1 by mouse where drawn
    local name=$1
    reach_level "$name" "$2" 0 0 "$3"
    check "$name: classic level 1 starts" state_is scene=game level=0 page=-
    state_is scene=game page=- || { stop_game; return 1; }
    check "$name: the window is $4" equals "$(window_size "$WIN")" "$4"
    make_move "$name" # two clicks where the ball and the cell are drawn
    make_move "$name" drag
    help_on_piece "$name"
    menu_button "$name"
    close_and_keep "$name" "$2"
}

desktop_hammer() {  # desktop_hammer NAME PLAYER START SIZE: the hammer, on a level that has it, reached on the map
    local name=$1 level=3 ball kind bx by
    reach_level "$name" "$2" 0 "$level" "$3" # the level's mark clicked where it is drawn
    check "$name: the level chosen by its mark starts" state_is scene=game level="$level" page=-
    state_is scene=game page=- || { stop_game; return 1; }
    check "$name: the window is $4" equals "$(window_size "$WIN")" "$4"
    close_tips
    check "$name: the board's cheat word turns the cheat keys on" cheat_keys_on
    local p i
    p=$(menu_px 0 0)
    for i in 1 2 3 4 5; do # each middle click charges a fifth of the bar (apart: a quick second is dropped)
        xdotool mousemove --window "$WIN" ${p% *} ${p#* } click 2
        sleep 0.7
    done
    close_tips
    window_shot "$name-charged"
    click_menu 350 -200 # the full hammer bar
    check "$name: a click on the full hammer bar arms the hammer" wait_state 5 cursor=1
    ball=$(find_move)
    bx=${ball%% *}
    by=$(echo "$ball" | cut -d' ' -f2)
    kind=$(cell_letter "$bx" "$by")
    click_cell "$bx" "$by"
    check "$name: the hammer smashes the ball where it is drawn" \
        wait_until 5 eval '[ "$(cell_letter "$bx" "$by")" != "$kind" ] && state_is cursor=0'
    window_shot "$name-hammer"
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
}

# ---- the flows ------------------------------------------------------------------------------------

flow_desktop_full_1280() {
    use_screen 1280x800 || return
    desktop_first_level full1280 "WIDE" first 1280x800
    screenshot_check full1280 1280x800
    desktop_hammer full1280-hammer "WIDE" full 1280x800
    main_screen
}

flow_desktop_full_1920() {
    use_screen 1920x1080 || return
    desktop_first_level full1920 "WIDER" first 1920x1080
    screenshot_check full1920 1920x1080
    desktop_hammer full1920-hammer "WIDER" full 1920x1080
    main_screen
}

flow_desktop_window_1000() {
    RESIZE_TO=1000x700 desktop_first_level window1000 "RESIZED" "" 1000x700
    check "window1000: the window's size is kept beside the settings" \
        equals "$(od -An -t d4 -N8 "$HOME_DIR/config/pebblecraft/window" | tr -s ' ')" " 1000 700"
    check "window1000: the settings keep their 48 bytes" equals "$(stat -c %s "$HOME_DIR/config/pebblecraft/settings")" 48
    RESIZE_TO=1000x700 desktop_hammer window1000-hammer "RESIZED" "" 1000x700
}

screenshot_check() {  # screenshot_check NAME SIZE: the moved board's screenshot covers the screen, bars black
    local shot=$SHOTS/$1-moved.png
    check "$1: the screenshot has the screen's size" equals "$(png_size "$shot")" "$2"
    # Bars left and right of the 4:3 picture are black, the picture between them is not.
    check "$1: the bar at the left edge is black" equals "$(pixel "$shot" 2 200)" "0,0,0"
}

flow_desktop_keyboard() {
    # Full screen on a wide screen, from the keyboard alone: the name, the mode, the level chosen on the
    # map with the arrows, and a move with the arrows and Return.
    use_screen 1280x800 || return
    local name=keyboard
    fresh_home "$name" first
    past_splash "$name" && state_is page=newprofile || { lost_way "$name: no new-profile page"; main_screen; return; }
    new_player "KEYS" || { lost_way "$name: no greeting"; stop_game; main_screen; return; }
    press Return # "Classic"
    check "$name: Return opens the classic map" wait_state 10 page=mode1 ready=1 chosen=0
    local attempt
    for attempt in 1 2 3; do
        type_word xzqnbv
        wait_until 3 state_is allopen=1 && break
    done
    press Right Right
    check "$name: Right chooses the next open levels on the map" wait_state 5 chosen=2
    window_shot "$name-map-right"
    press Left Left
    check "$name: Left chooses back" wait_state 5 chosen=0
    press Return # "start"
    check "$name: Return starts the chosen level" wait_state 20 scene=game level=0 page=helpscreen ready=1
    press Return
    wait_state 10 page=- menu=0 running=1 || { lost_way "$name: the level does not run"; stop_game; main_screen; return; }
    close_tips
    # The mouse is put aside, off the board: only the keys play.
    xdotool mousemove --window "$WIN" 5 5
    sleep 0.3
    local move moves kind free
    moves=$(state_value moves)
    free=$(state_value free)
    move=$(find_move)
    set -- $move
    kind=$(cell_letter "$1" "$2")
    key Down
    check "$name: an arrow shows the cursor cell" wait_until 5 eval '[ "$(state_value keycursor)" != -1,-1 ]'
    keys_to "$1" "$2"
    check "$name: the arrows bring the cursor cell onto the ball" wait_state 5 keycursor="$1,$2"
    window_shot "$name-cursor-on-ball"
    key Return
    check "$name: Return selects the ball under it" wait_state 5 selected="$1,$2"
    keys_to "$3" "$4"
    window_shot "$name-cursor-on-target"
    key Return
    check "$name: Return sends the ball to the cursor cell" wait_state 10 moves=$((moves + 1)) moving=0
    sleep 0.3
    check "$name: the ball left its cell" ball_left "$1" "$2" "$kind" "$free"
    window_shot "$name-moved"
    xdotool mousemove --window "$WIN" 400 300
    check "$name: the cursor cell hides when the mouse moves" wait_state 5 keycursor=-1,-1
    key space
    check "$name: Space still pauses" wait_state 5 running=0
    key Escape
    check "$name: a key resumes" wait_state 5 running=1
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    GAME_PID=""
    main_screen
}

keys_to() {  # keys_to X Y: arrows until the keyboard's cursor cell is on the cell (at most 40 presses)
    local i at cx cy
    for i in $(seq 40); do
        at=$(state_value keycursor)
        cx=${at%,*}
        cy=${at#*,}
        [ "$cx" = "$1" ] && [ "$cy" = "$2" ] && return 0
        if [ "$cx" -lt "$1" ]; then key Right; elif [ "$cx" -gt "$1" ]; then key Left
        elif [ "$cy" -lt "$2" ]; then key Down; else key Up; fi
        settle # the state file shows the new cell
    done
    return 1
}

flow_desktop_ways_back() {
    # Full screen at 1920 x 1080: the level map is left with Escape and with its back button, and the
    # sound volume is raised on the options page from the keyboard alone.
    use_screen 1920x1080 || return
    local name=waysback
    fresh_home "$name" full
    past_splash "$name" && state_is page=newprofile || { lost_way "$name: no new-profile page"; main_screen; return; }
    new_player "BACK" || { lost_way "$name: no greeting"; stop_game; main_screen; return; }
    press Return # "Classic"
    check "$name: Return opens the classic map" wait_state 10 page=mode1 ready=1
    press Escape
    check "$name: Escape leaves the map for the main page" wait_state 10 page=main ready=1 item=mode1
    press Return
    check "$name: the map again" wait_state 10 page=mode1 ready=1
    sleep 0.5
    screenshot "$name-map"
    click_menu -250 -272
    check "$name: the back button leaves the map for the main page" wait_state 10 page=main ready=1
    # The options page: Down past its two buttons reaches the sound slider, Right raises it by steps of 5.
    choose_item options && press Return # (choose_item: flows_look.sh)
    check "$name: the options page" wait_state 10 page=options ready=1
    press Down Down Right Right
    sleep 0.3
    screenshot "$name-options"
    press Escape
    check "$name: Escape leaves the options for the main page" wait_state 10 page=main ready=1
    check "$name: the sound volume went from 50 to 60 and was saved" \
        equals "$(od -An -t d4 -j4 -N4 "$HOME_DIR/config/pebblecraft/settings" | tr -d ' ')" 60
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "$name: the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    main_screen
}

flow_desktop_icon() {  # the window carries the program's icon, as task bars and window switchers show it
    fresh_home icon
    start_game icon
    WIN=$(wait_window) || { check "icon: the window opens" false; return; }
    # The window exists hidden before it is shown; a task bar reads the icon when the window appears.
    wait_until 60 eval 'xwininfo -id "$WIN" 2>/dev/null | grep -q "Map State: IsViewable"'
    # The property read whole before it is searched: "grep -q" leaves at the first line, and xprop, still
    # writing the rest of the picture, would die of the closed pipe and fail the check under pipefail.
    check "icon: the window has the 128 x 128 icon as soon as it shows" \
        eval '[[ "$(xprop -id "$WIN" _NET_WM_ICON 2>/dev/null)" == *"Icon (128 x 128)"* ]]'
    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "icon: the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}
