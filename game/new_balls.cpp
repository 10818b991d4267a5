#include "game/new_balls.h"

#include "engine/random.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/moves.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/rules.h"

namespace {
constexpr int kNeverJoker = 1000000;
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};

// A cell agrees with an announced kind when its preview or its piece is that kind or wild.
bool agrees(Rules& r, int x, int y, int kind) {
    const Cell& cell = r.at(x, y);
    if (cell.square == -1) return false;
    return cell.pendingKind == kind || cell.ball.kind == kind || cell.pendingKind >= kFirstWild ||
           cell.ball.kind >= kFirstWild;
}
} // namespace

int rulesDraw(Rules& r, int n) {
    int value = r.random.next();
    return n > 0 ? value % n : 0;
}

void drawPreview(Rules& r) {
    // The demonstration deals no balls: a draw of the rules' generator there would change the game's next
    // ball.
    if (r.levelHeld() || r.game.freeCells <= 0) return;
    // The order of the three draws decides which ball comes next: colour, joker, cell.
    int kind = rulesDraw(r, r.game.colourCount);
    if (rulesDraw(r, r.game.jokerFrequency) == 0 && r.game.jokerFrequency < kNeverJoker) kind = kJoker;
    int pick = rulesDraw(r, r.game.freeCells);
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = r.at(x, y);
            if (cell.square == -1 || cell.ball.kind != kNoPiece) continue;
            if (pick-- > 0) continue;
            cell.pendingKind = kind;
            cell.pendingMs = 500;
            return;
        }
    }
}

void placePreviews(Rules& r) {
    if (r.levelHeld()) return;
    if (r.game.freeCells == 1) drawPreview(r);
    int jokerX = -1;
    int jokerY = -1;
    bool placed = false;
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = r.at(x, y);
            if (cell.square == -1 || cell.pendingKind < 0) continue;
            // The target of a ball on its way is taken: the ball's landing drops the preview there.
            if (boundForTravel(r, x, y)) continue;
            if (cell.ball.kind == kNoPiece) {
                newBall(r, cell);
                cell.ball.kind = cell.pendingKind;
                cell.pendingMs = 0;
                r.game.freeCells -= 1;
                placed = true;
                if (cell.ball.kind == kJoker) {
                    jokerX = x;
                    jokerY = y;
                }
            }
            cell.pendingKind = kNoPiece;
        }
    }
    if (jokerX >= 0) {
        r.events().tipOccasion(TipOccasion::JokerDealt, jokerX, jokerY);
    }
    if (placed) r.events().newBallsDealt();
}

bool advanceAppearance(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    Ball& ball = cell.ball;
    // Colours and jokers take 667 ms to appear, the earned pieces 833 ms.
    ball.appearMs -= r.frameMs * (ball.kind <= kJoker ? 0.75f : 0.6f);
    if (ball.appearMs > 0) return false;
    ball.appearMs = 0;
    cell.pendingKind = kNoPiece;
    return true;
}

void computeBallsPerTurn(Rules& r) {
    int cells = countExistingCells(r);
    if (r.game.ballsPerTurn == 0 || r.game.mode == kModePuzzle) {
        r.game.ballsPerTurn = cells / 4;
        if (r.game.levelIndex <= 1) r.game.ballsPerTurn /= 2;
    }
    if (r.game.mode == kModeAction) {
        int f = r.game.levelIndex < 2 ? 3 : r.game.levelIndex < 4 ? 6 : r.game.levelIndex < 5 ? 7 : 8;
        r.game.ballsPerTurn = cells * f / 10;
    }
}

void fillBoardAtStart(Rules& r) {
    if (r.game.levelIndex > 1) {
        int count = r.game.freeCells / 2;
        for (int i = 0; i < count; ++i) drawPreview(r);
        for (int x = 0; x < kBoardSize; ++x) {
            for (int y = 0; y < kBoardSize; ++y) {
                Cell& cell = r.at(x, y);
                if (cell.pendingKind >= 0 && wouldFormLine(r, x, y) != 0) cell.pendingKind = kNoPiece;
            }
        }
        placePreviews(r);
    }
    for (int i = 0; i < r.game.ballsPerTurn; ++i) drawPreview(r);
}

int wouldFormLine(Rules& r, int x, int y) {
    int kind = r.at(x, y).pendingKind;
    if (kind == kNoPiece) return 0;
    int best = 0;
    for (int d = 0; d < 4; ++d) {
        int dx = kLineDX[d];
        int dy = kLineDY[d];
        int k = kind;
        if (dy == 1 && dx == 0 && k >= kFirstWild) {
            // Along y a wild preview takes the kind announced nearest above it.
            int above = y - 1;
            while (above > 0 && r.at(x, above).pendingKind == kJoker) --above;
            int value = r.at(x, above).pendingKind;
            if (value != kNoPiece) k = value;
        }
        int sx = x;
        int sy = y;
        while (agrees(r, sx - dx, sy - dy, k)) {
            sx -= dx;
            sy -= dy;
        }
        int n = 0;
        while (agrees(r, sx + dx * n, sy + dy * n, k)) ++n;
        if (n >= r.game.lineLength && n > best) best = n;
    }
    return best;
}
