#include "game/path_search.h"

#include <cmath>

#include "game/board.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "platform/ring.h"

namespace {
// Neighbour order of both the search and the route walk: left, right, up, down.
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, -1, 1};

struct PathScratch {
    Ring<int, kBoardCells> queue; // breadth-first frontier, cell indices; each cell enters once
};
PathScratch scratch;
} // namespace

void computePathDistances(Rules& r) {
    for (Cell& cell : r.board.cells) cell.pathDistance = -1;
    if (r.game.selectedX < 0 || r.game.selectedY < 0) return;
    // A breadth-first search gives the exact shortest step counts, the same as relaxing depth first.
    scratch.queue.clear();
    r.at(r.game.selectedX, r.game.selectedY).pathDistance = 0;
    scratch.queue.push(r.game.selectedX * kBoardSize + r.game.selectedY);
    while (!scratch.queue.empty()) {
        int index = scratch.queue.oldest();
        scratch.queue.popOldest();
        int x = index / kBoardSize;
        int y = index % kBoardSize;
        int d = r.board.cells[index].pathDistance + 1;
        for (int n = 0; n < 4; ++n) {
            int nx = x + kStepX[n];
            int ny = y + kStepY[n];
            // The margin keeps neighbours of playing-area cells inside the field; check anyway for stray
            // selections.
            if (nx < 0 || nx >= kBoardSize || ny < 0 || ny >= kBoardSize) continue;
            Cell& next = r.at(nx, ny);
            if (next.square == -1 || next.ball.kind != kNoPiece || next.pathDistance != -1) continue;
            next.pathDistance = d;
            scratch.queue.push(nx * kBoardSize + ny);
        }
    }
}

bool buildRoute(Rules& r, int toX, int toY) {
    Point start = cellCentre(r.game.selectedX, r.game.selectedY);
    r.game.pathLength = 0;
    int x = toX;
    int y = toY;
    while (r.at(x, y).pathDistance >= 1) {
        // The route never holds more steps than the table has entries (the last entry is the start itself).
        if (r.game.pathLength >= kMaxPathPoints - 1) {
            r.game.pathLength = 0;
            return false;
        }
        Point p = cellCentre(x, y);
        r.game.pathPoints[r.game.pathLength++] = {p.x - start.x, p.y - start.y};
        int d = r.at(x, y).pathDistance;
        int n = 0;
        while (n < 4 && r.at(x + kStepX[n], y + kStepY[n]).pathDistance != d - 1) ++n;
        if (n == 4) break;
        x += kStepX[n];
        y += kStepY[n];
    }
    r.game.pathPoints[r.game.pathLength] = {0, 0};
    return true;
}

int moveDurationFor(Rules& r, int steps) {
    float root = std::sqrt(static_cast<float>(steps * 10));
    return static_cast<int>(root * r.game.ballSpeed);
}
