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
#
# A save at full speed takes well under a millisecond, so those kills mostly land beside it. The second
# part makes them land inside: with PEBBLECRAFT_SLOW_WRITES the game waits before every chunk it writes
# of a player file, before the flush and before the rename. CRASH_LANES games (default 3) run at once,
# each on a display of its own and on the player folders the normal rounds left. A round starts the
# game on what its last round left (the check that it still starts), waits until the start-up has read
# the files, closes the window (every fourth round first resumes the saved level and closes it there)
# and, once the first file is being written, kills the game at a random moment of the writes. A kill
# that leaves a file written beside its old one (".new") landed inside a write. The part ends once
# CRASH_INSIDE kills (default 50) landed inside, or after CRASH_SLOW_ROUNDS rounds a lane (default 150).
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

# Each file is the copy kept before the save (in BEFORE, default WORK/before), or a complete file of its
# kind that differs from it.
check_files() {
    local round=$1 path name before size want bad=0 kept=${BEFORE:-$WORK/before}
    for before in "$kept"/*; do
        [ -e "$before" ] || continue
        name=${before##*/}
        path=$HOME_DIR/data/pebblecraft/settings/$name
        [ "$name" = settings ] && path=$HOME_DIR/config/pebblecraft/settings
        [ -e "$path" ] || { echo "       round $round: $name vanished"; bad=1; }
    done
    while read -r path; do
        [ -n "$path" ] || continue
        name=${path##*/}
        cmp -s "$path" "$kept/$name" && continue
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
    reach_level "$name" CRASH 0 0 || { check "round $round: the level is reached" false; stop_game_process; continue; }
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

# ---- kills inside the writes ---------------------------------------------------------------------------

SLOW_MS=${CRASH_SLOW_MS:-40}
LANES=${CRASH_LANES:-3}
INSIDE_WANTED=${CRASH_INSIDE:-50}
SLOW_ROUNDS=${CRASH_SLOW_ROUNDS:-150}
SEED_HOME=$WORK/crash-1

lane_window() {  # lane_window: the window of this lane's game (by its process), waiting up to 60 s
    local deadline=$((SECONDS + 60)) id pid
    while [ $SECONDS -lt $deadline ]; do
        pid=$(game_process)
        [ -n "$pid" ] && id=$(xdotool search --pid "$pid" --name '^Pebblecraft$' 2>/dev/null | head -n 1)
        [ -n "${id:-}" ] && { echo "$id"; return 0; }
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# One lane: rounds on its own player folders until the stop file appears; one line a round in its
# results: "round inside(0/1) files-ok(0/1) started(0/1)".
slow_lane() {
    local lane=$1 round=0 inside ok started delay resume
    # A display of its own: without a window manager only the window with the focus runs its frames.
    xvfb_start 1024x768 "lane-$lane" || { echo "last 0 1 0" >>"$WORK/slow-$lane.results"; return; }
    local lane_xvfb=$XVFB_NEW_PID
    export DISPLAY=$XVFB_NEW_DISPLAY
    HOME_DIR=$WORK/slow-$lane
    BEFORE=$WORK/before-$lane
    cp -a "$SEED_HOME" "$HOME_DIR"
    rm -f "$HOME_DIR"/data/pebblecraft/settings/*.new "$HOME_DIR"/config/pebblecraft/*.new
    while [ ! -e "$WORK/slow-stop" ] && [ "$round" -lt "$SLOW_ROUNDS" ]; do
        round=$((round + 1))
        rm -rf "$BEFORE"
        mkdir -p "$BEFORE"
        while read -r path; do cp -p "$path" "$BEFORE/"; done < <(player_files)
        STATE=$WORK/slow-$lane.state
        rm -f "$STATE"
        game_env env PEBBLECRAFT_STATE_FILE="$STATE" PEBBLECRAFT_SLOW_WRITES="$SLOW_MS" "$GAME" \
            >"$WORK/slow-$lane.out" 2>"$WORK/slow-$lane.err" &
        GAME_PID=$!
        WIN=$(lane_window) || WIN=""
        started=0
        wait_state 240 scene=splash presskey=1 && started=1
        [ "$started" -eq 1 ] || echo "       slow $lane.$round: no start; running $(running "$GAME_PID" && echo yes || echo no)," \
            "state: $(head -c 80 "$STATE" 2>/dev/null), stderr: $(tail -c 200 "$WORK/slow-$lane.err")" >>"$WORK/slow-$lane.log"
        resume=0
        if [ "$started" -eq 1 ] && [ $((round % 4)) -eq 0 ] && [ -e "$(player_file CRASH_0.sav)" ]; then
            # Into the saved level, so that closing writes the saved game too.
            xdotool key --window "$WIN" space
            if wait_state 20 scene=map page=main ready=1 item=mode1; then
                press Return
                wait_state 10 page=loadgamequest ready=1 && press Return &&
                    wait_state 20 scene=game menu=0 && resume=1
            fi
        fi
        touch "$WORK/slow-mark-$lane"
        [ -n "$WIN" ] && "$WM_DELETE" "$WIN" >/dev/null 2>&1
        # The kill comes at a random moment of the writes: after the first file begins, within the about
        # 20 waits of the settings and the player files (a saved game first takes 9 more).
        fresh_new() { find "$HOME_DIR" -name '*.new' -newer "$WORK/slow-mark-$lane" 2>/dev/null | grep -q .; }
        wait_until 30 fresh_new
        delay=$(awk -v r="$RANDOM" -v ms="$SLOW_MS" -v more="$resume" \
            'BEGIN { printf "%.3f", r / 32767 * ms * (18 + 9 * more) / 1000 }')
        sleep "$delay"
        inside=0
        find "$HOME_DIR" -name '*.new' -newer "$WORK/slow-mark-$lane" 2>/dev/null | grep -q . && inside=1
        stop_game_process KILL
        find "$HOME_DIR" -name '*.new' -newer "$WORK/slow-mark-$lane" 2>/dev/null | grep -q . && inside=1
        ok=1
        check_files "slow $lane.$round" >>"$WORK/slow-$lane.log" || ok=0
        echo "$round $inside $ok $started" >>"$WORK/slow-$lane.results"
    done
    # The files of the last round: the game starts on them too.
    STATE=$WORK/slow-$lane.state
    rm -f "$STATE"
    game_env env PEBBLECRAFT_STATE_FILE="$STATE" "$GAME" >"$WORK/slow-$lane.out" 2>&1 &
    GAME_PID=$!
    started=0
    wait_state 240 scene=splash presskey=1 && started=1
    echo "last 0 1 $started" >>"$WORK/slow-$lane.results"
    stop_game_process KILL
    kill "$lane_xvfb" 2>/dev/null
    wait "$lane_xvfb" 2>/dev/null
}

slow_counts() {  # prints "rounds inside lost not-started" over every lane so far
    cat "$WORK"/slow-*.results 2>/dev/null | awk '
        $1 != "last" { rounds++; inside += $2 } { lost += 1 - $3; bad += 1 - $4 }
        END { printf "%d %d %d %d\n", rounds, inside, lost, bad }'
}

if [ -d "$SEED_HOME" ] && [ "$LANES" -gt 0 ]; then
    rm -f "$WORK/slow-stop"
    LANE_PIDS=()
    for lane in $(seq "$LANES"); do
        slow_lane "$lane" &
        LANE_PIDS+=($!)
    done
    while :; do
        read -r rounds inside lost notstarted < <(slow_counts)
        [ "$inside" -ge "$INSIDE_WANTED" ] && break
        running=0
        for pid in "${LANE_PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && running=1; done
        [ "$running" -eq 1 ] || break
        sleep 1
    done
    touch "$WORK/slow-stop"
    wait "${LANE_PIDS[@]}" 2>/dev/null
    read -r rounds inside lost notstarted < <(slow_counts)
    cat "$WORK"/slow-*.log 2>/dev/null
    check "slow writes: at least $INSIDE_WANTED kills landed inside a write ($inside of $rounds)" \
        test "$inside" -ge "$INSIDE_WANTED"
    check "slow writes: no file lost or torn in $rounds kills" test "$lost" -eq 0
    check "slow writes: the game started on every set of files left" test "$notstarted" -eq 0
    echo "crash safety, slow writes ($SLOW_MS ms a wait, $LANES lanes): $rounds kills, $inside inside a write, $lost with a file lost"
else
    check "slow writes: the normal rounds left player folders to start from" false
fi
echo "crash safety: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
