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
SEED=${MONKEY_SEED:-$$}
RANDOM=$SEED
SKIPPED=0
MEMORY_WARM_S=${MONKEY_WARM_S:-4}        # seconds of each process not judged (its first page settles)
MEMORY_RATE_KB_S=${MONKEY_RATE_KB_S:-100} # the heap's growth within a scene that counts as a leak

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

skip() {  # skip DESCRIPTION: a check that had too little to judge
    SKIPPED=$((SKIPPED + 1))
    echo "  skip $1"
}

window_wh() {  # the window's width and height
    xdotool getwindowgeometry "$WIN" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'
}

point() {  # a random point of the window
    local wh w h
    wh=$(window_wh)
    w=${wh% *}
    h=${wh#* }
    # Two draws whatever the window answers, so that a seed gives the same actions in the same order.
    local x y
    x=$RANDOM
    y=$RANDOM
    [ -n "$w" ] && [ "$w" -gt 0 ] && [ -n "$h" ] && [ "$h" -gt 0 ] || { echo "10 10"; return; }
    echo "$((x % w)) $((y % h))"
}

act() {  # one random action on the window
    local r p q i
    r=$(rand 100)
    p=$(point)
    # A click gives the window the focus, as a desktop's window manager does (Xvfb has none): without
    # it, a window that lost the focus would stay inactive, run no frame and ignore the rest of the run.
    if [ "$r" -lt 30 ]; then
        xdotool windowfocus "$WIN" mousemove --window "$WIN" $p click 1 2>/dev/null
    elif [ "$r" -lt 38 ]; then
        xdotool windowfocus "$WIN" mousemove --window "$WIN" $p click --repeat 2 --delay 60 1 2>/dev/null
    elif [ "$r" -lt 46 ]; then
        q=$(point)
        xdotool windowfocus "$WIN" mousemove --window "$WIN" $p mousedown 1 2>/dev/null
        for i in 1 2 3; do xdotool mousemove --window "$WIN" $(point); done
        xdotool mousemove --window "$WIN" $q mouseup 1
    elif [ "$r" -lt 53 ]; then
        xdotool windowfocus "$WIN" mousemove --window "$WIN" $p click 3 2>/dev/null
    elif [ "$r" -lt 76 ]; then
        xdotool key --window "$WIN" "${KEYS[$(rand ${#KEYS[@]})]}"
    elif [ "$r" -lt 80 ]; then
        # The map's word that opens every level, letters from the last one back; else a few letters.
        if [ "$(rand 3)" -eq 0 ]; then xdotool type --window "$WIN" --delay 250 xzqnbv; else xdotool type --window "$WIN" --delay 40 "pebble"; fi
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
        sleep 0.2
        xdotool windowfocus "$WIN" 2>/dev/null # a window manager focuses a window shown again
    else
        sleep 1
    fi
    ACTIONS=$((ACTIONS + 1))
}

# memory_check NAME SECONDS LOG: judges the readings of a phase (LOG: one line a reading: seconds into the
# phase, the process's run number, seconds since that process began, resident kB, live heap kB, actions,
# scene, frames run). Memory swings with where the monkey is (a level holds some 15 MB more than the map,
# each page and stage its own pictures, and a cache filled once lifts a scene by a few MB), so a leak is
# judged where it cannot hide behind a scene change or pass for one:
# - two readings in a row in the same scene (same page, mode and level) of the same process give the
#   heap's rise per second between them; a leak raises nearly every such pair, a cache filled once only
#   one, so the median of those rises is held to a limit. Restarts of the game keep what was read.
# - a long phase also holds the resident floor of each process: the lowest reading of its last third
#   against the lowest of its first third.
# The loading (the splash scene), each process's first seconds and readings of a stale state (an
# inactive window runs no frame) are not judged. A phase that saw too little to judge says so and is
# skipped, not failed.
memory_check() {
    local name=$1 seconds=$2 log=$3 verdict
    [ -s "$log" ] || { skip "$name: memory not judged (no reading)"; return; }
    verdict=$(awk -v warm="$MEMORY_WARM_S" -v long="$((seconds >= 300 ? 1 : 0))" '
        $8 == frames[$2] { next }
        { frames[$2] = $8 }
        $2 == "" || $5 !~ /^[0-9]+$/ || $7 ~ /^splash/ || $3 < warm { last = ""; next }
        {
            key = $2 " " $7
            if (key == last && $3 > t) { m++; rise[m] = ($5 - h) / ($3 - t); grow += $5 - h }
            last = key; t = $3; h = $5
            n[$2]++; rss[$2, n[$2]] = $4
        }
        END {
            if (m < 5) { printf "skip only %d pairs of readings in one scene (5 needed)\n", m; exit }
            for (i = 2; i <= m; i++) {
                v = rise[i]
                for (j = i - 1; j >= 1 && rise[j] > v; j--) rise[j + 1] = rise[j]
                rise[j + 1] = v
            }
            median = m % 2 ? rise[(m + 1) / 2] : (rise[m / 2] + rise[m / 2 + 1]) / 2
            printf "rate %d %d %d\n", median, m, grow
            if (!long) exit
            for (r in n) {
                if (n[r] < 30) continue
                third = int(n[r] / 3); first = rss[r, 1]; late = rss[r, n[r]]
                for (i = 1; i <= third; i++) {
                    if (rss[r, i] < first) first = rss[r, i]
                    if (rss[r, n[r] + 1 - i] < late) late = rss[r, n[r] + 1 - i]
                }
                printf "floor %s %d %d\n", r, first, late
            }
        }' "$log")
    echo "$verdict" | grep -q '^skip' && { skip "$name: memory not judged (${verdict#skip })"; return; }
    local rate pairs grow
    read -r _ rate pairs grow <<<"$(echo "$verdict" | grep '^rate')"
    check "$name: the heap holds within each scene (median rise $rate kB/s over $pairs pairs of readings, $grow kB in all; limit $MEMORY_RATE_KB_S)" \
        test "$rate" -le "$MEMORY_RATE_KB_S"
    local run first late
    while read -r _ run first late; do
        check "$name: resident memory flat in run $run (lowest $first kB early, $late kB late, limit +5 MB)" \
            test $((late - first)) -le 5120
    done < <(echo "$verdict" | grep '^floor')
}

# monkey_phase NAME SCREEN FULL(full|window) SECONDS
monkey_phase() {
    local name=$1 screen=$2 full=$3 seconds=$4 deadline rss heap started next every run=0
    local log=$WORK/$name-memory.log
    start_display "$screen" || { FAILED=$((FAILED + 1)); return; }
    fresh_home "$name" "$([ "$full" = full ] && echo full)"
    every=$((seconds >= 300 ? 5 : 2)) # seconds between memory readings: a short run needs several too
    : >"$log"
    start_game "$name"
    WIN=$(wait_window 120) || { check "$name: the game opens its window" false; return; }
    # Past the loading and the first page once, so that the random input starts where a player does.
    wait_state 120 scene=splash presskey=1 && xdotool key --window "$WIN" space
    wait_state 20 page=newprofile ready=1 && new_player Monkey
    # The phase's time is the monkey's: the start of the game under the sanitizers does not count.
    started=$SECONDS
    next=$SECONDS
    local phase_start=$SECONDS
    deadline=$((SECONDS + seconds))
    while [ $SECONDS -lt $deadline ]; do
        if ! running "$GAME_PID"; then
            wait "$GAME_PID"
            local code=$?
            if [ "$code" -ne 0 ]; then
                check "$name: the game ends with 0 (it ended with $code after $ACTIONS actions)" false
                GAME_PID=""
                return
            fi
            # The monkey found "exit": start again, the player files kept; the readings go on.
            RESTARTS=$((RESTARTS + 1))
            run=$((run + 1))
            start_game "$name-$RESTARTS"
            WIN=$(wait_window 120) || { check "$name: the game opens its window again" false; return; }
            started=$SECONDS
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
            heap=$(state_value heapkb)
            echo "$((SECONDS - phase_start)) $run $((SECONDS - started)) ${rss:-?} ${heap:-?} $ACTIONS" \
                "$scene/$(state_value mode)/$(state_value level) $(state_value frames)" >>"$log"
        fi
    done
    screenshot "$name-last"
    memory_check "$name" "$seconds" "$log"
    close_window "$WIN"
    wait_exit "$GAME_PID" 60
    check "$name: the window closes and the game ends with 0 (got $EXIT_CODE)" equals "$EXIT_CODE" 0
    [ -n "$(game_process)" ] && stop_game_process KILL
    GAME_PID=""
}

half=$((TOTAL / 2))
echo "monkey: ${TOTAL}s, seed $SEED (MONKEY_SEED=$SEED repeats its actions)"
if [ -n "${MONKEY_LEAK_KB:-}" ]; then
    # The check of the check: a deliberate leak of MONKEY_LEAK_KB kB a second loaded into the game.
    # The game alone gets it, through a starter that loads it before the game's own libraries.
    [ -f "$BUILD/libe2e_leak.so" ] || { echo "monkey: $BUILD/libe2e_leak.so is missing"; exit 1; }
    printf '#!/bin/sh\nMONKEY_LEAK_KB=%s LD_PRELOAD=%s ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0" exec %s "$@"\n' \
        "$MONKEY_LEAK_KB" "$BUILD/libe2e_leak.so" "$GAME" >"$WORK/leaky-game"
    chmod +x "$WORK/leaky-game"
    GAME=$WORK/leaky-game
    echo "monkey: a deliberate leak of $MONKEY_LEAK_KB kB a second"
fi
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
echo "monkey: $PASSED passed, $FAILED failed, $SKIPPED skipped"
[ "$FAILED" -eq 0 ]
