#include "game/help_board.h"

#include <cstdio>
#include <cstring>

#include "engine/file_registry.h"
#include "engine/limits.h"
#include "game/board.h"
#include "game/board_click.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/removal_queue.h"
#include "game/rules_step.h"

namespace {
// What the demonstration's moves keep of the rule state between its frames and clicks.
struct HelpPlay {
    int32_t selectedX = -1;
    int32_t selectedY = -1;
    PathPoint pathPoints[kMaxPathPoints] = {};
    int32_t pathLength = 0;
    int32_t moveDurationMs = 0;
    bool ballMoving = false;
};
HelpPlay helpPlay;
} // namespace

void resetHelpPlay() {
    helpPlay = HelpPlay{};
}

// The demonstration's part of the rule state, from one record into the other (both have these fields).
template <typename To, typename From> static void copyPlay(To& to, const From& from) {
    to.selectedX = from.selectedX;
    to.selectedY = from.selectedY;
    std::memcpy(to.pathPoints, from.pathPoints, sizeof(to.pathPoints));
    to.pathLength = from.pathLength;
    to.moveDurationMs = from.moveDurationMs;
    to.ballMoving = from.ballMoving;
}

HelpBoardScope::HelpBoardScope()
    : previousBoard(currentBoard), previousActive(helpBoardActive), gameState(game) {
    currentBoard = &helpBoard;
    helpBoardActive = true;
    copyPlay(game, helpPlay);
    // The demonstration clicks as a plain cursor, on a board whose own cells it counts.
    game.cursorMode = kCursorNormal;
    game.landingX = game.landingY = -1;
    game.hintShown = false;
    countFreeCells();
}

HelpBoardScope::~HelpBoardScope() {
    copyPlay(helpPlay, game);
    game = gameState;
    currentBoard = previousBoard;
    helpBoardActive = previousActive;
}

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
    HelpBoardScope help;
    boardSweep();
    updateRemovalQueue(); // the demonstration's own pops, while the help board is active (no points)
}

void helpBoardClick(int x, int y) {
    HelpBoardScope help;
    clickCell(x, y);
}
