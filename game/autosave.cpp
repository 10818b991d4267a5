#include "game/autosave.h"

#include <chrono>

#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/help_board.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "game/saved_game.h"
#include "player/profile.h"

bool boardAtRest(Rules& r) {
    if (r.game.ballMoving || r.removals.entries.size() > 0) return false;
    for (const BarStar& star : r.stars.stars) {
        if (star.active) return false;
    }
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Ball& ball = r.board.cells[x * kBoardSize + y].ball;
            if (ball.kind != kNoPiece && (ball.appearMs > 0 || ball.moveTargetX != -1)) return false;
        }
    }
    return true;
}

void autosaveFrame(Rules& r, bool resultPageShown) {
    r.autosave.sinceAttemptMs += r.frameMs;
    // A new level (or a restart) counts its moves from 0 again.
    if (r.game.movesMade < r.autosave.savedMoves) r.autosave.savedMoves = 0;
    if (r.game.movesMade == r.autosave.savedMoves || r.levelHeld()) return;
    if (r.autosave.sinceAttemptMs < kAutosaveIntervalMs || !boardAtRest(r) ||
        !saveAllowedNow(r, resultPageShown))
        return;
    r.autosave.sinceAttemptMs = 0;
    auto start = std::chrono::steady_clock::now();
    // The profiles carry the flag that offers the level back and the mode's running score.
    bool saved = saveGame(r, resultPageShown) && saveProfiles();
    r.autosave.lastSaveMs =
        std::chrono::duration<float, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (r.autosave.lastSaveMs > r.autosave.longestSaveMs) r.autosave.longestSaveMs = r.autosave.lastSaveMs;
    if (saved) {
        r.autosave.savedMoves = r.game.movesMade;
        r.autosave.saves += 1;
    } else {
        r.autosave.failures += 1; // a full or read-only disk: the next move tries again
    }
}
