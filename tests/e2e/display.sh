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
