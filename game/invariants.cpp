#include "game/invariants.h"

#include <cstdio>
#include <cstdlib>

#include "game/board.h"
#include "game/game_state.h"
#include "game/rules.h"

RulesInvariants rulesInvariants;

void checkRulesInvariants(Rules& r, const char* where) {
    if (freeCellsAgree(r)) return;
    char line[200];
    std::snprintf(line, sizeof line,
                  "pebblecraft: rules invariant broken after %s: %d free cells counted, %d on the board%s",
                  where, r.game.freeCells, freeCellsOn(r.board), rulesInvariants.strict ? "" : "; recounted");
    std::fprintf(stderr, "%s\n", line);
    if (rulesInvariants.strict) {
        if (rulesInvariants.beforeAbort) rulesInvariants.beforeAbort(line);
        std::abort();
    }
    // The count decides the defeat of a full board: the board itself is the truth.
    countFreeCells(r);
    ++rulesInvariants.repairs;
}
