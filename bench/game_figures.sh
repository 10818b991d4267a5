#!/usr/bin/env bash
# The figures of the real game under Xvfb with Mesa's software OpenGL, as a new player meets them:
# launch to the level map with keys pressed as fast as the game takes them, then, on the level map,
# the processor time of the game's own thread and of the whole process (the rest is the software
# rasteriser's threads), the frame rate and the resident memory, split into mapped libraries and the
# process's own data. Where perf may profile the game, the first run also says where the processor time
# goes (the game's code, the software rasteriser, the kernel). Every run starts with fresh per-user
# folders.
# The screen is a player's 1920 x 1080 (BENCH_SCREEN=WxH for another); a first start shows the game on it
# in full screen.
# Usage: bench/game_figures.sh BUILD [RUNS]; prints "FIGURE name value" lines (medians of the runs).
# For a closer look: KEEP_WORK=FOLDER keeps the run's files (the game's output among them), SMAPS_OUT=FILE
# keeps the game's memory map of each run as FILE.RUN.
set -uo pipefail
BUILD=$(cd "${1:-build}" && pwd)
RUNS=${2:-3}
SETTLE_S=3                # the map's entrance is over
SAMPLE_S=${SAMPLE_S:-10}  # processor time is taken over this long
GAME=$BUILD/pebblecraft
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "game_figures: $tool is missing; no figures of the game"; exit 0; }
done
WORK=$(mktemp -d /tmp/pebblecraft-figures.XXXXXX)
XVFB_PID=""
GAME_PID=""
cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    [ -n "${KEEP_WORK:-}" ] && cp -r "$WORK" "$KEEP_WORK"; rm -rf "$WORK"
}
trap cleanup EXIT
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 "${BENCH_SCREEN:-1920x1080}x24" -wr -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "game_figures: Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -n 1 "$WORK/display")
TICKS=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "$1" 2>/dev/null; } # user + system time of a /proc stat file
frames() { head -n 1 "$1" 2>/dev/null | grep -o 'frames=[0-9]*' | cut -d= -f2; } # frames the game has run
status_mb() { awk -v k="$2:" '$1 == k {print $2 / 1024}' "/proc/$1/status"; }

# The shares of perf's samples of the game by where they fall: the game's own code, the software
# rasteriser (its compiled shaders and the driver), the kernel, the other libraries.
profile_shares() {
    local data=$WORK/perf.data
    perf record -F 499 -p "$1" -o "$data" -- sleep 5 >/dev/null 2>&1 || return
    perf report -i "$data" --sort dso --stdio --no-children 2>/dev/null | awk '
        $1 ~ /%$/ { v = $1 + 0; $1 = ""; d = $0
                    if (d ~ /pebblecraft/) game += v
                    else if (d ~ /JIT|swrast|gallium|LLVM|llvmpipe/) raster += v
                    else if (d ~ /kernel/) kernel += v
                    else other += v }
        END { if (game + raster + kernel + other > 0) {
                  printf "FIGURE map_profile_game_percent %.1f\n", game
                  printf "FIGURE map_profile_rasteriser_percent %.1f\n", raster
                  printf "FIGURE map_profile_kernel_percent %.1f\n", kernel
                  printf "FIGURE map_profile_other_percent %.1f\n", other } }' >"$WORK/profile"
    # The game's own thread alone: how much of it is the game's code (the rest is the driver's work
    # done on that thread: the setup of the draws and the present).
    perf report -i "$data" --tid="$1" --sort dso --stdio --no-children 2>/dev/null | awk '
        $1 ~ /%$/ { v = $1 + 0; all += v; if ($0 ~ /pebblecraft/) game += v }
        END { if (all > 0) printf "FIGURE map_thread_game_share_percent %.1f\n", 100 * game / all }' \
        >>"$WORK/profile"
}
now() { date +%s.%N; }
median() { sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

for run in $(seq "$RUNS"); do
    home=$WORK/home$run
    mkdir -p "$home/config/pebblecraft" "$home/data"
    state=$WORK/state$run
    start=$(now)
    env LIBGL_ALWAYS_SOFTWARE=1 XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        SDL_AUDIODRIVER=dummy PEBBLECRAFT_STATE_FILE="$state" "$GAME" >"$WORK/out$run" 2>&1 &
    GAME_PID=$!
    win=""
    until [ -n "$win" ]; do
        win=$(xdotool search --pid "$GAME_PID" --name '^Pebblecraft$' 2>/dev/null | head -n 1)
        kill -0 "$GAME_PID" 2>/dev/null || { echo "game_figures: the game ended"; cat "$WORK/out$run"; exit 1; }
        sleep 0.01
    done
    # Every key at once: a key as often as the game can take one, until the map is there.
    until head -n 1 "$state" 2>/dev/null | grep -q 'scene=map'; do
        xdotool key --window "$win" space 2>/dev/null
        sleep 0.01
    done
    echo "$(now) - $start" | bc >>"$WORK/launch"
    sleep "$SETTLE_S"
    p0=$(ticks /proc/$GAME_PID/stat)
    m0=$(ticks /proc/$GAME_PID/task/$GAME_PID/stat)
    t0=$(now)
    f0=$(frames "$state")
    sleep "$SAMPLE_S"
    p1=$(ticks /proc/$GAME_PID/stat)
    m1=$(ticks /proc/$GAME_PID/task/$GAME_PID/stat)
    t1=$(now)
    f1=$(frames "$state")
    echo "(${f1:-0} - ${f0:-0}) / ($t1 - $t0)" | bc -l >>"$WORK/fps"
    echo "($p1 - $p0) * 100 / $TICKS / ($t1 - $t0)" | bc -l >>"$WORK/process"
    echo "($m1 - $m0) * 100 / $TICKS / ($t1 - $t0)" | bc -l >>"$WORK/thread"
    [ -n "${SMAPS_OUT:-}" ] && cp "/proc/$GAME_PID/smaps" "$SMAPS_OUT.$run" # where the memory lies
    status_mb "$GAME_PID" VmRSS >>"$WORK/rss"
    status_mb "$GAME_PID" RssFile >>"$WORK/rss_file"
    echo "$(status_mb "$GAME_PID" RssAnon) + $(status_mb "$GAME_PID" RssShmem)" | bc -l >>"$WORK/rss_data"
    [ "$run" = 1 ] && command -v perf >/dev/null && profile_shares "$GAME_PID"
    kill "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
done
printf 'FIGURE launch_to_map_s %.2f\n' "$(median <"$WORK/launch")"
printf 'FIGURE map_thread_cpu_percent %.1f\n' "$(median <"$WORK/thread")"
printf 'FIGURE map_process_cpu_percent %.1f\n' "$(median <"$WORK/process")"
printf 'FIGURE map_fps %.1f\n' "$(median <"$WORK/fps")"
printf 'FIGURE map_rss_mb %.1f\n' "$(median <"$WORK/rss")"
printf 'FIGURE map_rss_libraries_mb %.1f\n' "$(median <"$WORK/rss_file")"
printf 'FIGURE map_rss_data_mb %.1f\n' "$(median <"$WORK/rss_data")"
[ -s "$WORK/profile" ] && cat "$WORK/profile"
echo "game_figures: medians of $RUNS runs; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
