# Helpers of the end-to-end flows, sourced by run.sh. They use the driver's variables: GAME, BUILD, WORK,
# SHOTS, WM_DELETE, DISPLAY, and set GAME_PID (the running game), HOME_DIR (its per-user folders), WIN
# (its window) and STATE (its state file) for the flows.
#
# A flow
#   - starts a game: fresh_home NAME, then start_game NAME (the bare program), past_splash NAME (up to
#     the first menu page) or reach_level NAME PLAYER MODE LEVEL (a level through the menus, as a player);
#   - acts on it with keys and clicks: press KEY... (keys for the open page, each when the page takes keys),
#     key KEY... (keys for the board), click_menu X Y (menu screen units), click_cell X Y (board cells);
#   - waits for what it expects in the game's state file, which every game run writes (see
#     gameplay/state_probe.h): wait_state SECONDS NAME=VALUE..., wait_until SECONDS COMMAND...;
#   - records each outcome with check DESCRIPTION COMMAND...;
#   - ends by closing the window (close_window "$WIN"; wait_exit "$GAME_PID" 10) and clearing GAME_PID,
#     or leaves a failed game to the driver's stop_game.

# ---- processes, windows, pictures ---------------------------------------------------------------

check() {  # check DESCRIPTION COMMAND...: runs the command; success passes
    local what=$1
    shift
    if "$@"; then
        PASSED=$((PASSED + 1))
        echo "  ok   $what"
    else
        FAILED=$((FAILED + 1))
        FAILURES+=("${CURRENT_FLOW:-}${CURRENT_FLOW:+: }$what")
        echo "  FAIL $what"
        # What the game showed then and the last keys sent, to tell a slow machine from a fault.
        [ -n "${STATE:-}" ] && [ -s "$STATE" ] && echo "       the state: $(head -n 1 "$STATE")"
        [ -s "${WORK:-}/keys.trace" ] && tail -n 4 "$WORK/keys.trace" | sed 's/^/       /'
    fi
    return 0
}

fresh_home() {  # fresh_home NAME [full|first]: per-user folders for one run, windowed unless "full";
    # "first" writes no settings at all, as on a player's first start (which is full screen); sets HOME_DIR
    HOME_DIR=$WORK/$1
    : >"$WORK/keys.trace"
    mkdir -p "$HOME_DIR/config/pebblecraft" "$HOME_DIR/data"
    [ "${2:-}" = first ] && return 0
    write_settings "$([ "${2:-}" = full ] && echo 1 || echo 0)" "${SLOW_BALLS:+slow}"
}

write_settings() {  # write_settings FULL-SCREEN(0/1) [slow]: the 48-byte settings value with default volumes
    # music 50, sound 50, 800 x 600, mode 1, true colour, spare flag, no drawn cursor, no profiles,
    # the full-screen flag, ball speed 70.0, or the slowest balls (150.0) with "slow" (little-endian).
    # fresh_home passes "slow" when SLOW_BALLS is set.
    {
        printf '\x32\0\0\0\x32\0\0\0\x20\x03\0\0\x58\x02\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0'
        printf "\\x0$1\\0\\0\\0"
        if [ "${2:-}" = slow ]; then printf '\0\0\x16\x43'; else printf '\0\0\x8c\x42'; fi
    } >"$HOME_DIR/config/pebblecraft/settings"
}

game_env() {  # the environment of a game run under our display and per-user folders; GAME_LANG, when
    # set, is the game's LANG (and LANGUAGE, LC_ALL, LC_MESSAGES are cleared), set here rather than in the
    # shell, which would warn about a locale the machine lacks
    env DISPLAY="$DISPLAY" LIBGL_ALWAYS_SOFTWARE=1 XDG_CONFIG_HOME="$HOME_DIR/config" \
        XDG_DATA_HOME="$HOME_DIR/data" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
        ${GAME_LANG:+LANG=$GAME_LANG LANGUAGE= LC_ALL= LC_MESSAGES=} "$@"
}

start_game() {  # start_game LOG-NAME [GAME-PATH]: runs the game in the background; sets GAME_PID and STATE
    STATE=$WORK/$1.state
    rm -f "$STATE"
    game_env env PEBBLECRAFT_STATE_FILE="$STATE" "${2:-$GAME}" >"$WORK/$1.out" 2>"$WORK/$1.err" &
    GAME_PID=$!
}

wait_window() {  # wait_window [SECONDS]: prints the id of the window titled "Pebblecraft"
    local deadline=$((SECONDS + ${1:-20})) id pid
    while [ $SECONDS -lt $deadline ]; do
        # This run's own window (a window of an earlier copy may still be going away), else the newest. The
        # game runs as a child of start_game's background shell, so its window carries the child's pid.
        for pid in $(pgrep -P "$GAME_PID") "$GAME_PID"; do
            id=$(xdotool search --pid "$pid" --name '^Pebblecraft$' 2>/dev/null | head -n 1)
            [ -n "$id" ] && break
        done
        [ -n "$id" ] || id=$(xdotool search --name '^Pebblecraft$' 2>/dev/null | tail -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

wait_exit() {  # wait_exit PID SECONDS: waits for the process to end; sets EXIT_CODE (124 on timeout)
    local pid=$1 tenths=$(($2 * 10))
    EXIT_CODE=124
    while [ "$tenths" -gt 0 ]; do
        if ! running "$pid"; then
            wait "$pid"
            EXIT_CODE=$?
            return 0
        fi
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

running() { kill -0 "$1" 2>/dev/null; }

screenshot() {  # screenshot NAME: the whole screen into SHOTS/NAME.png
    import -window root "$SHOTS/$1.png" 2>/dev/null
}

png_size() { identify -format '%wx%h' "$1" 2>/dev/null; }

pixel() { # pixel PNG X Y: the colour there as "r,g,b" (0..255)
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info: 2>/dev/null
}

window_size() { xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/.*Geometry: //p'; }

close_window() {  # close_window WINDOW-ID: the close request a window manager sends (WM_DELETE_WINDOW)
    "$WM_DELETE" "$1"
}

stop_game() {  # stop_game: closes the game's window and waits for it (after a failed flow)
    if [ -n "$GAME_PID" ] && running "$GAME_PID"; then
        kill "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
    fi
    GAME_PID=""
}

equals() { [ "$1" = "$2" ]; }

file_has() { grep -qs -- "$2" "$1"; }

# ---- the state file -------------------------------------------------------------------------------

# The game writes its state ten times a second: a line of NAME=VALUE pairs (scene, presskey, page, ready,
# item, chosen, mode, level, moves, selected, moving, running, menu, complete, defeat, free, lives, total,
# player, cheat, allopen, tip, tipbutton, keycursor, cursor, frames, heapkb; gameplay/state_probe.h says
# what each means), then the 15 rows
# of the board ("." empty, "#" no cell, "a".."h" balls,
# "A".."H" chained, "J" joker, "T" triple bomb, "*" diamond, "Q" quadro bomb).

state_value() { head -n 1 "$STATE" 2>/dev/null | tr ' ' '\n' | sed -n "s/^$1=//p"; }  # state_value NAME

state_is() {  # state_is NAME=VALUE...: every pair holds now; a VALUE may list alternatives as a|b
    local pair value
    for pair in "$@"; do
        value=$(state_value "${pair%%=*}")
        [ -n "$value" ] || return 1
        case "|${pair#*=}|" in *"|$value|"*) ;; *) return 1 ;; esac
    done
}

wait_until() {  # wait_until SECONDS COMMAND...: until the command succeeds; fails at the deadline or when the game ended
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] && running "$GAME_PID" || return 1
        sleep 0.1
    done
}

wait_state() {  # wait_state SECONDS NAME=VALUE...: until the state file shows every pair (see state_is)
    local seconds=$1
    shift
    wait_until "$seconds" state_is "$@"
}

settle() {  # settle: until the game has written its state twice more, so that what was just sent has been taken
    local seen
    seen=$(state_value frames)
    wait_until 10 eval '[ "$(state_value frames)" != "'"$seen"'" ]' || return 1
    seen=$(state_value frames)
    wait_until 10 eval '[ "$(state_value frames)" != "'"$seen"'" ]'
}

board_rows() { sed -n '2,16p' "$STATE" 2>/dev/null; }  # the 15 rows of the board

board_has() { board_rows | grep -q "$1"; }  # board_has REGEX: a row of the board matches

# ---- keys and clicks -------------------------------------------------------------------------------

# Window pixel of a menu point (x, y in screen units): the 800 x 600 picture scaled and centred in the window.
menu_px() {
    local size w h
    size=$(window_size "$WIN")
    w=${size%x*}
    h=${size#*x}
    awk -v w="$w" -v h="$h" -v x="$1" -v y="$2" 'BEGIN {
        s = w / 800 < h / 600 ? w / 800 : h / 600
        printf "%d %d\n", w / 2 + x * s, h / 2 - y * s }'
}

click_menu() {  # click_menu X Y: a click on a point of the menu screen
    local p
    p=$(menu_px "$1" "$2")
    xdotool mousemove --window "$WIN" ${p% *} ${p#* } sleep 0.15 click 1
    sleep 0.2
}

press() {  # press KEY...: each key once the open page takes keys (no transition running)
    local k
    for k in "$@"; do
        wait_state 10 ready=1 || return 1
        echo "$(date +%T.%N | cut -c1-12) $k on: $(head -n 1 "$STATE" 2>/dev/null | cut -d' ' -f1-5,19,26)" >>"${WORK:-/tmp}/keys.trace"
        xdotool key --window "$WIN" "$k"
        sleep 0.15
    done
}

key() { xdotool key --window "$WIN" "$@"; }  # key KEY...: keys for the board (no page open)

type_word() {  # type_word LETTERS: one letter a frame at least, as the typed words of the map and the board need
    # A frame takes one letter: on a loaded machine a frame can last longer than any fixed delay, so each
    # letter waits for the game to write its state twice after it.
    local i
    for ((i = 0; i < ${#1}; i++)); do
        xdotool key --window "$WIN" "${1:i:1}"
        settle || return 1
    done
}

# Window pixel of a cell's centre: scene x = (c - 5) * 40 - 360, y = 280 - (r - 5) * 40, through the
# picture's scale like every other point.
cell_px() { menu_px $((($1 - 5) * 40 - 360)) $((280 - ($2 - 5) * 40)); }

click_cell() {  # click_cell X Y: a click on a board cell (x 5..24, y 5..19)
    local p
    p=$(cell_px "$1" "$2")
    xdotool mousemove --window "$WIN" ${p% *} ${p#* } sleep 0.1 click 1
}

window_shot() {  # window_shot NAME: the game's window alone (nothing without a window: import would wait for a click)
    [ -n "${WIN:-}" ] && import -window "$WIN" "$SHOTS/$1.png" 2>/dev/null
}

# ---- the way of a player: splash, profile, mode, level ---------------------------------------------

player_file() { echo "$HOME_DIR/data/pebblecraft/settings/$1"; }  # player_file NAME: a file of the player data

past_splash() {  # past_splash NAME: starts the game, waits for the press-any-key screen, presses a key and
    # waits for the first page ("newprofile" or "main") to take keys; sets GAME_PID, WIN, STATE
    start_game "$1"
    WIN=$(wait_window 60) || { echo "       $1: no window"; return 1; }
    [ -n "${RESIZE_TO:-}" ] && resize_window "${RESIZE_TO%x*}" "${RESIZE_TO#*x}"
    sleep 2
    screenshot "$1-splash"
    # The splash picture shows for 4 s, then the loading runs, however long a loaded machine takes.
    wait_state 120 scene=splash presskey=1
    sleep 0.5
    screenshot "$1-press-any-key"
    # A key starts the fade into the menus; press again if it was lost.
    local attempt
    for attempt in 1 2 3 4; do
        xdotool key --window "$WIN" space
        wait_until 5 state_is presskey=0 && break
    done
    wait_state 20 scene=map page=newprofile\|main ready=1
}

new_player() {  # new_player NAME: types the name on "newprofile" and waits for "main" to greet the player
    # The editor takes the window's text input, accents as they come, and writes capitals itself.
    xdotool type --window "$WIN" --delay 120 "$1"
    press Return
    wait_state 10 page=main ready=1 player="$(python3 -c 'import sys; print(sys.argv[1].upper().replace(" ", "_"))' "$1")"
}

mark_point() {  # mark_point LEVEL: the level's mark on the map in screen units, from the map's path file
    local path=$BUILD/Data/trajectory1.spl count
    count=$(od -An -t d4 -N4 "$path" | tr -d ' ')
    od -An -v -t f4 -j4 -w4 "$path" | awk -v e="$1" -v n="$count" '
        NR == 1 { length_ = $1; next }
        { v[NR - 2] = $1 }
        END {
            # Points 20 units apart; the marks of a zone share its length between margins of 33.
            zone = length_ / 14
            d = zone * int(e / 5) + 33 + (e % 5 + 0.5) * (zone - 66) / 5 - 2
            k = int(d / 20)
            if (k > n - 2) { k = n - 2; f = 1 } else f = d / 20 - k
            x = v[2 * k] + (v[2 * k + 2] - v[2 * k]) * f
            y = v[2 * k + 1] + (v[2 * k + 3] - v[2 * k + 1]) * f + 30
            printf "%d %d\n", x, y
        }'
}

lost_way() {  # lost_way WHAT: says where a way through the menus broke off, with the game's state
    echo "       $1; the state: $(head -n 1 "$STATE" 2>/dev/null)"
    return 1
}

reach_level() {  # reach_level NAME PLAYER MODE LEVEL [full|first]: a level the way a player reaches it
    # A first start with fresh folders: the name PLAYER typed on "newprofile"; on "main" the mode
    # (0 classic, 1 puzzle, 2 action); on the level map the word that opens every level when LEVEL
    # (0..69) is beyond the first, and a click on the level's mark; "start"; the first help page closed.
    # Ends with the level running and no page open; fails (and says where) otherwise. Sets GAME_PID,
    # WIN, STATE, HOME_DIR. A fifth word starts in full screen ("full") or as a first start ("first").
    # With RESIZE_TO=WxH the window is resized to that size as soon as it is there.
    local name=$1 player=$2 mode=$3 level=$4 attempt point
    fresh_home "$name" "${5:-}"
    past_splash "$name" && state_is page=newprofile || { lost_way "$name: no new-profile page"; return 1; }
    new_player "$player" || { lost_way "$name: no greeting on main"; return 1; }
    local downs=$mode
    while [ "$downs" -gt 0 ]; do press Down; downs=$((downs - 1)); done
    wait_state 5 item=mode$((mode + 1)) || { lost_way "$name: mode$((mode + 1)) not chosen"; return 1; }
    press Return
    wait_state 10 page=mode$((mode + 1)) ready=1 || { lost_way "$name: no level map"; return 1; }
    if [ "$level" -gt 0 ]; then
        # The word is stored newest letter first: its letters are typed from the last one back.
        for attempt in 1 2 3; do
            type_word xzqnbv
            wait_until 3 state_is allopen=1 && break
        done
        state_is allopen=1 || { lost_way "$name: the levels did not open"; return 1; }
    fi
    point=$(mark_point "$level")
    click_menu $point
    wait_state 5 chosen="$level" || { lost_way "$name: level $level not chosen on the map"; return 1; }
    window_shot "$name-map"
    press Return  # "start"
    wait_state 20 scene=game level="$level" page=helpscreen ready=1 || { lost_way "$name: no help page"; return 1; }
    window_shot "$name-help"
    press Return  # "ok" on the first help page: back to play
    wait_state 10 page=- menu=0 running=1 || { lost_way "$name: the level does not run"; return 1; }
}

save_from_level() {  # save_from_level PLAYER [MODE]: "main" from the in-game menu saves the running game (of
    # MODE, 0 classic unless given); up to its note
    press Escape
    check "Escape opens the in-game menu" wait_state 10 page=gameplay ready=1
    press Up  # "main", the last item
    wait_state 5 item=main
    press Return
    check "main saves the game and says so" wait_state 10 page=messageboxok ready=1
    check "the saved game is written" test -s "$(player_file "$1"_"${2:-0}".sav)"
}

resume_saved() {  # resume_saved NAME MOVES: from the note of the saved game back to the board through the load
    # question (screenshot NAME-load-question); the game resumed has made MOVES moves
    press Return  # "ok": the map with "main"
    wait_state 10 scene=map page=main ready=1 item=mode1
    press Return  # "Classic"
    check "the mode with a saved game asks to load it" wait_state 10 page=loadgamequest ready=1
    window_shot "$1-load-question"
    press Return  # "yes"
    check "yes resumes the saved game" wait_state 15 scene=game menu=0 moves="$2"
}

cheat_keys_on() {  # cheat_keys_on: types the word of the board's cheat keys until they are on
    local attempt
    for attempt in 1 2 3; do
        type_word tzqhgmwp
        wait_until 3 state_is cheat=1 && return 0
    done
    return 1
}

# ---- the board -------------------------------------------------------------------------------------

cell_letter() { sed -n "$(($2 - 3))p" "$STATE" | cut -c $(($1 - 4)); }  # cell_letter X Y

ball_left() {  # ball_left X Y KIND FREE: the ball of KIND has left cell (X, Y), where FREE cells were empty
    # before the move. A move that clears no line deals new balls, and one may land in the cell just left,
    # of the same kind by chance: once cells were dealt (fewer empty than before), such a ball proves nothing.
    [ "$(cell_letter "$1" "$2")" != "$3" ] || [ "$(state_value free)" -lt "$4" ]
}

find_move() {  # prints "X Y TX TY": a free ball and an empty neighbour cell of it
    # A move that makes no line comes first: a line scores, and enough of them end the level under a flow
    # that goes on playing it.
    awk 'NR > 1 { row[NR - 2] = $0 }
         function at(x, y) { return x < 1 || x > 20 || y < 0 || y > 14 ? "" : substr(row[y], x, 1) }
         function run(x, y, dx, dy, c, fx, fy,   n) { # same-coloured balls from (x, y) on, (fx, fy) left empty
           for (n = 0; (x != fx || y != fy) && at(x, y) == c; n++) { x += dx; y += dy }
           return n
         }
         function lines(x, y, c, fx, fy) { # does c moved from (fx, fy) into (x, y) make a line?
           return run(x - 1, y, -1, 0, c, fx, fy) + run(x + 1, y, 1, 0, c, fx, fy) >= 2 ||
                  run(x, y - 1, 0, -1, c, fx, fy) + run(x, y + 1, 0, 1, c, fx, fy) >= 2 ||
                  run(x - 1, y - 1, -1, -1, c, fx, fy) + run(x + 1, y + 1, 1, 1, c, fx, fy) >= 2 ||
                  run(x - 1, y + 1, -1, 1, c, fx, fy) + run(x + 1, y - 1, 1, -1, c, fx, fy) >= 2
         }
         function offer(x, y, tx, ty,   c) {
           if (at(tx, ty) != ".") return
           c = at(x, y)
           if (!lines(tx, ty, c, x, y)) { print x + 4, y + 5, tx + 4, ty + 5; found = 1; exit }
           if (first == "") first = (x + 4) " " (y + 5) " " (tx + 4) " " (ty + 5)
         }
         END {
           for (y = 0; y < 15; y++) for (x = 1; x <= 20; x++) {
             if (at(x, y) !~ /[a-h]/) continue
             offer(x, y, x - 1, y); offer(x, y, x + 1, y); offer(x, y, x, y - 1); offer(x, y, x, y + 1)
           }
           if (!found && first != "") print first
         }' "$STATE"
}

empty_cells() {  # empty_cells [COUNT]: prints COUNT empty cells "X,Y" spread over the board, or every one
    awk -v n="${1:-0}" 'NR > 1 { row[NR - 2] = $0 }
         END {
           if (n == 0) {
             for (y = 0; y < 15; y++) for (x = 1; x <= 20; x++)
               if (substr(row[y], x, 1) == ".") print x + 4 "," y + 5
             exit
           }
           for (step = 4; step >= 1 && n > 0; step--)
             for (y = 1; y < 15 && n > 0; y += step) for (x = 2; x <= 20 && n > 0; x += step)
               if (substr(row[y], x, 1) == "." && !taken[x, y]) { taken[x, y] = 1; print x + 4 "," y + 5; n-- }
         }' "$STATE"
}

close_tips() {  # close_tips: closes tip balloons on the board (they take the board's clicks) until none is left
    local deadline=$((SECONDS + 20)) point
    while [ $SECONDS -lt $deadline ]; do
        case "$(state_value tip)" in
        0) return 0 ;;
        2)
            point=$(state_value tipbutton)
            click_menu "${point%,*}" "${point#*,}"
            settle
            ;;
        *) sleep 0.1 ;;
        esac
    done
    return 1
}

make_move() {  # make_move NAME [drag]: selects a free ball and sends it to an empty neighbour; screenshots
    # NAME-selected and NAME-moved; checks that the ball left its cell for the target (or went with a line).
    # With "drag" the ball is dragged there and let go instead of two clicks (screenshot NAME-dragged).
    close_tips
    local move kind moves free how=${2:-click} from to
    moves=$(state_value moves)
    free=$(state_value free)
    move=$(find_move)
    check "the $1 board has a ball with an empty neighbour" test -n "$move"
    [ -n "$move" ] || return 1
    set -- "$1" $move
    kind=$(cell_letter "$2" "$3")
    if [ "$how" = drag ]; then
        from=$(cell_px "$2" "$3")
        to=$(cell_px "$4" "$5")
        # The game counts the button's time down by its frames: the hold lasts until it has run some.
        xdotool mousemove --window "$WIN" ${from% *} ${from#* } sleep 0.1 mousedown 1
        settle
        xdotool mousemove --window "$WIN" ${to% *} ${to#* }
        settle
        settle
        xdotool mouseup 1
        check "a ball dragged and let go over the empty neighbour moves there" \
            wait_state 10 moves=$((moves + 1)) moving=0
        set -- "$1-dragged" "$2" "$3" "$4" "$5"
    else
        click_cell "$2" "$3"
        check "a click on the ball selects it" wait_state 5 selected="$2,$3"
        window_shot "$1-selected"
        click_cell "$4" "$5"
        check "a click on the empty neighbour moves it" wait_state 10 moves=$((moves + 1)) moving=0
    fi
    settle  # the state file catches up with the landing's removal pass
    local landed
    landed=$(cell_letter "$4" "$5")
    check "the ball left its cell" ball_left "$2" "$3" "$kind" "$free"
    check "the target holds the ball or it went with a line" test "$landed" = "$kind" -o "$landed" = "."
    window_shot "$1-moved"
}

# ---- screens and windows of other sizes ------------------------------------------------------------

# Xvfb picks a free display number itself and reports it on a pipe. Without -noreset it would reset when
# its last client leaves, and a game starting right after another one had closed could find no display.
# Without -r a key whose release comes late (xdotool held up on a loaded machine) repeats: a second Return
# then takes the next page's first item.
xvfb_start() {  # xvfb_start WxH NAME: a new Xvfb screen; sets XVFB_NEW_PID, XVFB_NEW_DISPLAY; false if none
    local fifo=$WORK/$2-display
    rm -f "$fifo"
    XVFB_NEW_DISPLAY=""
    exec 4>"$fifo"
    Xvfb -displayfd 4 -screen 0 "$1x24" -wr -r -nolisten tcp -noreset >>"$WORK/$2-xvfb.log" 2>&1 &
    XVFB_NEW_PID=$!
    exec 4>&-
    local _
    for _ in $(seq 100); do
        [ -s "$fifo" ] && break
        sleep 0.1
    done
    [ -s "$fifo" ] || return 1
    XVFB_NEW_DISPLAY=:$(head -n 1 "$fifo")
}

use_screen() {  # use_screen WxH: a screen of that size (a second Xvfb) for the games started next; sets SCREEN_PID
    xvfb_start "$1" "screen-$1"
    local started=$?
    SCREEN_PID=$XVFB_NEW_PID
    [ $started -eq 0 ] || { echo "       no $1 screen"; return 1; }
    MAIN_DISPLAY=${MAIN_DISPLAY:-$DISPLAY}
    DISPLAY=$XVFB_NEW_DISPLAY
}

main_screen() {  # main_screen: back to the driver's screen; the screen of use_screen goes away
    [ -n "${MAIN_DISPLAY:-}" ] && DISPLAY=$MAIN_DISPLAY
    MAIN_DISPLAY=""
    if [ -n "${SCREEN_PID:-}" ]; then
        kill "$SCREEN_PID" 2>/dev/null
        wait "$SCREEN_PID" 2>/dev/null
    fi
    SCREEN_PID=""
}

resize_window() {  # resize_window W H: resizes the game's window as a player drags its border
    # Into the screen's corner first, so that the grown window still lies wholly on the screen.
    xdotool windowmove "$WIN" 0 0
    xdotool windowsize "$WIN" "$1" "$2"
    wait_until 10 eval '[ "$(window_size "$WIN")" = "$1x$2" ]'
}

saved_game_holds_state() {  # saved_game_holds_state PLAYER: the saved game has the moves and board of the last state
    local shown
    shown=$("$BUILD/e2e_saved_game" "$(player_file "$1"_0.sav)" show) || return 1
    [ "$(echo "$shown" | head -n 1)" = "moves=$(state_value moves)" ] &&
        [ "$(echo "$shown" | tail -n +2)" = "$(board_rows)" ]
}
