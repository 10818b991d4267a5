# Helpers of the end-to-end flows, sourced by run.sh. They use the driver's variables: GAME, BUILD, WORK,
# SHOTS, WM_DELETE, DISPLAY, and set GAME_PID (the running game), HOME_DIR (its per-user folders), WIN
# (its window) and STATE (its state file) for the flows.
#
# A flow starts a game (start_game, past_splash or start_level), acts on it with keys and clicks (key,
# click_menu, click_cell) and records each outcome with check DESCRIPTION COMMAND...; it ends by closing
# the window (close_window, wait_exit) and clears GAME_PID, or leaves a failed game to the driver's
# stop_game.

# ---- processes, windows, pictures ---------------------------------------------------------------

check() {  # check DESCRIPTION COMMAND...: runs the command; success passes
    local what=$1
    shift
    if "$@"; then
        PASSED=$((PASSED + 1))
        echo "  ok   $what"
    else
        FAILED=$((FAILED + 1))
        echo "  FAIL $what"
    fi
}

fresh_home() {  # fresh_home NAME [full]: per-user folders for one run, windowed unless "full"; sets HOME_DIR
    HOME_DIR=$WORK/$1
    mkdir -p "$HOME_DIR/config/pebblecraft" "$HOME_DIR/data"
    write_settings "$([ "${2:-}" = full ] && echo 1 || echo 0)"
}

write_settings() {  # write_settings FULL-SCREEN(0/1): the 48-byte settings value with default volumes
    # music 50, sound 50, 800 x 600, mode 1, true colour, spare flag, no drawn cursor, no profiles,
    # the full-screen flag, ball speed 70.0 (little-endian).
    {
        printf '\x32\0\0\0\x32\0\0\0\x20\x03\0\0\x58\x02\0\0\x01\0\0\0\x01\0\0\0\x01\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0'
        printf "\\x0$1\\0\\0\\0"
        printf '\0\0\x8c\x42'
    } >"$HOME_DIR/config/pebblecraft/settings"
}

game_env() {  # the environment of a game run under our display and per-user folders
    env DISPLAY="$DISPLAY" LIBGL_ALWAYS_SOFTWARE=1 XDG_CONFIG_HOME="$HOME_DIR/config" \
        XDG_DATA_HOME="$HOME_DIR/data" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$@"
}

start_game() {  # start_game LOG-NAME [GAME-PATH]: runs the game in the background; sets GAME_PID
    game_env "${2:-$GAME}" >"$WORK/$1.out" 2>"$WORK/$1.err" &
    GAME_PID=$!
}

wait_window() {  # wait_window [SECONDS]: prints the id of the window titled "Pebblecraft"
    local deadline=$((SECONDS + ${1:-20})) id
    while [ $SECONDS -lt $deadline ]; do
        # This run's own window (a window of an earlier copy may still be going away), else the newest.
        id=$(xdotool search --pid "$GAME_PID" --name '^Pebblecraft$' 2>/dev/null | head -n 1)
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

# ---- the game scene: cells and the state file ----------------------------------------------------

# Window pixel of a cell's centre: scene x = (c - 5) * 40 - 360, y = 280 - (r - 5) * 40.
cell_px() { echo "$((($1 - 5) * 40 + 40)) $((($2 - 5) * 40 + 20))"; }

start_level() {  # start_level NAME MODE:LEVEL[:SECONDS] [PIECES]: sets GAME_PID, WIN and STATE
    fresh_home "$1"
    STATE=$WORK/$1.state
    game_env env PEBBLECRAFT_DEV_LEVEL="$2" PEBBLECRAFT_DEV_PIECES="${3:-}" PEBBLECRAFT_DEV_STATE="$STATE" \
        "$GAME" >"$WORK/$1.out" 2>"$WORK/$1.err" &
    GAME_PID=$!
    WIN=$(wait_window 60)
    local deadline=$((SECONDS + 120))  # the splash shows first; the level starts after the start-up
    while [ $SECONDS -lt $deadline ] && [ ! -s "$STATE" ]; do sleep 0.2; done
    [ -s "$STATE" ]
}

state_value() { head -n 1 "$STATE" | tr ' ' '\n' | sed -n "s/^$1=//p"; }

cell_letter() { sed -n "$(($2 - 3))p" "$STATE" | cut -c $(($1 - 4)); }  # cell_letter X Y

find_move() {  # prints "X Y TX TY": a free ball and an empty neighbour cell of it
    awk 'NR > 1 { row[NR - 2] = $0 }
         END {
           for (y = 0; y < 15; y++) for (x = 1; x <= 20; x++) {
             if (substr(row[y], x, 1) !~ /[a-h]/) continue
             if (x > 1 && substr(row[y], x - 1, 1) == ".") { print x + 4, y + 5, x + 3, y + 5; exit }
             if (x < 20 && substr(row[y], x + 1, 1) == ".") { print x + 4, y + 5, x + 5, y + 5; exit }
             if (y > 0 && substr(row[y - 1], x, 1) == ".") { print x + 4, y + 5, x + 4, y + 4; exit }
             if (y < 14 && substr(row[y + 1], x, 1) == ".") { print x + 4, y + 5, x + 4, y + 6; exit }
           }
         }' "$STATE"
}

click_cell() {  # click_cell X Y
    local p
    p=$(cell_px "$1" "$2")
    xdotool mousemove --window "$WIN" ${p% *} ${p#* } sleep 0.1 click 1
}

window_shot() { import -window "$WIN" "$SHOTS/$1.png" 2>/dev/null; }

# ---- the menus ---------------------------------------------------------------------------------

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

key() { xdotool key --window "$WIN" "$@"; sleep 0.7; }  # key KEY...: keys, then time for the transitions

bar_colour() {  # bar_colour: the colour at the loading bar's right end, empty when no picture was taken
    window_shot probe
    pixel "$SHOTS/probe.png" 540 585
}

orange() {  # orange R,G,B: the lit loading bar
    local r=${1%%,*} b=${1##*,}
    [ -n "$1" ] && [ "$r" -gt 150 ] && [ "$r" -gt $((b + 60)) ]
}

past_splash() {  # past_splash NAME: starts the game, waits for the press-any-key screen and presses a key
    start_game "$1"
    WIN=$(wait_window 60)
    sleep 2
    screenshot "$1-splash"
    # The splash picture shows for 4 s, then the loading runs: wait for its bar to end full, however
    # long a loaded machine takes.
    local deadline=$((SECONDS + 120)) attempt colour
    until orange "$(bar_colour)" || [ $SECONDS -ge $deadline ]; do sleep 0.5; done
    sleep 1
    screenshot "$1-press-any-key"
    # A key starts the fade into the menus; press again if the load screen is still there.
    for attempt in 1 2 3 4; do
        key space
        deadline=$((SECONDS + 10))
        while [ $SECONDS -lt $deadline ]; do
            colour=$(bar_colour)
            [ -n "$colour" ] && ! orange "$colour" && break 2
            sleep 0.3
        done
    done
    sleep 2.5  # the fade-out, then the page's opening
    rm -f "$SHOTS/probe.png"
}

player_file() { echo "$HOME_DIR/data/pebblecraft/settings/$1"; }
