#include "game/board_click.h"

#include "game/board.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/invariants.h"
#include "game/moves.h"
#include "game/path_search.h"
#include "game/presentation_events.h"

namespace {
bool paused() {
    return !game.running;
}

// Paused after the last level for less than 5000 ms: the congratulations cannot be clicked away yet.
bool passedGuard() {
    return paused() && game.gamePassed && game.pauseMs < 5000;
}

bool finishedStageWaits() {
    return game.completeCountdownMs < 0 && paused() && game.stageComplete;
}
} // namespace

bool flowClickTaken() {
    if (game.completeCountdownMs > 0) {
        game.completeCountdownMs = 1; // the sequence ends on the next frame
        return true;
    }
    if (game.defeatCountdownMs > 0) {
        game.defeatCountdownMs = 1;
        return true;
    }
    if (passedGuard()) return true;
    if (finishedStageWaits()) {
        presentation().leaveToMap();
        return true;
    }
    if (paused()) {
        game.running = true; // any click goes on, also while a ball was on its way when the pause began
        return true;
    }
    return false;
}

bool leftClickTaken() {
    if (flowClickTaken()) return true;
    return game.ballMoving; // no button, tip or board click while a ball travels
}

void clickCell(int x, int y) {
    if (!cellExists(x, y)) {
        deselect();
        if (game.cursorMode == kCursorHammer) game.cursorMode = kCursorNormal;
        return;
    }
    bool hasPiece = cellAt(x, y).ball.kind != kNoPiece;
    if (game.cursorMode == kCursorHammer) {
        if (hasPiece) hammerBlow(x, y);
        checkRulesInvariants("a hammer blow");
        return;
    }
    // With the help cursor armed the click asks for help: it must not move a selected ball there.
    if (game.cursorMode == kCursorHelp) return;
    if (hasPiece) {
        clickBall(x, y);
    } else {
        clickEmptyCell(x, y);
    }
    checkRulesInvariants("a click on the board");
}

bool useHammerIcon() {
    // With a charge short of full the click falls through to whatever lies under the icon.
    if (game.hammerCharge != 1.0f) return false;
    toggleHammer();
    return true;
}

void doubleClickCell(int x, int y) {
    if (game.menuOpen || game.ballMoving || travelInProgress() || !cellExists(x, y)) return;
    if (cellAt(x, y).ball.chains > 0) return;
    // The first press of the pair has selected the ball (or dropped it, when it was selected): either way
    // the player asked for this ball, so it ends selected.
    if (game.selectedX == x && game.selectedY == y) return;
    // It only selects, never moves; an empty cell selected this way is dropped by the next sweep.
    game.selectedX = x;
    game.selectedY = y;
    computePathDistances();
}

void rightClickBoard() {
    if (game.menuOpen || game.completeCountdownMs > 0 || passedGuard()) return;
    if (finishedStageWaits()) {
        presentation().leaveToMap();
        return;
    }
    if (paused()) {
        game.running = true;
        return;
    }
    game.rightHeld = true;
    deselect();
    game.cursorMode = kCursorNormal;
}

void leftClickCell(int x, int y) {
    if (leftClickTaken() || game.menuOpen) return;
    clickCell(x, y);
}

void clickHammerIcon() {
    if (leftClickTaken() || game.menuOpen) return;
    useHammerIcon();
}
