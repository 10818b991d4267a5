#include "game/autosave.h"

#include <chrono>

#include "engine/app_state.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/help_board.h"
#include "game/removal_queue.h"
#include "game/saved_game.h"
#include "player/profile.h"

Autosave autosave;

void resetAutosave() {
    autosave = Autosave{};
}

bool boardAtRest() {
    if (game.ballMoving || removalQueue.count > 0) return false;
    for (const BarStar& star : barStars.stars) {
        if (star.active) return false;
    }
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Ball& ball = gameBoard.cells[x * kBoardSize + y].ball;
            if (ball.kind != kNoPiece && (ball.appearMs > 0 || ball.moveTargetX != -1)) return false;
        }
    }
    return true;
}

void autosaveFrame() {
    autosave.sinceAttemptMs += app.frameTimeMs;
    // A new level (or a restart) counts its moves from 0 again.
    if (game.movesMade < autosave.savedMoves) autosave.savedMoves = 0;
    if (game.movesMade == autosave.savedMoves || helpBoardActive) return;
    if (autosave.sinceAttemptMs < kAutosaveIntervalMs || !boardAtRest() || !saveAllowedNow()) return;
    autosave.sinceAttemptMs = 0;
    auto start = std::chrono::steady_clock::now();
    // The profiles carry the flag that offers the level back and the mode's running score.
    bool saved = saveGame() && saveProfiles();
    autosave.lastSaveMs =
        std::chrono::duration<float, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (autosave.lastSaveMs > autosave.longestSaveMs) autosave.longestSaveMs = autosave.lastSaveMs;
    if (saved) {
        autosave.savedMoves = game.movesMade;
        autosave.saves += 1;
    } else {
        autosave.failures += 1; // a full or read-only disk: the next move tries again
    }
}
