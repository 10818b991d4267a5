#include "game/idle_hint.h"

#include <cstring>

#include "game/game_state.h"
#include "game/path_search.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/rules.h"

namespace {
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, -1, 1};
constexpr int kHintKinds[11] = {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13}; // colour 7 is never suggested

int index(int x, int y) {
    return x * kBoardSize + y;
}

bool tryTarget(Rules& r, int x, int y) {
    int kind = bestKindAt(r, x, y);
    if (kind < 0) return false;
    int moverX = -1;
    int moverY = -1;
    if (!findMover(r, kind, x, y, &moverX, &moverY)) return false;
    r.game.hintAgeMs = 0;
    r.game.hintFromX = moverX;
    r.game.hintFromY = moverY;
    r.game.hintToX = x;
    r.game.hintToY = y;
    r.game.hintShown = true;
    // The route drawing reads the distances from the mover; the selection itself is not kept.
    r.game.selectedX = moverX;
    r.game.selectedY = moverY;
    computePathDistances(r);
    r.game.selectedX = -1;
    r.game.selectedY = -1;
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

void updateIdleTimer(Rules& r, bool tipOnScreen) {
    if (r.game.menuOpen || !r.game.running || r.game.completeCountdownMs > 0 ||
        r.game.defeatCountdownMs > 0 || r.levelHeld() || r.game.selectedX >= 0 || tipOnScreen) {
        r.game.idleMs = 0;
        return;
    }
    // A hint on screen does not restart the wait: the count from -T runs on beneath it, so the next hint
    // comes twice the threshold after the last one was shown, not the display time plus one threshold.
    r.game.idleMs += static_cast<int32_t>(r.frameDeltaMs);
    int threshold = idleThresholdMs(r.game.levelIndex);
    if (r.game.idleMs > threshold && !r.game.hintShown) {
        showHint(r);
        r.game.idleMs = -threshold; // the next hint waits twice as long
    }
}

bool showHint(Rules& r) {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            r.at(x, y).marked = 0;
        }
    }
    if (r.game.mode == kModePuzzle) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            for (int x = kPlayLeft; x <= kPlayRight; ++x) {
                if (r.at(x, y).square > 0 && tryTarget(r, x, y)) return true;
            }
        }
    }
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (tryTarget(r, x, y)) return true;
        }
    }
    return false;
}

int bestKindAt(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    if (cell.square == -1 || cell.ball.kind != kNoPiece) return -1;
    std::memset(r.hint.runMarks, 0, sizeof(r.hint.runMarks));
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
            int n = runThrough(r, x, y, d, kind, sx, sy);
            if (n < r.game.lineLength) continue;
            sum += n;
            for (int i = 0; i < n; ++i) r.hint.runMarks[index(sx + dx * i, sy + dy * i)] = 1;
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

bool findMover(Rules& r, int kind, int x, int y, int* moverX, int* moverY) {
    std::memset(r.hint.reachMarks, 0, sizeof(r.hint.reachMarks));
    r.hint.reachMarks[index(x, y)] = 1;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            for (int col = kPlayLeft; col <= kPlayRight; ++col) {
                int here = index(col, row);
                if (r.hint.reachMarks[here]) continue;
                bool nextToReached = false;
                for (int n = 0; n < 4; ++n)
                    nextToReached |= r.hint.reachMarks[index(col + kStepX[n], row + kStepY[n])] != 0;
                if (!nextToReached) continue;
                const Cell& cell = r.at(col, row);
                if (cell.square == -1) continue;
                if (cell.ball.kind == kNoPiece) {
                    r.hint.reachMarks[here] = 1;
                    changed = true;
                } else if (cell.ball.kind == kind && cell.ball.chains == 0 && !r.hint.runMarks[here]) {
                    *moverX = col;
                    *moverY = row;
                    return true;
                }
            }
        }
    }
    return false;
}

void updateHint(Rules& r) {
    if (!r.game.hintShown) return;
    if (r.game.selectedX >= 0 || r.game.menuOpen || !r.game.running || r.game.completeCountdownMs > 0 ||
        r.game.defeatCountdownMs > 0) {
        r.game.hintShown = false;
        return;
    }
    r.game.hintAgeMs += r.frameMs;
    if (r.game.hintAgeMs > 5000) r.game.hintShown = false;
}
