#!/usr/bin/env bash
# The figures of the real game on a player's full screen under Xvfb with Mesa's software OpenGL, reached
# through the menus as a player does (a first start, so full screen): the frame rate and processor time of
# classic level 1 with its scenery moving, and the sharpness of the main page's letters (the median edge
# rise, bench/edge_rise.py) on a 1920 x 1080 and a 3840 x 2160 screen. Screenshots of the main page, the
# level map and the level are kept in SHOTS-FOLDER when one is given.
# Usage: bench/level_figures.sh BUILD [SHOTS-FOLDER]; prints "FIGURE name value" lines. PARTS="1080 2160
# level" (the default) chooses which figures are taken. KEEP_WORK=FOLDER keeps the run's files (the game's
# output among them); PERF_OUT=FILE profiles the game while the level's figures are taken.
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BUILD=$(cd "${1:-build}" && pwd)
GAME=$BUILD/pebblecraft
WORK=$(mktemp -d /tmp/pebblecraft-level-figures.XXXXXX)
SHOTS=${2:-$WORK/shots}
mkdir -p "$SHOTS"
SAMPLE_S=${SAMPLE_S:-10}
LEVEL_SCREEN=${LEVEL_SCREEN:-1920x1080}
GAME_PID=""
SCREEN_PID=""
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "level_figures: $tool is missing; no figures of the level"; exit 0; }
done
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$SCREEN_PID" ] && kill "$SCREEN_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_WORK:-}" ] && cp -r "$WORK" "$KEEP_WORK"; rm -rf "$WORK"
}
trap cleanup EXIT
check() { "${@:2}" || echo "level_figures: $1 failed"; }
# shellcheck source=../tests/e2e/lib.sh
source "$HERE/../tests/e2e/lib.sh"

TICKS=$(getconf CLK_TCK)
export DISPLAY=${DISPLAY:-}
ticks() { awk '{print $14 + $15}' "$1" 2>/dev/null; } # user + system time of a /proc stat file
now() { date +%s.%N; }
end_game() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}

# The main page of a new player on a screen of the given size: its letters' edge rise.
letters() { # letters WxH NAME
    use_screen "$1" || return
    fresh_home "$2" first
    # On a loaded machine a large screen may outlast the flows' patience: keys again, and a longer wait.
    if ! past_splash "$2" && [ -n "${WIN:-}" ]; then
        local deadline=$((SECONDS + 300))
        until state_is scene=map page=newprofile ready=1 || [ $SECONDS -gt $deadline ]; do
            state_is presskey=1 && xdotool key --window "$WIN" space
            sleep 3
        done
    fi
    state_is page=newprofile && { new_player "BENCH" || wait_state 120 page=main ready=1; }
    if state_is page=main; then
        sleep 1 # the page's entrance is over
        screenshot "$2-main"
        local rise
        rise=$(python3 "$HERE/edge_rise.py" "$SHOTS/$2-main.png")
        [ -n "$rise" ] && echo "FIGURE main_letters_edge_rise_$2_px $rise"
    else
        echo "level_figures: the main page was not reached at $1"
    fi
    end_game
    main_screen
}

# Classic level 1, running: frames, processor time of the process per frame, resident memory.
level() {
    use_screen "$LEVEL_SCREEN" || return
    if reach_level level "BENCH" 0 0 first; then
        window_shot level-start
        sleep 3 # the help page's exit and the level's entrance are over
        local p0 p1 t0 t1 f0 f1 pid
        pid=$(xdotool getwindowpid "$WIN") # the game itself (GAME_PID is the shell that started it)
        p0=$(ticks /proc/$pid/stat)
        t0=$(now)
        f0=$(state_value frames)
        # PERF_OUT=FILE: a profile of the game over the sample as well (perf record), for perf report.
        if [ -n "${PERF_OUT:-}" ] && command -v perf >/dev/null; then
            perf record -q -g -p "$pid" -o "$PERF_OUT" -- sleep "$SAMPLE_S" 2>/dev/null
        else
            sleep "$SAMPLE_S"
        fi
        p1=$(ticks /proc/$pid/stat)
        t1=$(now)
        f1=$(state_value frames)
        window_shot level-running
        printf 'FIGURE level_fps %.1f\n' "$(echo "($f1 - $f0) / ($t1 - $t0)" | bc -l)"
        printf 'FIGURE level_cpu_ms_per_frame %.1f\n' \
            "$(echo "($p1 - $p0) * 1000 / $TICKS / ($f1 - $f0)" | bc -l)"
        printf 'FIGURE level_rss_mb %.1f\n' "$(awk '$1 == "VmRSS:" {print $2 / 1024}' "/proc/$pid/status")"
    else
        echo "level_figures: classic level 1 was not reached"
    fi
    end_game
    main_screen
}

PARTS=${PARTS:-"1080 2160 level"} # which of the figures to take
case " $PARTS " in *" 1080 "*) letters 1920x1080 1080 ;; esac
case " $PARTS " in *" 2160 "*) letters 3840x2160 2160 ;; esac
case " $PARTS " in *" level "*) level ;; esac
echo "level_figures: load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
