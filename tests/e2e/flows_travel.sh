# Flows of a ball on its way, in full screen at 1920 x 1080 with the slowest balls: the in-game menu opened with Escape while a
# ball travels takes a click on "Resume game", and the pause taken with Space while a ball travels goes
# on at a click; the state file shows each taken and the ball landing after it. Two quick clicks on
# neighbouring cells are two presses, not a double click.

FLOWS+=(flow_travel_menu_and_pause)

# ---- helpers of these flows ------------------------------------------------------------------------

long_move() {  # prints "X Y TX TY": the free ball and the empty cell it reaches by the longest way
    awk 'NR > 1 && NR <= 16 { row[NR - 2] = $0 }
         function at(x, y) { return (x < 1 || x > 20 || y < 0 || y > 14) ? "#" : substr(row[y], x, 1) }
         END {
           best = 0
           for (y = 0; y < 15; y++) for (x = 1; x <= 20; x++) {
             if (at(x, y) !~ /[a-h]/) continue
             # The steps of the shortest way to every empty cell, wave by wave.
             delete dist
             n = 0
             qx[n] = x; qy[n] = y; n++; dist[x, y] = 0
             for (i = 0; i < n; i++) {
               cx = qx[i]; cy = qy[i]
               for (d = 0; d < 4; d++) {
                 nx = cx + (d == 0 ? -1 : d == 1 ? 1 : 0); ny = cy + (d == 2 ? -1 : d == 3 ? 1 : 0)
                 if (at(nx, ny) != "." || ((nx, ny) in dist)) continue
                 dist[nx, ny] = dist[cx, cy] + 1
                 qx[n] = nx; qy[n] = ny; n++
                 if (dist[nx, ny] > best) { best = dist[nx, ny]; move = (x + 4) " " (y + 5) " " (nx + 4) " " (ny + 5) }
               }
             }
           }
           if (best >= 10) print move
         }' "$STATE"
}

item_point() {  # item_point NAME: a point of the open page where the item NAME lights under the pointer
    # From the bottom up: the page may have chosen NAME already, so it counts only once the pointer has
    # lit another item and then lights NAME.
    local y p other=0
    for y in $(seq -150 8 150); do
        p=$(menu_px 0 "$y")
        xdotool mousemove --window "$WIN" ${p% *} ${p#* }
        sleep 0.15
        if state_is item="$1"; then
            [ $other -eq 1 ] && { echo "0 $((y + 8))"; return 0; }
        elif ! state_is item=-; then
            other=1
        fi
    done
    return 1
}

send_and_press() {  # send_and_press NAME KEY: sends a ball on a long way and presses KEY while it travels;
    # sets MOVES to the moves made before
    close_tips
    MOVES=$(state_value moves)
    local move p
    move=$(long_move)
    check "$1: a ball has a way of ten steps or more" test -n "$move"
    [ -n "$move" ] || return 1
    set -- "$1" "$2" $move
    click_cell "$3" "$4"
    check "$1: a click selects the ball" wait_state 5 selected="$3,$4"
    p=$(cell_px "$5" "$6")
    xdotool mousemove --window "$WIN" ${p% *} ${p#* } sleep 0.1 click 1 key --window "$WIN" "$2"
}

# ---- the flow --------------------------------------------------------------------------------------

flow_travel_menu_and_pause() {
    use_screen 1920x1080 || return
    local name=travel point
    # The slowest balls (a player's choice on the options page): ten steps take 1.5 s, time enough to
    # press a key while the ball is on its way, past the board's fades.
    SLOW_BALLS=1 reach_level "$name" "HASTY" 0 0 full || { stop_game; main_screen; return; }
    check "$name: the game fills the 1920 x 1080 screen" equals "$(window_size "$WIN")" 1920x1080

    send_and_press "$name" Escape || { stop_game; main_screen; return; }
    check "$name: Escape opens the in-game menu while the ball travels" wait_state 5 page=gameplay menu=1
    # The board fades out behind the page in 300 ms (of game time): the ball stands still where it is.
    check "$name: behind the menu the ball stands still, not moving" wait_state 10 moving=0
    sleep 1
    check "$name: mid-route: it has not landed" state_is moves="$MOVES" moving=0 menu=1
    window_shot "$name-menu-mid-route"
    point=$(item_point resume_game)
    check "$name: 'Resume game' lights under the pointer" test -n "$point"
    click_menu $point
    check "$name: the click on 'Resume game' is taken" wait_state 5 menu=0 page=-
    check "$name: the ball goes on and lands" wait_state 5 moves=$((MOVES + 1)) moving=0
    window_shot "$name-resumed"

    send_and_press "$name" space || { stop_game; main_screen; return; }
    check "$name: Space pauses while the ball travels" wait_state 5 running=0
    # Past the board's fade of 500 ms (of game time: slow frames take longer) the ball stands still.
    check "$name: in the pause the ball stands still, not moving" wait_state 10 moving=0
    sleep 1
    check "$name: mid-route: it has not landed" state_is moves="$MOVES" moving=0 running=0
    screenshot "$name-paused-mid-route"
    click_menu 0 0
    check "$name: a click goes on from the pause" wait_state 5 running=1
    check "$name: and the ball lands" wait_state 5 moves=$((MOVES + 1)) moving=0
    window_shot "$name-went-on"

    # Two quick clicks 15 pixels either side of the border between a ball's cell and its empty
    # neighbour: 30 pixels apart, within the 32 in which the window pairs two presses into a double
    # click, while a cell is 72 pixels wide here. They are two presses: the ball is chosen and sent.
    close_tips
    MOVES=$(state_value moves)
    local move ax ay bx by mx my dx dy
    move=$(find_move)
    check "$name: a ball has an empty neighbour" test -n "$move"
    set -- $move
    read -r ax ay <<<"$(cell_px "$1" "$2")"
    read -r bx by <<<"$(cell_px "$3" "$4")"
    mx=$(((ax + bx) / 2))
    my=$(((ay + by) / 2))
    dx=$(((bx > ax) - (bx < ax)))
    dy=$(((by > ay) - (by < ay)))
    xdotool mousemove --window "$WIN" $((mx - 15 * dx)) $((my - 15 * dy)) click 1 \
        mousemove --window "$WIN" $((mx + 15 * dx)) $((my + 15 * dy)) click 1
    check "$name: two quick clicks across a border choose the ball and send it" \
        wait_state 10 moves=$((MOVES + 1)) moving=0
    window_shot "$name-quick-clicks"

    close_window "$WIN"
    wait_exit "$GAME_PID" 10
    check "$name: the game closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
    main_screen
}
