#include "game/moves.h"

#include <cstring>

#include "engine/app_state.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/new_balls.h"
#include "game/path_search.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"

namespace {
// The ball whose move is in progress; false when none (only one move is in progress at a time).
bool travellingBall(int* fromX, int* fromY) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Ball& ball = cellAt(x, y).ball;
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

bool travelInProgress() {
    int x = -1, y = -1;
    return travellingBall(&x, &y);
}

bool boundForTravel(int x, int y) {
    int fx = -1, fy = -1;
    if (!travellingBall(&fx, &fy)) return false;
    const Ball& ball = cellAt(fx, fy).ball;
    return ball.moveTargetX == x && ball.moveTargetY == y;
}

void deselect() {
    game.selectedX = -1;
    game.selectedY = -1;
}

void clickBall(int x, int y) {
    // A ball standing still mid-route behind the pause or a menu is still on its way.
    if (game.cursorMode != kCursorNormal || game.ballMoving || travelInProgress()) return;
    const Cell& cell = cellAt(x, y);
    if (cell.ball.kind == kNoPiece || cell.ball.chains != 0) return;
    if (game.selectedX == x && game.selectedY == y) {
        deselect();
        return;
    }
    game.selectedX = x;
    game.selectedY = y;
    presentation().sound("selectball.ogg", 0);
    computePathDistances();
}

bool clickEmptyCell(int x, int y) {
    if (game.selectedX < 0 || game.ballMoving || travelInProgress()) return false;
    if (!helpBoardActive && levelDecided()) return false; // won or lost: no more moves
    Cell& target = cellAt(x, y);
    if (target.pathDistance < 1 || target.square == -1 || target.ball.kind != kNoPiece) return false;
    Cell& start = cellAt(game.selectedX, game.selectedY);
    // A stale selection (its ball gone since the last sweep) starts nothing.
    if (start.ball.kind == kNoPiece || start.ball.moveTargetX != -1) return false;
    if (!buildRoute(x, y)) return false;
    Point centre = cellCentre(x, y);
    presentation().sound("selectaim.ogg", 0);
    presentation().targetMarker(centre.x, centre.y);
    target.scale = 0.7f;
    start.ball.moveTargetX = x;
    start.ball.moveTargetY = y;
    game.moveDurationMs = moveDurationFor(game.pathLength);
    start.ball.moveTimeLeftMs = static_cast<float>(game.moveDurationMs);
    // Until the next sweep marks the frame, a second click must not start another move of the same ball.
    game.ballMoving = true;
    return true;
}

namespace {
void land(int fromX, int fromY) {
    Cell& start = cellAt(fromX, fromY);
    int toX = start.ball.moveTargetX;
    int toY = start.ball.moveTargetY;
    presentation().sound("ballstand.ogg", 0);
    deselect();
    // A demonstration move on the help board must not count as a move of the level being played.
    bool demonstration = helpBoardActive;
    if (!demonstration) {
        game.landingX = toX;
        game.landingY = toY;
    }
    start.ball.moveTargetX = -1;
    start.ball.moveTargetY = -1;
    Cell& target = cellAt(toX, toY);
    target.pendingKind = kNoPiece; // a preview announced where the ball lands is lost
    std::memcpy(&target.ball, &start.ball, sizeof(Ball));
    target.ball.offsetX = 0;
    target.ball.offsetY = 0;
    target.ball.moveTimeLeftMs = 0;
    start.ball.kind = kNoPiece;
    start.ball.offsetX = 0;
    start.ball.offsetY = 0;
    start.ball.moveTimeLeftMs = 0;
    game.pathLength = 0;
    // A move still on its way when the level was won (or lost) lands, but the level's moves were counted
    // then: the results and the records hold them.
    if (!demonstration && !levelDecided()) {
        game.streak += 1;
        game.movesMade += 1;
    }
    if (removalPass(true) == 0) {
        placePreviews();
        for (int i = 0; i < game.ballsPerTurn; ++i) drawPreview();
    }
}
} // namespace

void updateMove(int x, int y) {
    Ball& ball = cellAt(x, y).ball;
    ball.moveTimeLeftMs -= app.frameTimeMs;
    int length = game.pathLength;
    float u =
        game.moveDurationMs > 0 ? ball.moveTimeLeftMs / static_cast<float>(game.moveDurationMs) * length : 0;
    // Keep the interpolation inside the route: u runs from pathLength down to 0 and may overshoot below.
    if (u < 0) u = 0;
    if (u > length) u = static_cast<float>(length);
    int i = static_cast<int>(u);
    float f = u - static_cast<float>(i);
    int next = i < length ? i + 1 : length;
    const PathPoint& a = game.pathPoints[i];
    const PathPoint& b = game.pathPoints[next];
    ball.offsetX = a.x + (b.x - a.x) * f;
    ball.offsetY = a.y + (b.y - a.y) * f;
    if (ball.moveTimeLeftMs <= 0) land(x, y);
}
