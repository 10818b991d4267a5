#include "game/path_search.h"

#include <cmath>

#include "game/board.h"
#include "game/game_state.h"

namespace {
// Neighbour order of both the search and the route walk: left, right, up, down.
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, -1, 1};

struct PathScratch {
    int queue[kBoardCells]; // breadth-first frontier, cell indices
};
PathScratch scratch;
} // namespace

void computePathDistances() {
    for (Cell& cell : currentBoard->cells) cell.pathDistance = -1;
    if (game.selectedX < 0 || game.selectedY < 0) return;
    // A breadth-first search gives the exact shortest step counts, the same as relaxing depth first.
    int head = 0;
    int tail = 0;
    cellAt(game.selectedX, game.selectedY).pathDistance = 0;
    scratch.queue[tail++] = game.selectedX * kBoardSize + game.selectedY;
    while (head < tail) {
        int index = scratch.queue[head++];
        int x = index / kBoardSize;
        int y = index % kBoardSize;
        int d = currentBoard->cells[index].pathDistance + 1;
        for (int n = 0; n < 4; ++n) {
            int nx = x + kStepX[n];
            int ny = y + kStepY[n];
            // The margin keeps neighbours of playing-area cells inside the field; check anyway for stray
            // selections.
            if (nx < 0 || nx >= kBoardSize || ny < 0 || ny >= kBoardSize) continue;
            Cell& next = cellAt(nx, ny);
            if (next.square == -1 || next.ball.kind != kNoPiece || next.pathDistance != -1) continue;
            next.pathDistance = d;
            scratch.queue[tail++] = nx * kBoardSize + ny;
        }
    }
}

bool buildRoute(int toX, int toY) {
    Point start = cellCentre(game.selectedX, game.selectedY);
    game.pathLength = 0;
    int x = toX;
    int y = toY;
    while (cellAt(x, y).pathDistance >= 1) {
        // The route never holds more steps than the table has entries (the last entry is the start itself).
        if (game.pathLength >= kMaxPathPoints - 1) {
            game.pathLength = 0;
            return false;
        }
        Point p = cellCentre(x, y);
        game.pathPoints[game.pathLength++] = {p.x - start.x, p.y - start.y};
        int d = cellAt(x, y).pathDistance;
        int n = 0;
        while (n < 4 && cellAt(x + kStepX[n], y + kStepY[n]).pathDistance != d - 1) ++n;
        if (n == 4) break;
        x += kStepX[n];
        y += kStepY[n];
    }
    game.pathPoints[game.pathLength] = {0, 0};
    return true;
}

int moveDurationFor(int steps) {
    float root = std::sqrt(static_cast<float>(steps * 10));
    return static_cast<int>(root * game.ballSpeed);
}
