#include "game/board_keys.h"

#include "game/board.h"
#include "game/game_state.h"
#include "game/idle_hint.h"
#include "game/level_outcome.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/saved_game.h"

namespace {
constexpr const char* kCheatSaveFile = "level01.lvl";

void cheatKey(int key) {
    switch (key) {
    case 'H':
        showHint();
        break;
    case 'Z':
        addPoints(0, 0, 10000);
        break;
    case 'X':
        drawPreview();
        placePreviews();
        break;
    case 'E':
        clearAllBalls();
        game.passBallsRemoved = 0;
        game.passSquaresCleared = 0;
        break;
    case 'C':
        setPlayerLives(2);
        break;
    case 'S':
        writeSavedGame(kCheatSaveFile);
        break;
    case 'L':
        readSavedGame(kCheatSaveFile);
        break;
    case 'N':
        game.barValue = 0;
        for (Cell& cell : currentBoard->cells) {
            if (cell.square > 0) cell.square = 0;
        }
        break;
    default:
        break;
    }
}
} // namespace

void onGameKey(int key) {
    bool paused = !game.running;
    if (paused && game.gamePassed && game.pauseMs < 5000) return;
    if (game.completeCountdownMs > 0) {
        game.completeCountdownMs = 1;
        return;
    }
    if (game.defeatCountdownMs > 0) {
        game.defeatCountdownMs = 1;
        return;
    }
    if (game.completeCountdownMs < 0 && paused && game.stageComplete) {
        presentation().leaveToMap();
        return;
    }
    if (key >= '1' && key <= '3') {
        presentation().sceneryVariant(key - '1');
        return;
    }
    if (paused) {
        game.running = true;
        return;
    }
    if ((key >= kKeyLeft && key <= kKeyDown) || key == kKeyReturn) return;
    if (key == kKeySpace) {
        game.running = false;
        game.cursorMode = kCursorNormal;
        return;
    }
    if (key == kKeyEscape) {
        openResultPage("gameplay");
        return;
    }
    if (presentation().cheatKeysOn()) cheatKey(key);
}
