#include "game/board_click.h"

#include "game/board.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/invariants.h"
#include "game/moves.h"
#include "game/path_search.h"
#include "game/presentation_events.h"
#include "game/rules.h"

namespace {
bool paused(Rules& r) {
    return !r.game.running;
}

// Paused after the last level for less than 5000 ms: the congratulations cannot be clicked away yet.
bool passedGuard(Rules& r) {
    return paused(r) && r.game.gamePassed && r.game.pauseMs < 5000;
}

bool finishedStageWaits(Rules& r) {
    return r.game.completeCountdownMs < 0 && paused(r) && r.game.stageComplete;
}
} // namespace

bool flowClickTaken(Rules& r) {
    if (r.game.completeCountdownMs > 0) {
        r.game.completeCountdownMs = 1; // the sequence ends on the next frame
        return true;
    }
    if (r.game.defeatCountdownMs > 0) {
        r.game.defeatCountdownMs = 1;
        return true;
    }
    if (passedGuard(r)) return true;
    if (finishedStageWaits(r)) {
        r.events().finishedStageDismissed();
        return true;
    }
    if (paused(r)) {
        r.game.running = true; // any click goes on, also while a ball was on its way when the pause began
        return true;
    }
    return false;
}

bool leftClickTaken(Rules& r) {
    if (flowClickTaken(r)) return true;
    return r.game.ballMoving; // no button, tip or board click while a ball travels
}

void clickCell(Rules& r, int x, int y) {
    if (!cellExists(r, x, y)) {
        deselect(r);
        if (r.game.cursorMode == kCursorHammer) r.game.cursorMode = kCursorNormal;
        return;
    }
    bool hasPiece = r.at(x, y).ball.kind != kNoPiece;
    if (r.game.cursorMode == kCursorHammer) {
        if (hasPiece) hammerBlow(r, x, y);
        checkRulesInvariants(r, "a hammer blow");
        return;
    }
    // With the help cursor armed the click asks for help: it must not move a selected ball there.
    if (r.game.cursorMode == kCursorHelp) return;
    if (hasPiece) {
        clickBall(r, x, y);
    } else {
        clickEmptyCell(r, x, y);
    }
    checkRulesInvariants(r, "a click on the board");
}

bool useHammerIcon(Rules& r) {
    // With a charge short of full the click falls through to whatever lies under the icon.
    if (r.game.hammerCharge != 1.0f) return false;
    toggleHammer(r);
    return true;
}

void doubleClickCell(Rules& r, int x, int y) {
    if (r.game.menuOpen || r.game.ballMoving || travelInProgress(r) || !cellExists(r, x, y)) return;
    if (r.at(x, y).ball.chains > 0) return;
    // The first press of the pair has selected the ball (or dropped it, when it was selected): either way
    // the player asked for this ball, so it ends selected.
    if (r.game.selectedX == x && r.game.selectedY == y) return;
    // It only selects, never moves; an empty cell selected this way is dropped by the next sweep.
    r.game.selectedX = x;
    r.game.selectedY = y;
    computePathDistances(r);
}

void rightClickBoard(Rules& r) {
    if (r.game.menuOpen || r.game.completeCountdownMs > 0 || passedGuard(r)) return;
    if (finishedStageWaits(r)) {
        r.events().finishedStageDismissed();
        return;
    }
    if (paused(r)) {
        r.game.running = true;
        return;
    }
    r.game.rightHeld = true;
    deselect(r);
    r.game.cursorMode = kCursorNormal;
}

void leftClickCell(Rules& r, int x, int y) {
    if (leftClickTaken(r) || r.game.menuOpen) return;
    clickCell(r, x, y);
}

void clickHammerIcon(Rules& r) {
    if (leftClickTaken(r) || r.game.menuOpen) return;
    useHammerIcon(r);
}
