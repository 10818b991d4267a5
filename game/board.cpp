#include "game/board.h"

#include <algorithm>
#include <cstring>

#include "engine/random.h"
#include "game/game_state.h"
#include "game/rules.h"

Rules::Rules() {
    // A fresh board has no cell and no distance: nothing stands on it until a level is read.
    clearBoard(*this);
    for (Cell& cell : board.cells) cell.pathDistance = -1;
}

Point cellCentre(int x, int y) {
    return {static_cast<float>((x - kPlayLeft) * 40 - 360), static_cast<float>(280 - (y - kPlayTop) * 40)};
}

void cellFromPoint(float px, float py, int* x, int* y) {
    // The quotient truncates toward zero, so a point just left of the board still maps to column 5. The
    // position is not truncated before the offset: a scaled picture gives fractional positions, and
    // x = -340.5 lies in column 5, not 6. Far-off points are held where the cast stays defined.
    float fx = std::clamp((px + 380) / 40, -1000.0f, 1000.0f);
    float fy = std::clamp((300 - py) / 40, -1000.0f, 1000.0f);
    *x = static_cast<int>(fx) + kPlayLeft;
    *y = static_cast<int>(fy) + kPlayTop;
}

bool cellExists(Rules& r, int x, int y) {
    return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize && r.at(x, y).square != -1;
}

void clearBoard(Rules& r) {
    for (Cell& cell : r.board.cells) {
        cell.square = -1;
        cell.ball.kind = kNoPiece;
        cell.pendingKind = kNoPiece;
        cell.pulseMs = 0;
        // A move abandoned with the previous level must not leave a travelling ghost on an empty cell.
        cell.ball.moveTargetX = -1;
        cell.ball.moveTargetY = -1;
        cell.ball.moveTimeLeftMs = 0;
    }
}

int freeCellsOn(const Board& board) {
    int free = 0;
    for (const Cell& cell : board.cells) free += (cell.square != -1 && cell.ball.kind == kNoPiece) ? 1 : 0;
    return free;
}

void countFreeCells(Rules& r) {
    r.game.freeCells = freeCellsOn(r.board);
}

bool freeCellsAgree(Rules& r) {
    // A full board must start the defeat and an empty one must not: the count decides both.
    return r.game.freeCells == freeCellsOn(r.board);
}

int countExistingCells(Rules& r) {
    int n = 0;
    for (const Cell& cell : r.board.cells) n += cell.square >= 0 ? 1 : 0;
    return n;
}

void newBall(Rules& r, Cell& cell) {
    Ball& ball = cell.ball;
    ball.appearMs = 500;
    ball.ballClockMs = 0;
    ball.moveTimeLeftMs = 0;
    ball.moveTargetX = -1;
    ball.moveTargetY = -1;
    ball.chains = 0;
    ball.vanishDelayMs = -1;
    // The phase is drawn from the rules' generator: it sits between the draws of the previews, and the
    // order of those draws decides which ball comes next.
    ball.phase = randomUnit(r.random, 1.0f);
    ball.offsetX = 0;
    ball.offsetY = 0;
}
