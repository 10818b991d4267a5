#!/usr/bin/env bash
# Crash safety of the player files, tried for real: the game is killed with SIGKILL at a random moment
# while it saves, and every player file must then be the one before or the new one, complete.
#
#   tests/e2e/crash_safety.sh BUILD-FOLDER [ROUNDS]     (CRASH_ROUNDS also sets the rounds; default 4)
#
# A round reaches a level through the menus and makes a move, keeps a copy of the player files, then
# either closes the window (the level in progress, the profiles, records and settings are written) or
# leaves the level through the in-game menu's "main" (the saved game is written), and kills the game
# 0..400 ms later. Afterwards the game must start on the files left and reach its first page.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?build folder}" && pwd)
ROUNDS=${2:-${CRASH_ROUNDS:-4}}
GAME=$BUILD/pebblecraft
WM_DELETE=$BUILD/e2e_wm_delete
SHOTS=$BUILD/crash-screenshots
LOGS=$BUILD/crash-logs
WORK=$(mktemp -d /tmp/pebblecraft-crash.XXXXXX)
PASSED=0
FAILED=0
GAME_PID=""
XVFB_PID=""
SEED=${CRASH_SEED:-$$}
RANDOM=$SEED

# shellcheck source=lib.sh
source "$HERE/lib.sh"
# shellcheck source=display.sh
source "$HERE/display.sh"

trap finish_run EXIT
mkdir -p "$SHOTS"

# The size a complete file of each kind has; profiles.dat holds 156 bytes a profile.
expected_size() {
    case "$1" in
    settings) echo 48 ;;
    records.dat) echo 20160 ;;
    hiscore.dat) echo 1080 ;;
    mode3.dat) echo 7560 ;;
    surrecs.dat) echo 13440 ;;
    *.sav) echo 99409 ;;
    profiles.dat) echo 156 ;;
    *) echo "" ;;
    esac
}

rand_delay() { printf '0.%03d' $((RANDOM % 400)); }  # seconds, 0..0.399

player_files() {  # every player file of the home, one path a line
    ls "$HOME_DIR/config/pebblecraft/settings" "$HOME_DIR"/data/pebblecraft/settings/* 2>/dev/null | grep -v '\.new$'
}

# Each file is the copy kept before the save, or a complete file of its kind that differs from it.
check_files() {
    local round=$1 path name before size want bad=0
    for before in "$WORK/before"/*; do
        [ -e "$before" ] || continue
        name=${before##*/}
        path=$HOME_DIR/data/pebblecraft/settings/$name
        [ "$name" = settings ] && path=$HOME_DIR/config/pebblecraft/settings
        [ -e "$path" ] || { echo "       round $round: $name vanished"; bad=1; }
    done
    while read -r path; do
        [ -n "$path" ] || continue
        name=${path##*/}
        cmp -s "$path" "$WORK/before/$name" && continue
        size=$(stat -c %s "$path")
        want=$(expected_size "$name")
        if [ "$name" = profiles.dat ]; then
            [ "$size" -gt 0 ] && [ $((size % want)) -eq 0 ] || { echo "       round $round: $name has $size bytes"; bad=1; }
        elif [ -n "$want" ] && [ "$size" -ne "$want" ]; then
            echo "       round $round: $name has $size bytes, not $want"
            bad=1
        fi
    done < <(player_files)
    [ "$bad" -eq 0 ]
}

echo "crash safety: seed $SEED (CRASH_SEED=$SEED repeats the delays of the kills)"
start_display 1024x768 || exit 1
KILLED=0
MIDSAVE=0
for round in $(seq "$ROUNDS"); do
    name=crash-$round
    reach_level "$name" Crash 0 0 || { check "round $round: the level is reached" false; stop_game_process; continue; }
    make_move "$name" >/dev/null 2>&1
    # What a saved game from an earlier visit and the files of the first start leave on the disk.
    rm -rf "$WORK/before"
    mkdir -p "$WORK/before"
    while read -r path; do cp -p "$path" "$WORK/before/"; done < <(player_files)
    delay=$(rand_delay)
    if [ $((round % 2)) -eq 1 ]; then
        close_window "$WIN"
    else
        press Escape
        wait_state 10 page=gameplay ready=1
        press Up
        wait_state 5 item=main
        xdotool key --window "$WIN" Return
    fi
    sleep "$delay"
    if [ -n "$(game_process)" ]; then
        KILLED=$((KILLED + 1))
        stop_game_process KILL
    else
        wait "$GAME_PID" 2>/dev/null
        GAME_PID=""
    fi
    # A file written beside its old one and not yet renamed: the kill came in the middle of a save.
    ls "$HOME_DIR"/data/pebblecraft/settings/*.new "$HOME_DIR"/config/pebblecraft/*.new >/dev/null 2>&1 &&
        MIDSAVE=$((MIDSAVE + 1))
    check "round $round (killed ${delay}s after asking): every player file is the old one or a complete new one" \
        check_files "$round"
    # The game starts on what was left.
    start_game "$name-again"
    WIN=$(wait_window 60)
    check "round $round: the game starts again on the files left" wait_state 120 scene=splash presskey=1
    stop_game_process
done
echo "crash safety: $ROUNDS rounds, $KILLED killed while running, $MIDSAVE in the middle of a save; $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
