// The end-to-end tests' saved-game editor: puts pieces on empty cells of a player's saved game with the
// game's own reader and writer, so that a flow can resume a board that holds bombs through the menus.
//
// Usage: e2e_saved_game FILE KIND@X,Y[a]...
//   KIND 0..7 a colour, 10 joker, 11 triple bomb, 12 diamond, 13 quadro bomb, -1 none (empties the
//   cell, so that a flow can make room where the board is full); X, Y a board cell; a trailing "a" lets
//   the piece appear when the game is resumed, so that the removal pass that follows every appearance
//   takes the lines it makes. The pieces are taken in order: "-1@5,7 0@5,7a" replaces a ball.
//        e2e_saved_game FILE show
//   prints "moves=N" and the 15 rows of the saved board in the letters of the state file.
// A piece whose cell holds a ball or does not exist is left out. Prints the number of pieces placed
// (emptied cells count as placed);
// exits with 1 when the file cannot be read or written, or when no piece could be placed.
#include <cstdio>
#include <string_view>

#include "app/state_probe.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/saved_game.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE KIND@X,Y...\n", argv[0]);
        return 1;
    }
    if (!readSavedGame(liveRules, argv[1])) {
        std::fprintf(stderr, "%s: not a saved game\n", argv[1]);
        return 1;
    }
    if (std::string_view(argv[2]) == "show") {
        std::printf("moves=%d\n", game.movesMade);
        char row[kPlayRight - kPlayLeft + 2];
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            formatStateProbeRow(y, row);
            std::printf("%s\n", row);
        }
        return 0;
    }
    int placed = 0;
    for (int i = 2; i < argc; ++i) {
        int kind = -1, x = -1, y = -1;
        char appear = 0;
        int fields = std::sscanf(argv[i], "%d@%d,%d%c", &kind, &x, &y, &appear);
        if (fields < 3 || (fields == 4 && appear != 'a')) {
            std::fprintf(stderr, "%s: expected KIND@X,Y or KIND@X,Ya\n", argv[i]);
            return 1;
        }
        if (kind == kNoPiece && cellExists(liveRules, x, y)) {
            Ball& ball = liveRules.at(x, y).ball;
            ball.kind = kNoPiece;
            ball.chains = 0;
            ball.offsetX = ball.offsetY = 0;
            ball.moveTargetX = ball.moveTargetY = -1;
            ball.moveTimeLeftMs = ball.appearMs = 0;
            ++placed;
            continue;
        }
        bool knownKind = (kind >= 0 && kind < kColourCount) || (kind >= kJoker && kind <= kQuadroBomb);
        if (!knownKind || !cellExists(liveRules, x, y) || liveRules.at(x, y).ball.kind != kNoPiece) continue;
        Cell& cell = liveRules.at(x, y);
        newBall(liveRules, cell);
        cell.ball.kind = kind;
        cell.ball.appearMs = appear == 'a' ? 500.0f : 0.0f;
        ++placed;
    }
    countFreeCells(liveRules);
    if (placed == 0 || !writeSavedGame(liveRules, argv[1])) {
        std::fprintf(stderr, "%s: %d pieces placed, file %s\n", argv[1], placed,
                     placed ? "not written" : "unchanged");
        return 1;
    }
    std::printf("%d\n", placed);
    return 0;
}
