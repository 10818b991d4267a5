#!/usr/bin/env bash
# End-to-end tests: the real game in a real window under Xvfb with Mesa's software OpenGL, driven by
# xdotool. Usage: tests/e2e/run.sh [BUILD-FOLDER]; E2E_FLOWS="flow_a flow_b" runs only those flows.
#
# This driver sets up the display, runs the flows and sums up. The helpers are in lib.sh; the flows are
# functions named flow_<name> in the files flows_*.sh beside it, each file adding its flows to FLOWS with
# a line FLOWS+=(...), so that a new file of flows registers itself. Screenshots are kept under
# BUILD/e2e-screenshots/, what the programs printed under BUILD/e2e-logs/. Each game run gets fresh
# per-user folders in a temporary directory.
set -uo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
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
FLOWS=()
FAILURES=()
CURRENT_FLOW=""

cleanup() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${SCREEN_PID:-}" ] && kill "$SCREEN_PID" 2>/dev/null
    wait 2>/dev/null
    # Keep what the programs printed, for a failed run.
    rm -rf "$LOGS"
    mkdir -p "$LOGS"
    cp "$WORK"/*.out "$WORK"/*.err "$WORK"/*.log "$LOGS"/ 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# shellcheck source=lib.sh
source "$HERE/lib.sh"
for file in "$HERE"/flows_*.sh; do
    # shellcheck disable=SC1090
    source "$file"
done
[ -n "${E2E_FLOWS:-}" ] && read -ra FLOWS <<<"$E2E_FLOWS"

# ---- set-up --------------------------------------------------------------------------------------

for tool in Xvfb xdotool xkbcomp import identify; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (run tools/install-deps.sh)"; exit 1; }
done
[ -x "$GAME" ] || { echo "e2e: $GAME is missing (make build)"; exit 1; }
for program in "$WM_DELETE" "$BUILD/e2e_render_check" "$BUILD/e2e_saved_game"; do
    [ -x "$program" ] || { echo "e2e: $program is missing (make build)"; exit 1; }
done
# The data builder fills BUILD/Data; until it has run, the game starts on an empty data folder.
mkdir -p "$BUILD/Data" "$SHOTS"

xvfb_start 1024x768 main
started=$?
XVFB_PID=$XVFB_NEW_PID
[ $started -eq 0 ] || { echo "e2e: Xvfb did not start"; cat "$WORK/main-xvfb.log"; exit 1; }
export DISPLAY=$XVFB_NEW_DISPLAY
echo "e2e: Xvfb on $DISPLAY, screenshots in $SHOTS"

for flow in "${FLOWS[@]}"; do
    echo "$flow"
    CURRENT_FLOW=$flow
    "$flow"
    stop_game
done

# The failures again at the end, where a shortened log still shows them.
for failure in "${FAILURES[@]}"; do
    echo "  FAILED $failure"
done
echo "e2e: $PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
