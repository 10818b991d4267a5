#include "game/board_click.h"

#include "game/board.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/moves.h"
#include "game/path_search.h"
#include "game/presentation_events.h"

namespace {
// The checks every left click passes first; true when the click is used up by them.
bool leftClickTaken() {
    if (game.completeCountdownMs > 0) {
        game.completeCountdownMs = 1;
        return true;
    }
    if (game.defeatCountdownMs > 0) {
        game.defeatCountdownMs = 1;
        return true;
    }
    bool paused = !game.running;
    if (paused && game.gamePassed && game.pauseMs < 5000) return true;
    if (game.completeCountdownMs < 0 && paused && game.stageComplete) {
        presentation().leaveToMap();
        return true;
    }
    if (game.ballMoving) return true;
    if (paused) {
        game.running = true;
        return true;
    }
    return game.menuOpen;
}
} // namespace

void leftClickCell(int x, int y) {
    if (leftClickTaken()) return;
    if (!cellExists(x, y)) {
        deselect();
        if (game.cursorMode == kCursorHammer) game.cursorMode = kCursorNormal;
        return;
    }
    bool hasPiece = cellAt(x, y).ball.kind != kNoPiece;
    if (game.cursorMode == kCursorHammer) {
        if (hasPiece) hammerBlow(x, y);
        return;
    }
    if (hasPiece) {
        clickBall(x, y);
    } else {
        clickEmptyCell(x, y);
    }
}

void rightClickBoard() {
    if (game.menuOpen || game.completeCountdownMs > 0) return;
    bool paused = !game.running;
    if (paused && game.gamePassed && game.pauseMs < 5000) return;
    if (game.completeCountdownMs < 0 && paused && game.stageComplete) {
        presentation().leaveToMap();
        return;
    }
    if (paused) {
        game.running = true;
        return;
    }
    game.rightHeld = true;
    deselect();
    game.cursorMode = kCursorNormal;
}

void clickHammerIcon() {
    if (leftClickTaken()) return;
    if (game.hammerCharge == 1.0f) toggleHammer();
}

void doubleClickCell(int x, int y) {
    if (game.menuOpen || game.ballMoving) return;
    if (!cellExists(x, y)) {
        // A double click beside the pieces, on the board area, is the quick way to pause.
        game.running = false;
        presentation().sound("menu.ogg", 0);
        return;
    }
    const Cell& cell = cellAt(x, y);
    if (cell.ball.kind != kNoPiece && cell.ball.chains != 0) return;
    if (game.selectedX == x && game.selectedY == y) {
        deselect();
        return;
    }
    // It only selects, never moves; an empty cell selected this way is dropped by the next sweep.
    game.selectedX = x;
    game.selectedY = y;
    computePathDistances();
}
