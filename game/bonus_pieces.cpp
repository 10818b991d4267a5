#include "game/bonus_pieces.h"

#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/rules.h"

bool bonusPiecesUnlocked(Rules& r) {
    return r.game.levelIndex > 1 || playerHighestLevelAnyMode() > 1 || r.game.mode == kModeAction;
}

void announceBonus(Rules& r, int kind) {
    Cell& cell = r.at(r.game.landingX, r.game.landingY);
    cell.pendingKind = kind;
    cell.pendingMs = 500;
}

void placePendingBonuses(Rules& r) {
    if (r.levelHeld()) return;
    if (r.game.freeCells == 1) drawPreview(r);
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = r.at(x, y);
            if (cell.square == -1 || cell.pendingKind <= kJoker) continue;
            // A cell a ball is on its way to is not empty: the earned piece is dropped as on a taken cell.
            if (cell.ball.kind == kNoPiece && !boundForTravel(r, x, y)) {
                newBall(r, cell);
                int kind = cell.pendingKind;
                cell.ball.kind = kind;
                cell.pendingMs = 0;
                r.game.freeCells -= 1;
                r.events().bonusPiecePlaced(kind, x, y);
            }
            cell.pendingKind = kNoPiece;
        }
    }
}

void announceHammerReady(Rules& r) {
    r.events().hammerCharged();
}

bool hammerIconHit(float x, float y) {
    return x > 320 && x < 384 && y > -290 && y < -162;
}

void toggleHammer(Rules& r) {
    if (r.game.hammerCharge != 1.0f) return;
    r.game.cursorMode = r.game.cursorMode == kCursorNormal ? kCursorHammer : kCursorNormal;
    deselect(r);
}

void hammerBlow(Rules& r, int x, int y) {
    if (r.game.ballMoving || travelInProgress(r) || (!r.levelHeld() && levelDecided(r))) return;
    if (!cellExists(r, x, y)) {
        deselect(r);
        r.game.cursorMode = kCursorNormal;
        return;
    }
    Cell& cell = r.at(x, y);
    if (cell.ball.kind == kNoPiece) return;
    r.events().hammerStruck(x, y);
    if (cell.ball.chains > 0) {
        unchain(r, x, y);
    } else {
        removeBall(r, x, y);
    }
    // A blow is not a pass: the pass counters stay zero between passes.
    r.game.passBallsRemoved = 0;
    r.game.passSquaresCleared = 0;
    r.game.hammerCharge = 0;
    r.game.cursorMode = kCursorNormal;
}
