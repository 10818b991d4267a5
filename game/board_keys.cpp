#include "game/board_keys.h"

#include "game/board.h"
#include "game/game_state.h"
#include "game/idle_hint.h"
#include "game/level_outcome.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/rules.h"
#include "game/saved_game.h"

namespace {
constexpr const char* kCheatSaveFile = "level01.lvl";
constexpr int kCheatPoints = 10000;

void cheatKey(Rules& r, int key) {
    switch (key) {
    case 'H':
        showHint(r);
        break;
    case 'Z':
        addPoints(r, kCheatPoints, kPlayLeft + 9, kPlayTop + 7); // at the board's middle
        break;
    case 'X':
        drawPreview(r);
        placePreviews(r);
        break;
    case 'E':
        clearAllBalls(r);
        r.game.passBallsRemoved = 0;
        r.game.passSquaresCleared = 0;
        break;
    case 'C':
        setPlayerLives(r, 2);
        break;
    case 'S':
        writeSavedGame(r, kCheatSaveFile);
        break;
    case 'L':
        readSavedGame(r, kCheatSaveFile);
        break;
    case 'N':
        r.game.barValue = 0;
        for (Cell& cell : r.board.cells) {
            if (cell.square > 0) cell.square = 0;
        }
        break;
    default:
        break;
    }
}
} // namespace

void onGameKey(Rules& r, int key, bool cheatKeysOn) {
    bool paused = !r.game.running;
    if (paused && r.game.gamePassed && r.game.pauseMs < 5000) return;
    if (r.game.completeCountdownMs > 0) {
        r.game.completeCountdownMs = 1;
        return;
    }
    if (r.game.defeatCountdownMs > 0) {
        r.game.defeatCountdownMs = 1;
        return;
    }
    if (r.game.completeCountdownMs < 0 && paused && r.game.stageComplete) {
        r.events().finishedStageDismissed();
        return;
    }
    if (key >= '1' && key <= '3') {
        r.events().timeOfDayChosen(key - '1');
        return;
    }
    if (paused) {
        r.game.running = true;
        return;
    }
    if ((key >= kKeyLeft && key <= kKeyDown) || key == kKeyReturn) return;
    if (key == kKeySpace) {
        r.game.running = false;
        r.game.cursorMode = kCursorNormal;
        return;
    }
    if (key == kKeyEscape) {
        openResultPage(r, ResultPage::GamePaused);
        return;
    }
    if (cheatKeysOn) cheatKey(r, key);
}
