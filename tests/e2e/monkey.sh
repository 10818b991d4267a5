#!/usr/bin/env bash
# The monkey: random input on the real game built with ASan and UBSan, under Xvfb. Keys, clicks, double
# clicks, drags, right clicks, typed letters (the map's word that opens every level among them), focus
# changes, hiding and showing the window, resizes. Half the time full screen on a 1920 x 1080 screen, half
# in a window on a 1280 x 800 screen; the options page switches between them when the monkey finds it.
#
#   tests/e2e/monkey.sh BUILD-FOLDER SECONDS     (the game at BUILD-FOLDER/pebblecraft, its Data beside it)
#
# Fails on a crash (an exit other than 0, which the game's own "exit" gives), any sanitizer report, a game
# that does not close when asked, or resident memory growing after the first minute of a run (half the
# phase for short runs; see memory_check). MONKEY_SEED repeats a run; MONKEY_ONLY=full or window gives all
# the time to one phase. Logs go to BUILD/monkey-logs/, the memory readings among them.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:?build folder}" && pwd)
TOTAL=${2:-60}
GAME=$BUILD/pebblecraft
WM_DELETE=$BUILD/e2e_wm_delete
SHOTS=$BUILD/monkey-screenshots
LOGS=$BUILD/monkey-logs
WORK=$(mktemp -d /tmp/pebblecraft-monkey.XXXXXX)
PASSED=0
FAILED=0
GAME_PID=""
XVFB_PID=""
RANDOM=${MONKEY_SEED:-$$}

# shellcheck source=lib.sh
source "$HERE/lib.sh"
# shellcheck source=display.sh
source "$HERE/display.sh"

trap finish_run EXIT

for program in "$GAME" "$WM_DELETE"; do
    [ -x "$program" ] || { echo "monkey: $program is missing"; exit 1; }
done
[ -d "$BUILD/Data" ] || { echo "monkey: no Data beside $GAME"; exit 1; }
mkdir -p "$SHOTS"

# A small quarantine fills within the first minute, so that memory kept by ASan itself stays flat.
export ASAN_OPTIONS="detect_leaks=0:halt_on_error=1:quarantine_size_mb=16:log_path=$WORK/sanitizer"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$WORK/sanitizer"

KEYS=(Return Escape space Up Down Left Right Tab BackSpace Delete Home End 1 2 3 a z m Page_Up F1 alt+Return)
ACTIONS=0
RESTARTS=0
declare -A SCENES=()

rand() { echo $((RANDOM % $1)); }  # rand N: 0..N-1

window_wh() {  # the window's width and height
    xdotool getwindowgeometry "$WIN" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'
}

point() {  # a random point of the window
    local wh w h
    wh=$(window_wh)
    w=${wh% *}
    h=${wh#* }
    [ -n "$w" ] && [ "$w" -gt 0 ] || { echo "10 10"; return; }
    echo "$(rand "$w") $(rand "$h")"
}

act() {  # one random action on the window
    local r p q i
    r=$(rand 100)
    p=$(point)
    if [ "$r" -lt 30 ]; then
        xdotool mousemove --window "$WIN" $p click 1
    elif [ "$r" -lt 38 ]; then
        xdotool mousemove --window "$WIN" $p click --repeat 2 --delay 60 1
    elif [ "$r" -lt 46 ]; then
        q=$(point)
        xdotool mousemove --window "$WIN" $p mousedown 1
        for i in 1 2 3; do xdotool mousemove --window "$WIN" $(point); done
        xdotool mousemove --window "$WIN" $q mouseup 1
    elif [ "$r" -lt 53 ]; then
        xdotool mousemove --window "$WIN" $p click 3
    elif [ "$r" -lt 76 ]; then
        xdotool key --window "$WIN" "${KEYS[$(rand ${#KEYS[@]})]}"
    elif [ "$r" -lt 80 ]; then
        # The map's word that opens every level, letters from the last one back; else a few letters.
        if [ "$(rand 3)" -eq 0 ]; then type_word xzqnbv; else xdotool type --window "$WIN" --delay 40 "pebble"; fi
    elif [ "$r" -lt 85 ]; then
        xdotool windowfocus "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" 2>/dev/null
        sleep 0.3
        xdotool windowfocus "$WIN" 2>/dev/null
    elif [ "$r" -lt 91 ]; then
        xdotool windowsize "$WIN" $((320 + $(rand 1500))) $((240 + $(rand 800))) 2>/dev/null
    elif [ "$r" -lt 94 ]; then
        xdotool windowunmap "$WIN" 2>/dev/null
        sleep 0.5
        xdotool windowmap "$WIN" 2>/dev/null
    else
        sleep 1
    fi
    ACTIONS=$((ACTIONS + 1))
}

# memory_check NAME SECONDS READING...: a leak raises the floor. Each scene holds its own pictures, scenery
# and music (a level some 15 MB more than the map), so single readings swing with where the monkey is; the
# lowest reading of the last third of the run is held against the lowest of the first third. Five
# minutes or more are held to 5 MB; a shorter run sees too few scenes for that and is held to 32 MB,
# which still catches a frame that leaks.
memory_check() {
    local name=$1 seconds=$2 n third first last r i
    shift 2
    n=$#
    if [ "$n" -lt 2 ]; then
        check "$name: resident memory read at least twice after warming up (read $n times)" false
        return
    fi
    local values=("$@")
    third=$((n / 3))
    first=${values[0]}
    last=${values[$((n - 1))]}
    for ((i = 0; i < third; i++)); do
        r=${values[$i]}
        [ "$r" -lt "$first" ] && first=$r
        r=${values[$((n - 1 - i))]}
        [ "$r" -lt "$last" ] && last=$r
    done
    local limit=$((seconds >= 300 ? 5120 : 32768))
    check "$name: resident memory flat after warming up (lowest $first kB early, $last kB late, limit +$((limit / 1024)) MB)" \
        test $((last - first)) -le "$limit"
}

# monkey_phase NAME SCREEN FULL(full|window) SECONDS
monkey_phase() {
    local name=$1 screen=$2 full=$3 seconds=$4 deadline rss warm started next readings=() every
    start_display "$screen" || { FAILED=$((FAILED + 1)); return; }
    fresh_home "$name" "$([ "$full" = full ] && echo full)"
    warm=$((seconds / 2 < 60 ? seconds / 2 : 60))
    every=$((seconds >= 300 ? 5 : 2)) # seconds between memory readings: a short run needs several too
    deadline=$((SECONDS + seconds))
    start_game "$name"
    WIN=$(wait_window 120) || { check "$name: the game opens its window" false; return; }
    # Past the loading and the first page once, so that the random input starts where a player does.
    wait_state 120 scene=splash presskey=1 && xdotool key --window "$WIN" space
    wait_state 20 page=newprofile ready=1 && new_player Monkey
    started=$SECONDS
    next=$SECONDS
    while [ $SECONDS -lt $deadline ]; do
        if ! running "$GAME_PID"; then
            wait "$GAME_PID"
            local code=$?
            if [ "$code" -ne 0 ]; then
                check "$name: the game ends with 0 (it ended with $code after $ACTIONS actions)" false
                GAME_PID=""
                return
            fi
            # The monkey found "exit": start again, the player files kept.
            RESTARTS=$((RESTARTS + 1))
            start_game "$name-$RESTARTS"
            WIN=$(wait_window 120) || { check "$name: the game opens its window again" false; return; }
            started=$SECONDS
            readings=()
            continue
        fi
        act
        if [ $SECONDS -ge "$next" ]; then
            next=$((SECONDS + every))
            local scene
            scene=$(state_value scene)/$(state_value page)
            [ -n "$scene" ] && SCENES[$scene]=1
            # The driver's buffers follow the window's size (a big window holds some 10 MB more), so in
            # a window the memory is read at one size, which the next random resize changes again.
            if [ "$full" = window ]; then
                xdotool windowsize "$WIN" 800 600 2>/dev/null
                sleep 0.5
            fi
            rss=$(resident_kb "$(game_process)")
            echo "$((SECONDS - started)) ${rss:-?} $ACTIONS $scene" >>"$WORK/$name-memory.log"
            if [ -n "$rss" ] && [ $((SECONDS - started)) -ge "$warm" ]; then
                readings+=("$rss")
            fi
        fi
    done
    screenshot "$name-last"
    memory_check "$name" "$seconds" "${readings[@]}"
    close_window "$WIN"
    wait_exit "$GAME_PID" 60
    check "$name: the window closes and the game ends with 0 (got $EXIT_CODE)" equals "$EXIT_CODE" 0
    [ -n "$(game_process)" ] && stop_game_process KILL
    GAME_PID=""
}

half=$((TOTAL / 2))
echo "monkey: ${TOTAL}s, seed ${MONKEY_SEED:-$$}"
case ${MONKEY_ONLY:-} in
full) monkey_phase monkey-full 1920x1080 full "$TOTAL" ;;
window) monkey_phase monkey-window 1280x800 window "$TOTAL" ;;
*)
    monkey_phase monkey-full 1920x1080 full "$half"
    monkey_phase monkey-window 1280x800 window $((TOTAL - half))
    ;;
esac
reports=$(ls "$WORK"/sanitizer.* 2>/dev/null)
check "no sanitizer report" test -z "$reports"
[ -n "$reports" ] && head -n 40 $reports
echo "monkey: $ACTIONS actions, $RESTARTS restarts after the game's own exit; seen: ${!SCENES[*]}"
echo "monkey: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
