#include "game/help_board.h"

#include <cstdio>

#include "engine/file_registry.h"
#include "engine/limits.h"
#include "game/board.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/removal_queue.h"
#include "game/rules_step.h"

namespace {
// Runs rule work on the help board and puts the game board back afterwards.
struct OnHelpBoard {
    Board* previous = currentBoard;
    bool previousActive = helpBoardActive;
    OnHelpBoard() {
        currentBoard = &helpBoard;
        helpBoardActive = true;
    }
    ~OnHelpBoard() {
        currentBoard = previous;
        helpBoardActive = previousActive;
    }
};
} // namespace

bool loadAllLevelFiles() {
    // Reading them all at start-up reports a missing file at once instead of in the middle of a game.
    bool all = true;
    for (int level = 0; level < kLevelCount; ++level) all = loadLevel(level) && all;
    clearBoard();
    for (int page = 1; page <= 8; ++page) {
        char name[32];
        std::snprintf(name, sizeof(name), "levels/help%i.lvl", page);
        uint8_t* data = openFile(name, nullptr, levelFiles.missingIsFatal);
        if (!data) {
            all = false;
            continue;
        }
        releaseFile(data);
    }
    return all;
}

void helpBoardSweep() {
    OnHelpBoard help;
    boardSweep();
    updateRemovalQueue(); // the demonstration's own pops, while the help board is active (no points)
}

void helpBoardClick(int x, int y) {
    OnHelpBoard help;
    if (!cellExists(x, y)) {
        deselect();
    } else if (cellAt(x, y).ball.kind != kNoPiece) {
        clickBall(x, y);
    } else {
        clickEmptyCell(x, y);
    }
}
