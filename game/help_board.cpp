#include "game/help_board.h"

#include <cstdio>
#include <memory>

#include "engine/file_registry.h"
#include "engine/limits.h"
#include "game/board_click.h"
#include "game/level_file.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "game/rules_step.h"

bool loadAllLevelFiles() {
    // Reading them all at start-up reports a missing file at once instead of in the middle of a game. They
    // are read onto a board of their own: the game's is untouched.
    auto scratch = std::make_unique<Rules>();
    bool all = true;
    for (int level = 0; level < kLevelCount; ++level) all = loadLevel(*scratch, level) && all;
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

void helpBoardSweep(Rules& demo) {
    boardSweep(demo);
    updateRemovalQueue(demo); // the demonstration's own pops (it scores nothing)
}

void helpBoardClick(Rules& demo, int x, int y) {
    // The demonstration clicks as a plain cursor.
    demo.game.cursorMode = kCursorNormal;
    clickCell(demo, x, y);
}
