#include "game/rules_step.h"
#include "game/rules.h"

#include <cmath>

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

void advanceFades(Rules& r) {
    float frameMs = r.frameMs;
    if (!r.game.running) {
        r.game.pauseMs += frameMs;
    } else {
        if (r.game.pauseMs > kPauseFadeMs) r.game.pauseMs = kPauseFadeMs;
        r.game.pauseMs -= frameMs;
        if (r.game.pauseMs < 0) r.game.pauseMs = 0;
    }
    if (r.game.menuOpen) {
        r.game.menuFadeMs += frameMs;
        if (r.game.menuFadeMs > kMenuFadeMs) r.game.menuFadeMs = kMenuFadeMs;
    } else {
        r.game.menuFadeMs -= frameMs;
        if (r.game.menuFadeMs < 0) r.game.menuFadeMs = 0;
    }
}

void firstPass(Rules& r) {
    float frameMs = r.frameMs;
    int busySquares = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) busySquares += r.at(x, y).square > 0 ? 1 : 0;
    }
    float pulseRestartMs = static_cast<float>(busySquares + 10) * kPulsePeriodMs;
    float scaleStep = frameMs * kScaleEasePerMs;
    r.game.ballMoving = false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = r.at(x, y);
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
            if (cell.ball.kind != kNoPiece && cell.ball.moveTargetX != -1) r.game.ballMoving = true;
        }
    }
}

bool allScalesSettled(Rules& r) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (r.at(x, y).scale < 1) return false;
        }
    }
    return true;
}

bool travelling(const Ball& ball) {
    return ball.moveTargetX != -1 && ball.moveTimeLeftMs > 0;
}

// The square under a travelling ball dips as the ball passes over it.
void dipUnderTravel(Rules& r, int x, int y) {
    const Ball& ball = r.at(x, y).ball;
    if (ball.kind == kNoPiece || !travelling(ball)) return;
    Point c = cellCentre(x, y);
    int ox = -1, oy = -1;
    cellFromPoint(c.x + ball.offsetX, c.y + ball.offsetY, &ox, &oy);
    if (cellExists(r, ox, oy)) r.at(ox, oy).scale = kTravelDipScale;
}

// The selected ball's hop lands when its sine changes sign; its square dips then, never while it travels.
void dipUnderHop(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    if (cell.ball.kind == kNoPiece || travelling(cell.ball)) return;
    bool below = std::sin(r.game.hopClockMs * kHopRate) < 0;
    bool wasBelow = std::sin((r.game.hopClockMs - r.frameMs) * kHopRate) < 0;
    if (below != wasBelow) cell.scale = kHopDipScale;
}

// Clocks, appearance and travel of every piece; returns whether the last appearing ball just finished.
bool secondPass(Rules& r) {
    bool trigger = false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = r.at(x, y);
            if (cell.ball.kind == kNoPiece) continue;
            cell.ball.ballClockMs += r.frameMs;
            if (cell.ball.appearMs > 0) trigger = advanceAppearance(r, x, y);
            if (cell.ball.kind != kNoPiece && cell.ball.moveTargetX != -1) {
                updateMove(r, x, y);
                dipUnderTravel(r, x, y);
            }
            if (x == r.game.selectedX && y == r.game.selectedY) dipUnderHop(r, x, y);
        }
    }
    return trigger;
}
} // namespace

bool anyPieceOnPlayArea(Rules& r) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (r.at(x, y).ball.kind != kNoPiece) return true;
        }
    }
    return false;
}

bool boardSweepRuns(Rules& r) {
    if (r.game.pauseMs > kPauseFadeMs) return false;                       // the paused board is not drawn
    if (r.game.menuOpen && r.game.menuFadeMs >= kMenuFadeMs) return false; // faded out behind a menu
    // Below 7500 ms of the level-complete sequence the board has broken up into tiles, for good.
    return !(completeSequenceStarted(r) && r.game.completeCountdownMs <= 7500);
}

void boardSweep(Rules& r) {
    if (r.game.selectedX >= 0 && cellExists(r, r.game.selectedX, r.game.selectedY) &&
        r.at(r.game.selectedX, r.game.selectedY).ball.kind == kNoPiece) {
        deselect(r);
    }
    firstPass(r);
    // Balls that appeared since the selection block paths: recompute once the highlights have settled.
    if (r.game.selectedX >= 0 && allScalesSettled(r)) computePathDistances(r);
    if (secondPass(r)) removalPass(r, false);
    if (!anyPieceOnPlayArea(r)) checkEmptyBoard(r);
    checkLevelState(r);
    updateHint(r);
    checkRulesInvariants(r, "the board sweep");
}

void rulesFrame(Rules& r, bool tipOnScreen) {
    r.game.hopClockMs += r.frameMs;
    updateIdleTimer(r, tipOnScreen);
    updateLevelBar(r, tipOnScreen);
    updateSequences(r);
    advanceFades(r);
    if (boardSweepRuns(r)) {
        boardSweep(r);
    } else {
        r.game.ballMoving = false; // a ball standing still mid-route (paused, behind a menu) is not moving
    }
    if (!r.levelHeld()) updateRemovalQueue(r);
    updateBarFraction(r);
    updateBarStars(r);
    if (!r.game.menuOpen && r.game.cursorMode != kCursorHelp && r.game.running &&
        r.game.completeCountdownMs <= 0 && r.game.defeatCountdownMs <= 0) {
        r.game.levelTimeMs += static_cast<int32_t>(r.frameDeltaMs);
    }
    checkRulesInvariants(r, "the rules' frame");
}
