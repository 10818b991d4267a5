#include "game/idle_hint.h"

#include <cstring>

#include "engine/app_state.h"
#include "game/game_state.h"
#include "game/path_search.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"

HintScratch hintScratch;

namespace {
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, -1, 1};
constexpr int kHintKinds[11] = {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13}; // colour 7 is never suggested

int index(int x, int y) {
    return x * kBoardSize + y;
}

bool tryTarget(int x, int y) {
    int kind = bestKindAt(x, y);
    if (kind < 0) return false;
    int moverX = -1;
    int moverY = -1;
    if (!findMover(kind, x, y, &moverX, &moverY)) return false;
    game.hintAgeMs = 0;
    game.hintFromX = moverX;
    game.hintFromY = moverY;
    game.hintToX = x;
    game.hintToY = y;
    game.hintShown = true;
    // The route drawing reads the distances from the mover; the selection itself is not kept.
    game.selectedX = moverX;
    game.selectedY = moverY;
    computePathDistances();
    game.selectedX = -1;
    game.selectedY = -1;
    return true;
}
} // namespace

int idleThresholdMs(int levelIndex) {
    if (levelIndex <= 1) return 6000;
    if (levelIndex <= 4) return 9000;
    if (levelIndex <= 9) return 13000;
    if (levelIndex <= 29) return 20000;
    return 25000;
}

void updateIdleTimer() {
    if (game.menuOpen || !game.running || game.completeCountdownMs > 0 || game.defeatCountdownMs > 0 ||
        helpBoardActive || game.selectedX >= 0 || presentation().tipOnScreen()) {
        game.idleMs = 0;
        return;
    }
    // A hint on screen does not restart the wait: the count from -T runs on beneath it, so the next hint
    // comes twice the threshold after the last one was shown, not the display time plus one threshold.
    game.idleMs += static_cast<int32_t>(app.frameDeltaMs);
    int threshold = idleThresholdMs(game.levelIndex);
    if (game.idleMs > threshold && !game.hintShown) {
        showHint();
        game.idleMs = -threshold; // the next hint waits twice as long
    }
}

bool showHint() {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            cellAt(x, y).marked = 0;
        }
    }
    if (game.mode == kModePuzzle) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            for (int x = kPlayLeft; x <= kPlayRight; ++x) {
                if (cellAt(x, y).square > 0 && tryTarget(x, y)) return true;
            }
        }
    }
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (tryTarget(x, y)) return true;
        }
    }
    return false;
}

int bestKindAt(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.square == -1 || cell.ball.kind != kNoPiece) return -1;
    std::memset(hintScratch.runMarks, 0, sizeof(hintScratch.runMarks));
    cell.ball.appearMs = 0;
    int best = -1;
    int bestSum = 0;
    for (int kind : kHintKinds) {
        cell.ball.kind = kind;
        int sum = 0;
        for (int d = 0; d < 4; ++d) {
            int dx = kLineDX[d];
            int dy = kLineDY[d];
            int sx, sy;
            int n = runThrough(x, y, d, kind, sx, sy);
            if (n < game.lineLength) continue;
            sum += n;
            for (int i = 0; i < n; ++i) hintScratch.runMarks[index(sx + dx * i, sy + dy * i)] = 1;
        }
        if (sum > bestSum) {
            bestSum = sum;
            best = kind;
        }
    }
    cell.ball.kind = kNoPiece;
    cell.ball.appearMs = 500;
    return best;
}

bool findMover(int kind, int x, int y, int* moverX, int* moverY) {
    std::memset(hintScratch.reachMarks, 0, sizeof(hintScratch.reachMarks));
    hintScratch.reachMarks[index(x, y)] = 1;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            for (int col = kPlayLeft; col <= kPlayRight; ++col) {
                int here = index(col, row);
                if (hintScratch.reachMarks[here]) continue;
                bool nextToReached = false;
                for (int n = 0; n < 4; ++n)
                    nextToReached |= hintScratch.reachMarks[index(col + kStepX[n], row + kStepY[n])] != 0;
                if (!nextToReached) continue;
                const Cell& cell = cellAt(col, row);
                if (cell.square == -1) continue;
                if (cell.ball.kind == kNoPiece) {
                    hintScratch.reachMarks[here] = 1;
                    changed = true;
                } else if (cell.ball.kind == kind && cell.ball.chains == 0 && !hintScratch.runMarks[here]) {
                    *moverX = col;
                    *moverY = row;
                    return true;
                }
            }
        }
    }
    return false;
}

void updateHint() {
    if (!game.hintShown) return;
    if (game.selectedX >= 0 || game.menuOpen || !game.running || game.completeCountdownMs > 0 ||
        game.defeatCountdownMs > 0) {
        game.hintShown = false;
        return;
    }
    game.hintAgeMs += app.frameTimeMs;
    if (game.hintAgeMs > 5000) game.hintShown = false;
}
