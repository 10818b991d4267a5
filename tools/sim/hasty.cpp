#include "hasty.h"

#include "game/board.h"
#include "game/board_click.h"
#include "game/board_keys.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "sim.h"

namespace {
int below(HastyPlayer& p, int n) {
    return randomInt(p.choice, n);
}

void clickAnywhere(HastyPlayer& p) {
    // Now and then beside the playing area too: off the field a click deselects.
    leftClickCell(simRules, kPlayLeft - 1 + below(p, kPlayRight - kPlayLeft + 3),
                  kPlayTop - 1 + below(p, kPlayBottom - kPlayTop + 3));
}

// The bot's best move, clicked at once whatever is under way: the rules refuse what they must.
void playAMove() {
    BotMove move;
    if (!botChooseMove(simRules, &move)) return;
    leftClickCell(simRules, move.fromX, move.fromY);
    leftClickCell(simRules, move.toX, move.toY);
}

void doubleClickAnywhere(HastyPlayer& p) {
    int x = kPlayLeft + below(p, kPlayRight - kPlayLeft + 1);
    int y = kPlayTop + below(p, kPlayBottom - kPlayTop + 1);
    // The first press of the pair is a click of its own; the second goes to the double-click handling.
    leftClickCell(simRules, x, y);
    doubleClickCell(simRules, x, y);
}
} // namespace

void startHasty(HastyPlayer& player, unsigned seed) {
    player = HastyPlayer{};
    player.choice.seed(seed ^ 0x5a5a5a5au);
}

float hastyFrameMs(HastyPlayer& player) {
    return static_cast<float>(4 + below(player, 57));
}

void hastyAct(HastyPlayer& p) {
    if (simRules.game.menuOpen) {
        // Only its own in-game menu is left with "Resume game"; a result page ends the simRules.game.
        if (levelDecided(simRules) || --p.menuFramesLeft > 0) return;
        simRules.game.menuOpen = false; // what "Resume game" does
        return;
    }
    if (!simRules.game.running) {
        if (--p.pauseFramesLeft > 0) return;
        // Any key or click goes on.
        if (below(p, 2) == 0) {
            clickAnywhere(p);
        } else {
            onGameKey(simRules, 'A' + below(p, 26), false);
        }
        return;
    }
    if (completeSequenceStarted(simRules) || defeatSequenceStarted(simRules)) {
        if (below(p, 8) == 0) clickAnywhere(p); // skips the sequence; the results would follow
        if (below(p, 3) == 0) playAMove();      // and quick clicks keep coming meanwhile
        return;
    }
    int roll = below(p, 1000);
    if (roll < 120) {
        playAMove();
    } else if (roll < 170) {
        clickAnywhere(p);
    } else if (roll < 190) {
        doubleClickAnywhere(p);
    } else if (roll < 200) {
        rightClickBoard(simRules);
    } else if (roll < 208) {
        onGameKey(simRules, kKeyEscape, false); // the in-game menu, for a while
        p.menuFramesLeft = 1 + below(p, 40);
    } else if (roll < 216) {
        onGameKey(simRules, kKeySpace, false); // the pause, for a while
        p.pauseFramesLeft = 1 + below(p, 60);
    } else if (roll < 222) {
        clickHammerIcon(simRules);
        if (simRules.game.cursorMode == kCursorHammer) clickAnywhere(p);
    }
}
