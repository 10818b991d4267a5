#include "game/moves.h"

#include <cstring>

#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/new_balls.h"
#include "game/path_search.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/rules.h"

namespace {
// The ball whose move is in progress; false when none (only one move is in progress at a time).
bool travellingBall(Rules& r, int* fromX, int* fromY) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Ball& ball = r.at(x, y).ball;
            if (ball.kind != kNoPiece && ball.moveTargetX != -1) {
                *fromX = x;
                *fromY = y;
                return true;
            }
        }
    }
    return false;
}
} // namespace

bool travelInProgress(Rules& r) {
    int x = -1, y = -1;
    return travellingBall(r, &x, &y);
}

bool boundForTravel(Rules& r, int x, int y) {
    int fx = -1, fy = -1;
    if (!travellingBall(r, &fx, &fy)) return false;
    const Ball& ball = r.at(fx, fy).ball;
    return ball.moveTargetX == x && ball.moveTargetY == y;
}

void deselect(Rules& r) {
    r.game.selectedX = -1;
    r.game.selectedY = -1;
}

void clickBall(Rules& r, int x, int y) {
    // A ball standing still mid-route behind the pause or a menu is still on its way.
    if (r.game.cursorMode != kCursorNormal || r.game.ballMoving || travelInProgress(r)) return;
    const Cell& cell = r.at(x, y);
    if (cell.ball.kind == kNoPiece || cell.ball.chains != 0) return;
    if (r.game.selectedX == x && r.game.selectedY == y) {
        deselect(r);
        return;
    }
    r.game.selectedX = x;
    r.game.selectedY = y;
    r.events().ballSelected(x, y);
    computePathDistances(r);
}

bool clickEmptyCell(Rules& r, int x, int y) {
    if (r.game.selectedX < 0 || r.game.ballMoving || travelInProgress(r)) return false;
    if (!r.levelHeld() && levelDecided(r)) return false; // won or lost: no more moves
    Cell& target = r.at(x, y);
    if (target.pathDistance < 1 || target.square == -1 || target.ball.kind != kNoPiece) return false;
    Cell& start = r.at(r.game.selectedX, r.game.selectedY);
    // A stale selection (its ball gone since the last sweep) starts nothing.
    if (start.ball.kind == kNoPiece || start.ball.moveTargetX != -1) return false;
    if (!buildRoute(r, x, y)) return false;
    r.events().moveTargetChosen(x, y);
    target.scale = 0.7f;
    start.ball.moveTargetX = x;
    start.ball.moveTargetY = y;
    r.game.moveDurationMs = moveDurationFor(r, r.game.pathLength);
    start.ball.moveTimeLeftMs = static_cast<float>(r.game.moveDurationMs);
    // Until the next sweep marks the frame, a second click must not start another move of the same ball.
    r.game.ballMoving = true;
    return true;
}

namespace {
void land(Rules& r, int fromX, int fromY) {
    Cell& start = r.at(fromX, fromY);
    int toX = start.ball.moveTargetX;
    int toY = start.ball.moveTargetY;
    r.events().ballLanded(toX, toY);
    deselect(r);
    // A demonstration move on the help board must not count as a move of the level being played.
    bool demonstration = r.levelHeld();
    if (!demonstration) {
        r.game.landingX = toX;
        r.game.landingY = toY;
    }
    start.ball.moveTargetX = -1;
    start.ball.moveTargetY = -1;
    Cell& target = r.at(toX, toY);
    target.pendingKind = kNoPiece; // a preview announced where the ball lands is lost
    std::memcpy(&target.ball, &start.ball, sizeof(Ball));
    target.ball.offsetX = 0;
    target.ball.offsetY = 0;
    target.ball.moveTimeLeftMs = 0;
    start.ball.kind = kNoPiece;
    start.ball.offsetX = 0;
    start.ball.offsetY = 0;
    start.ball.moveTimeLeftMs = 0;
    r.game.pathLength = 0;
    // A move still on its way when the level was won (or lost) lands, but the level's moves were counted
    // then: the results and the records hold them.
    if (!demonstration && !levelDecided(r)) {
        r.game.streak += 1;
        r.game.movesMade += 1;
    }
    if (removalPass(r, true) == 0) {
        placePreviews(r);
        for (int i = 0; i < r.game.ballsPerTurn; ++i) drawPreview(r);
    }
}
} // namespace

void updateMove(Rules& r, int x, int y) {
    Ball& ball = r.at(x, y).ball;
    ball.moveTimeLeftMs -= r.frameMs;
    int length = r.game.pathLength;
    float u = r.game.moveDurationMs > 0
                  ? ball.moveTimeLeftMs / static_cast<float>(r.game.moveDurationMs) * length
                  : 0;
    // Keep the interpolation inside the route: u runs from pathLength down to 0 and may overshoot below.
    if (u < 0) u = 0;
    if (u > length) u = static_cast<float>(length);
    int i = static_cast<int>(u);
    float f = u - static_cast<float>(i);
    int next = i < length ? i + 1 : length;
    const PathPoint& a = r.game.pathPoints[i];
    const PathPoint& b = r.game.pathPoints[next];
    ball.offsetX = a.x + (b.x - a.x) * f;
    ball.offsetY = a.y + (b.y - a.y) * f;
    if (ball.moveTimeLeftMs <= 0) land(r, x, y);
}
