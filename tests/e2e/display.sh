# A display of its own for the scripts beside the end-to-end driver (the monkey, the crash-safety loop),
# sourced after lib.sh. Uses WORK; sets XVFB_PID and DISPLAY.

start_display() {  # start_display WIDTHxHEIGHT: an Xvfb screen of that size; fails when it does not start
    stop_display
    xvfb_start "$1" own
    local started=$?
    XVFB_PID=$XVFB_NEW_PID
    [ $started -eq 0 ] || { echo "no Xvfb"; cat "$WORK/own-xvfb.log"; return 1; }
    export DISPLAY=$XVFB_NEW_DISPLAY
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

finish_run() {  # finish_run: the game and the display go; what the run wrote in WORK is kept in LOGS
    [ -n "$GAME_PID" ] && stop_game_process KILL
    stop_display
    wait 2>/dev/null
    rm -rf "$LOGS"
    mkdir -p "$LOGS"
    cp "$WORK"/*.out "$WORK"/*.err "$WORK"/*.log "$WORK"/sanitizer.* "$LOGS"/ 2>/dev/null
    rm -rf "$WORK"
}
