#include "game/invariants.h"

#include <cstdio>
#include <cstdlib>

#include "game/board.h"
#include "game/game_state.h"

RulesInvariants rulesInvariants;

void checkRulesInvariants(const char* where) {
    if (freeCellsAgree()) return;
    char line[200];
    std::snprintf(line, sizeof line,
                  "pebblecraft: rules invariant broken after %s: %d free cells counted, %d on the board%s",
                  where, game.freeCells, freeCellsOn(*currentBoard),
                  rulesInvariants.strict ? "" : "; recounted");
    std::fprintf(stderr, "%s\n", line);
    if (rulesInvariants.strict) {
        if (rulesInvariants.beforeAbort) rulesInvariants.beforeAbort(line);
        std::abort();
    }
    // The count decides the defeat of a full board: the board itself is the truth.
    countFreeCells();
    ++rulesInvariants.repairs;
}
