#include "game/bonus_pieces.h"

#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"

bool bonusPiecesUnlocked() {
    return game.levelIndex > 1 || playerHighestLevelAnyMode() > 1 || game.mode == kModeAction;
}

void announceBonus(int kind) {
    Cell& cell = cellAt(game.landingX, game.landingY);
    cell.pendingKind = kind;
    cell.pendingMs = 500;
}

void placePendingBonuses() {
    if (helpBoardActive) return;
    if (game.freeCells == 1) drawPreview();
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = cellAt(x, y);
            if (cell.square == -1 || cell.pendingKind <= kJoker) continue;
            // A cell a ball is on its way to is not empty: the earned piece is dropped as on a taken cell.
            if (cell.ball.kind == kNoPiece && !boundForTravel(x, y)) {
                newBall(cell);
                int kind = cell.pendingKind;
                cell.ball.kind = kind;
                cell.pendingMs = 0;
                game.freeCells -= 1;
                Point at = cellCentre(x, y);
                PresentationEvents& events = presentation();
                if (kind == kQuadroBomb) {
                    events.effect("addbomb2", at.x, at.y);
                } else {
                    events.effectPreset(3, at.x, at.y);
                }
                events.sound("addbonus.ogg", 0);
                const char* tip = kind == kTripleBomb ? "triplebomb"
                                  : kind == kDiamond  ? "diamond"
                                                      : "quadrobomb";
                events.tip(tip, at.x, at.y, x, y, 2000, kind);
            }
            cell.pendingKind = kNoPiece;
        }
    }
}

void announceHammerReady() {
    presentation().sound("gethammer.ogg", 0);
    if (!playerTipShown("hammerfull")) {
        presentation().tip("hammerfull", 320, -230, -1, -1, 2000, 0);
    } else {
        presentation().textKey("readyhammer", 0, 0, -265, 22, 4000);
    }
}

bool hammerIconHit(float x, float y) {
    return x > 320 && x < 384 && y > -290 && y < -162;
}

void toggleHammer() {
    if (game.hammerCharge != 1.0f) return;
    game.cursorMode = game.cursorMode == kCursorNormal ? kCursorHammer : kCursorNormal;
    deselect();
}

void hammerBlow(int x, int y) {
    if (game.ballMoving || travelInProgress() || (!helpBoardActive && levelDecided())) return;
    if (!cellExists(x, y)) {
        deselect();
        game.cursorMode = kCursorNormal;
        return;
    }
    Cell& cell = cellAt(x, y);
    if (cell.ball.kind == kNoPiece) return;
    Point at = cellCentre(x, y);
    presentation().effect("hammer", at.x, at.y);
    presentation().sound("hammer.ogg", 0);
    if (cell.ball.chains > 0) {
        unchain(x, y);
    } else {
        removeBall(x, y);
    }
    // A blow is not a pass: the pass counters stay zero between passes.
    game.passBallsRemoved = 0;
    game.passSquaresCleared = 0;
    game.hammerCharge = 0;
    game.cursorMode = kCursorNormal;
}
