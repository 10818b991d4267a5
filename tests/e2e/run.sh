#!/usr/bin/env bash
# End-to-end tests: the real game in a real window under Xvfb with Mesa's software OpenGL, driven by
# xdotool. Usage: tests/e2e/run.sh [BUILD-FOLDER]
#
# Every flow is a function named flow_<name>, listed in FLOWS at the bottom. A flow starts the game with
# start_game, talks to it with the helpers below and records each outcome with check. Screenshots are
# kept under BUILD/e2e-screenshots/. Each game run gets fresh per-user folders in a temporary directory.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
GAME=$BUILD/pebblecraft
WM_DELETE=$BUILD/e2e_wm_delete
SHOTS=$BUILD/e2e-screenshots
LOGS=$BUILD/e2e-logs
WORK=$(mktemp -d /tmp/pebblecraft-e2e.XXXXXX)
PASSED=0
FAILED=0
XVFB_PID=""
GAME_PID=""

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    # Keep what the programs printed, for a failed run.
    rm -rf "$LOGS"
    mkdir -p "$LOGS"
    cp "$WORK"/*.out "$WORK"/*.err "$WORK"/*.log "$LOGS"/ 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# ---- helpers -------------------------------------------------------------------------------------

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

# ---- flows ---------------------------------------------------------------------------------------

flow_window_and_single_instance() {
    fresh_home window
    start_game window
    local id
    id=$(wait_window 60)
    check "the window titled Pebblecraft appears" test -n "$id"
    [ -n "$id" ] || { stop_game; return; }
    check "its client area is 800 x 600" equals "$(window_size "$id")" "800x600"
    sleep 1
    screenshot window
    check "a screenshot is taken" equals "$(png_size "$SHOTS/window.png")" "1024x768"
    # The screen's root is white; the window is centred on it and the splash picture fills it to its corners.
    check "the window is centred and shows the splash picture" \
        test "$(pixel "$SHOTS/window.png" 113 85)" != "255,255,255" -a "$(pixel "$SHOTS/window.png" 910 682)" != "255,255,255"
    check "the screen around it is untouched" equals "$(pixel "$SHOTS/window.png" 111 83),$(pixel "$SHOTS/window.png" 913 685)" "255,255,255,255,255,255"

    local second
    game_env "$GAME" >"$WORK/second.out" 2>"$WORK/second.err" &
    second=$!
    wait_exit "$second" 2
    check "a second copy ends within two seconds" test "$EXIT_CODE" -ne 124
    check "the second copy exits with code 0" equals "$EXIT_CODE" 0
    [ "$EXIT_CODE" -eq 124 ] && kill "$second" 2>/dev/null
    check "the second copy says nothing" test ! -s "$WORK/second.err"
    check "the first copy keeps running" running "$GAME_PID"

    close_window "$id"
    wait_exit "$GAME_PID" 10
    check "closing the window ends the game with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_full_screen() {
    fresh_home full full
    start_game full
    local id
    id=$(wait_window 60)
    check "the full-screen window appears" test -n "$id"
    [ -n "$id" ] || { stop_game; return; }
    sleep 1
    check "it covers the screen" equals "$(window_size "$id")" "1024x768"
    screenshot full-screen
    # The 4:3 screen takes the picture without bars: no white root left in either corner.
    check "the picture fills it" test "$(pixel "$SHOTS/full-screen.png" 0 0)" != "255,255,255" -a \
        "$(pixel "$SHOTS/full-screen.png" 1023 767)" != "255,255,255"
    close_window "$id"
    wait_exit "$GAME_PID" 10
    check "it closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_stale_lock() {
    fresh_home stale
    # A copy killed without cleaning up leaves its lock file behind; only a held lock counts.
    mkdir -p "$HOME_DIR/config/pebblecraft"
    echo stale >"$HOME_DIR/config/pebblecraft/instance.lock"
    start_game stale
    local id
    id=$(wait_window 60)
    check "a stale lock file does not block the start" test -n "$id"
    [ -n "$id" ] && close_window "$id"
    wait_exit "$GAME_PID" 10
    check "it still closes with code 0" equals "$EXIT_CODE" 0
    GAME_PID=""
}

flow_no_display() {
    fresh_home nodisplay
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$HOME_DIR/config" XDG_DATA_HOME="$HOME_DIR/data" \
        "$GAME" >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err" &
    local pid=$!
    wait_exit "$pid" 10
    [ "$EXIT_CODE" -eq 124 ] && kill "$pid" 2>/dev/null
    check "without a display the game ends with a non-zero code" test "$EXIT_CODE" -ne 0 -a "$EXIT_CODE" -ne 124
    check "and does not crash" test "$EXIT_CODE" -lt 128
    check "and says why on standard error" file_has "$WORK/nodisplay.err" "needs a display"
}

flow_missing_data() {
    fresh_home nodata
    # The executable alone, with no Data folder beside it and none installed.
    mkdir -p "$WORK/nodata/bin"
    cp "$GAME" "$WORK/nodata/bin/pebblecraft"
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$HOME_DIR/config" XDG_DATA_HOME="$HOME_DIR/data" \
        "$WORK/nodata/bin/pebblecraft" >"$WORK/nodata.out" 2>"$WORK/nodata.err" &
    local pid=$!
    wait_exit "$pid" 10
    [ "$EXIT_CODE" -eq 124 ] && kill "$pid" 2>/dev/null
    check "without its data the game ends with code 1" equals "$EXIT_CODE" 1
    check "and shows the loading error" file_has "$WORK/nodata.err" "Can't load"
}

flow_render_check() {
    # The render layer's own check in a real window: pixels of text, sprites of the three blend modes, a
    # picture with an alpha plane, lightning, batched and unbatched pictures compared, and, once the data
    # builder has filled the Data folder, the built fonts and pictures. It holds its last frame for a
    # screenshot of the real window.
    local args=("$SHOTS/render-check.png" 2000)
    [ -e "$BUILD/Data/targa.dat" ] && args+=("$SHOTS/render-check-data.png")
    fresh_home render
    game_env "$BUILD/e2e_render_check" "${args[@]}" >"$WORK/render.out" 2>"$WORK/render.err" &
    GAME_PID=$!
    local tenths=300
    while [ "$tenths" -gt 0 ] && running "$GAME_PID" && ! file_has "$WORK/render.out" "holding the picture"; do
        sleep 0.1
        tenths=$((tenths - 1))
    done
    sleep 0.3
    screenshot render-check-window
    wait_exit "$GAME_PID" 60
    [ "$EXIT_CODE" -eq 124 ] && kill "$GAME_PID" 2>/dev/null
    GAME_PID=""
    check "the render check passes in a real window" equals "$EXIT_CODE" 0
    grep -i "fail" "$WORK/render.out" | sed 's/^/       /'
    check "it saves the drawn picture" equals "$(png_size "$SHOTS/render-check.png")" "800x600"
}

# ---- a level in the game scene, reached through the temporary developer route --------------------

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


# ---- the menus: first start, profiles, options, exit ----------------------------------------------

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

FLOWS=(
    flow_window_and_single_instance
    flow_full_screen
    flow_stale_lock
    flow_no_display
    flow_missing_data
    flow_render_check
    flow_level_moves
    flow_pause_bomb_and_level_complete
    flow_defeat_greying
    flow_first_start_and_exit
    flow_classic_save_and_resume
    flow_second_profile
)
# E2E_FLOWS="flow_a flow_b" runs only those.
[ -n "${E2E_FLOWS:-}" ] && read -ra FLOWS <<<"$E2E_FLOWS"

# ---- set-up --------------------------------------------------------------------------------------

for tool in Xvfb xdotool import identify; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (run tools/install-deps.sh)"; exit 1; }
done
[ -x "$GAME" ] || { echo "e2e: $GAME is missing (make build)"; exit 1; }
for program in "$WM_DELETE" "$BUILD/e2e_render_check"; do
    [ -x "$program" ] || { echo "e2e: $program is missing (make build)"; exit 1; }
done
# The data builder fills BUILD/Data; until it has run, the game starts on an empty data folder.
mkdir -p "$BUILD/Data" "$SHOTS"

# Xvfb picks a free display number itself and reports it on a pipe.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -wr -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
done
[ -s "$WORK/display" ] || { echo "e2e: Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n 1 "$WORK/display")
echo "e2e: Xvfb on $DISPLAY, screenshots in $SHOTS"

for flow in "${FLOWS[@]}"; do
    echo "$flow"
    "$flow"
    stop_game
done

echo "e2e: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
