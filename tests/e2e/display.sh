# A display of its own for the scripts beside the end-to-end driver (the monkey, the crash-safety loop),
# sourced after lib.sh. Uses WORK; sets XVFB_PID and DISPLAY.

start_display() {  # start_display WIDTHxHEIGHT: an Xvfb screen of that size; fails when it does not start
    stop_display
    rm -f "$WORK/display"
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -wr -nolisten tcp -noreset >>"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    local _
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    [ -s "$WORK/display" ] || { echo "no Xvfb"; cat "$WORK/xvfb.log"; return 1; }
    export DISPLAY=:$(head -n 1 "$WORK/display")
}

stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    XVFB_PID=""
}

resident_kb() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status" 2>/dev/null; }  # resident_kb PID

# start_game runs the game inside a subshell of game_env: GAME_PID is that subshell, the game its child.
game_process() { pgrep -P "$GAME_PID" 2>/dev/null | head -n 1; }  # the game's own process id

stop_game_process() {  # stop_game_process [SIGNAL]: the game itself (default TERM), then its subshell
    local pid
    pid=$(game_process)
    [ -n "$pid" ] && kill "-${1:-TERM}" "$pid" 2>/dev/null
    [ -n "$GAME_PID" ] && wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
}
