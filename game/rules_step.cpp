#include "game/rules_step.h"

#include <cmath>

#include "engine/app_state.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/idle_hint.h"
#include "game/invariants.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/new_balls.h"
#include "game/path_search.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"

namespace {
constexpr float kPauseFadeMs = 500;
constexpr float kMenuFadeMs = 300;
constexpr float kScaleEasePerMs = 0.0016f;
constexpr float kPulsePeriodMs = 502.65485f;

void advanceFades() {
    float frameMs = app.frameTimeMs;
    if (!game.running) {
        game.pauseMs += frameMs;
    } else {
        if (game.pauseMs > kPauseFadeMs) game.pauseMs = kPauseFadeMs;
        game.pauseMs -= frameMs;
        if (game.pauseMs < 0) game.pauseMs = 0;
    }
    if (game.menuOpen) {
        game.menuFadeMs += frameMs;
        if (game.menuFadeMs > kMenuFadeMs) game.menuFadeMs = kMenuFadeMs;
    } else {
        game.menuFadeMs -= frameMs;
        if (game.menuFadeMs < 0) game.menuFadeMs = 0;
    }
}

void firstPass() {
    float frameMs = app.frameTimeMs;
    int busySquares = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) busySquares += cellAt(x, y).square > 0 ? 1 : 0;
    }
    float pulseRestartMs = static_cast<float>(busySquares + 10) * kPulsePeriodMs;
    float scaleStep = frameMs * kScaleEasePerMs;
    game.ballMoving = false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = cellAt(x, y);
            cell.cellClockMs += frameMs;
            cell.pulseMs += frameMs;
            if (cell.pulseMs > pulseRestartMs && busySquares > 5) cell.pulseMs = 0;
            if (cell.scale < 1) {
                cell.scale += scaleStep;
                if (cell.scale > 1) cell.scale = 1;
            } else if (cell.scale > 1) {
                cell.scale -= scaleStep;
                if (cell.scale < 1) cell.scale = 1;
            }
            if (cell.pendingMs > 0) {
                cell.pendingMs -= frameMs;
                if (cell.pendingMs < 0) cell.pendingMs = 0;
            }
            if (cell.ball.kind != kNoPiece && cell.ball.moveTargetX != -1) game.ballMoving = true;
        }
    }
}

bool allScalesSettled() {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (cellAt(x, y).scale < 1) return false;
        }
    }
    return true;
}

bool travelling(const Ball& ball) {
    return ball.moveTargetX != -1 && ball.moveTimeLeftMs > 0;
}

// The square under a travelling ball dips as the ball passes over it.
void dipUnderTravel(int x, int y) {
    const Ball& ball = cellAt(x, y).ball;
    if (ball.kind == kNoPiece || !travelling(ball)) return;
    Point c = cellCentre(x, y);
    int ox = -1, oy = -1;
    cellFromPoint(c.x + ball.offsetX, c.y + ball.offsetY, &ox, &oy);
    if (cellExists(ox, oy)) cellAt(ox, oy).scale = kTravelDipScale;
}

// The selected ball's hop lands when its sine changes sign; its square dips then, never while it travels.
void dipUnderHop(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.ball.kind == kNoPiece || travelling(cell.ball)) return;
    bool below = std::sin(game.hopClockMs * kHopRate) < 0;
    bool wasBelow = std::sin((game.hopClockMs - app.frameTimeMs) * kHopRate) < 0;
    if (below != wasBelow) cell.scale = kHopDipScale;
}

// Clocks, appearance and travel of every piece; returns whether the last appearing ball just finished.
bool secondPass() {
    bool trigger = false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = cellAt(x, y);
            if (cell.ball.kind == kNoPiece) continue;
            cell.ball.ballClockMs += app.frameTimeMs;
            if (cell.ball.appearMs > 0) trigger = advanceAppearance(x, y);
            if (cell.ball.kind != kNoPiece && cell.ball.moveTargetX != -1) {
                updateMove(x, y);
                dipUnderTravel(x, y);
            }
            if (x == game.selectedX && y == game.selectedY) dipUnderHop(x, y);
        }
    }
    return trigger;
}
} // namespace

bool anyPieceOnPlayArea() {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (cellAt(x, y).ball.kind != kNoPiece) return true;
        }
    }
    return false;
}

bool boardSweepRuns() {
    if (game.pauseMs > kPauseFadeMs) return false;                     // the paused board is not drawn
    if (game.menuOpen && game.menuFadeMs >= kMenuFadeMs) return false; // faded out behind a menu
    // Below 7500 ms of the level-complete sequence the board has broken up into tiles, for good.
    return !(completeSequenceStarted() && game.completeCountdownMs <= 7500);
}

void boardSweep() {
    if (game.selectedX >= 0 && cellExists(game.selectedX, game.selectedY) &&
        cellAt(game.selectedX, game.selectedY).ball.kind == kNoPiece) {
        deselect();
    }
    firstPass();
    // Balls that appeared since the selection block paths: recompute once the highlights have settled.
    if (game.selectedX >= 0 && allScalesSettled()) computePathDistances();
    if (secondPass()) removalPass(false);
    if (!anyPieceOnPlayArea()) checkEmptyBoard();
    checkLevelState();
    updateHint();
    checkRulesInvariants("the board sweep");
}

void rulesFrame() {
    game.hopClockMs += app.frameTimeMs;
    updateIdleTimer();
    updateLevelBar();
    updateSequences();
    advanceFades();
    if (boardSweepRuns()) {
        boardSweep();
    } else {
        game.ballMoving = false; // a ball standing still mid-route (paused, behind a menu) is not moving
    }
    if (!helpBoardActive) updateRemovalQueue();
    updateBarFraction();
    updateBarStars();
    if (!game.menuOpen && game.cursorMode != kCursorHelp && game.running && game.completeCountdownMs <= 0 &&
        game.defeatCountdownMs <= 0) {
        game.levelTimeMs += static_cast<int32_t>(app.frameDeltaMs);
    }
    checkRulesInvariants("the rules' frame");
}
