#include "game/level_outcome.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/app_state.h"
#include "engine/saturate.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/moves.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "player/settings.h"

namespace {
void resetLevelCounters() {
    game.selectedX = game.selectedY = -1;
    game.landingX = game.landingY = -1;
    game.hoverX = game.hoverY = -1;
    game.idleMs = 0;
    game.hintShown = false;
    game.hintAgeMs = 0;
    game.passDiamonds = game.passJokers = game.passBombs = game.passQuadroBombs = 0;
    game.passBallsRemoved = game.passSquaresCleared = 0;
    resetRemovalQueue();
    resetBarStars();
    game.running = true;
    game.menuOpen = false;
    game.levelTimeMs = 0;
    game.maxCombo = 0;
    game.movesMade = 0;
    game.completeCountdownMs = 0;
    game.defeatCountdownMs = 0;
    game.hammerCharge = 0;
    game.cursorMode = kCursorNormal;
    game.colourCount = 5;
    game.combo = 0;
    game.score = 0;
    // Flow state of the previous level must not leak into this one.
    game.defeatDone = false;
    game.noMoves = false;
    game.stageComplete = false;
    game.gamePassed = false;
    game.ballMoving = false;
    game.pathLength = 0;
    game.pauseMs = 0;
    game.menuFadeMs = 0;
    game.hopClockMs = 0;
    game.reservedClock = 2000;
}

int sumOfSquares() {
    int sum = 0;
    for (const Cell& cell : currentBoard->cells) sum += cell.square > 0 ? cell.square : 0;
    return sum;
}

void offerLevelTips() {
    PresentationEvents& events = presentation();
    if (game.hammerEnabled) events.tip("hammertip", 320, -230, -1, -1, 2000, 0);
    if (game.levelIndex == 5) events.tip("doublerelax", 220, 0, -1, -1, 2000, 0);
    if (game.levelIndex == 4)
        events.tip("helprelax", 347.5f, -98, -1, -1, 2000, 0); // the relax button's centre
    if (game.levelIndex == 2) {
        const char* key = game.mode == kModePuzzle   ? "puzzleprogresbar"
                          : game.mode == kModeAction ? "actionbartip"
                                                     : "levelprogresbar";
        events.tip(key, -390, 0, -1, -1, 2000, 0);
    }
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& cell = cellAt(x, y);
            Point at = cellCentre(x, y);
            if (cell.square == 2) events.tip("tipbusysquare2", at.x, at.y, x, y, 1000, 0);
            if (cell.ball.kind != kNoPiece && cell.ball.chains > 0)
                events.tip("chainitemtip", at.x, at.y, x, y, 1000, 0);
            if (game.levelIndex == 1 && cell.pendingKind >= 0)
                events.tip("newballtip", at.x, at.y, x, y, 2000, 0);
        }
    }
}

bool anyBusySquare() {
    for (const Cell& cell : currentBoard->cells) {
        if (cell.square >= 1) return true;
    }
    return false;
}

bool anyPieceOnBoard() {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (cellAt(x, y).ball.kind != kNoPiece) return true;
        }
    }
    return false;
}
} // namespace

void startLevel(int levelIndex) {
    game.levelIndex = levelIndex;
    game.ballSpeed = settings.ballSpeed;
    presentation().music(levelIndex % 4);
    resetLevelCounters();
    presentation().levelStarted(levelIndex);

    clearBoard();
    loadLevel(levelIndex);
    game.barFraction = 0;
    game.barShownFraction = 0;

    if (game.mode != kModeClassic || game.barValue == 0) {
        float goal = static_cast<float>(sumOfSquares());
        if (game.mode != kModePuzzle) {
            goal *= 3;
            if (goal < 40) goal = 40;
        }
        game.barGoal = goal;
        game.barValue = goal;
    }
    if (game.mode == kModePuzzle) {
        if (game.timeLimitSec == 0) game.timeLimitSec = 60;
        if (levelIndex >= 5) {
            // Early pack levels get up to six times the file's time, falling to just above once at level 69.
            float q = static_cast<float>(70 - levelIndex) / 65.0f;
            game.timeLimitSec = static_cast<int>((1 + 5 * q * q * q) * static_cast<float>(game.timeLimitSec));
        }
        game.barGoal = static_cast<float>(game.timeLimitSec) * 1000;
        game.barValue = 0;
    }

    game.downTimeAccumMs = 0;
    if (game.mode != kModePuzzle) {
        for (Cell& cell : currentBoard->cells) {
            if (cell.square > 0) cell.square = 0;
        }
    }
    if (game.mode == kModeAction && game.levelDownTimeMs == 0) {
        if (levelIndex <= 5) {
            game.levelDownTimeMs = 2000;
        } else if (levelIndex <= 40) {
            game.levelDownTimeMs = (40 - levelIndex) * 1550 / 35 + 450;
        } else {
            game.levelDownTimeMs = 450;
        }
        game.colourCount += 2;
        if (game.colourCount > 8) game.colourCount = 8;
    }

    countFreeCells();
    int cells = countExistingCells();
    for (Cell& cell : currentBoard->cells) cell.scale = 0;
    game.streak = 0;
    game.lineLength = 3;

    computeBallsPerTurn();
    if (game.mode == kModeAction) {
        game.barGoal = static_cast<float>(cells) * std::sqrt(static_cast<float>(levelIndex + 1));
        game.barValue = game.barGoal;
    }
    fillBoardAtStart();
    offerLevelTips();
}

void updateLevelBar() {
    if (!game.running || game.completeCountdownMs > 0 || game.defeatCountdownMs > 0 || game.menuOpen ||
        helpBoardActive || game.ballMoving || presentation().tipOnScreen()) {
        return;
    }
    if (game.mode == kModePuzzle) {
        game.barValue += app.frameTimeMs;
    } else if (game.mode == kModeAction && game.barValue < game.barGoal && game.levelDownTimeMs > 0) {
        game.downTimeAccumMs += app.frameTimeMs;
        if (game.downTimeAccumMs >= static_cast<float>(game.levelDownTimeMs)) {
            game.barValue += 1;
            if (game.barValue > game.barGoal) game.barValue = game.barGoal;
            game.barFraction = (game.barGoal - game.barValue) / game.barGoal;
            presentation().sound("score.ogg", static_cast<int>(game.barFraction * 40000 + 15000));
            Point marker = barStarTarget();
            presentation().effectPreset(17, marker.x, marker.y);
            game.downTimeAccumMs -= static_cast<float>(game.levelDownTimeMs);
        }
    }
}

void checkLevelState() {
    if (game.menuOpen || helpBoardActive) return;
    PresentationEvents& events = presentation();
    bool puzzle = game.mode == kModePuzzle;
    bool won = puzzle ? !anyBusySquare()
                      : game.barValue == 0 && std::fabs(game.barFraction - game.barShownFraction) <= 0.0001f;
    // A level is either won or lost: once one sequence runs, the other cannot start.
    if (won && game.completeCountdownMs == 0 && game.defeatCountdownMs == 0) {
        if (puzzle) {
            int bonus = static_cast<int>((game.barGoal - game.barValue) / 1000) * 10;
            if (bonus >= 200) {
                addPlayerScore(bonus);
                game.score = saturatingAdd(game.score, bonus);
                Point marker = barStarTarget();
                char text[32];
                std::snprintf(text, sizeof(text), "+%i!", bonus);
                // Beside the score box on the board's side of it: the box stands at the screen's right edge.
                float x = marker.x - 180;
                events.textKey("timebonus", 0, x, marker.y + 20, 20, 4500);
                events.textLiteral(text, x, marker.y - 20, 20, 4500);
            }
        }
        game.barValue = 0;
        bool stageComplete = false;
        bool gamePassed = false;
        playerLevelWon(game.levelIndex, game.score, game.maxCombo, game.levelTimeMs, game.movesMade,
                       &stageComplete, &gamePassed);
        game.stageComplete = stageComplete;
        game.gamePassed = gamePassed;
        events.sound("levelcomplete.ogg", 0);
        events.music(4);
        events.bigText(stageComplete ? "stagecomplete" : "levelcomplete", 23);
        game.completeCountdownMs = 8500;
        events.sceneryVariant((game.levelIndex + 1) % 3);
        return;
    }
    bool lost = (puzzle && game.barValue > game.barGoal) || game.freeCells == 0;
    if (lost && game.defeatCountdownMs == 0 && game.completeCountdownMs == 0) {
        game.noMoves = game.freeCells == 0;
        events.sound("level_defeat.ogg", 0);
        events.music(5);
        int lives = playerLives();
        const char* text = lives == 1  ? "lastlife"
                           : lives > 1 ? (game.noMoves ? "nomoves" : "timeout")
                                       : "gameover";
        events.bigText(text, 23);
        game.defeatCountdownMs = 5000;
    }
}

void updateSequences() {
    PresentationEvents& events = presentation();
    if (game.completeCountdownMs > 0) {
        deselect();
        float before = game.completeCountdownMs;
        game.completeCountdownMs -= app.frameTimeMs;
        float now = game.completeCountdownMs;
        if (before > 7500 && now <= 7500) {
            clearAllBalls(); // the pieces pop, but addPoints drops their points at this stage
            game.passBallsRemoved = 0;
            game.passSquaresCleared = 0;
        }
        if (before > 3500 && now <= 3500) events.music(game.levelIndex % 4);
        if (now <= 0) {
            events.music(game.levelIndex % 4);
            game.completeCountdownMs = -1;
            events.clearFloatingTexts();
            // A key may cut the sequence short while "Level complete" still drifts up: its letters
            // would sit behind the statistics panel, cut to a few, so they go with the page's opening.
            events.clearBigTexts();
            openResultPage("levelcomplete");
        }
    }
    if (game.defeatCountdownMs > 0) {
        game.defeatCountdownMs -= app.frameTimeMs;
        if (game.defeatCountdownMs <= 0) {
            events.clearBigTexts();
            setPlayerLives(saturatingAdd(playerLives(), -1));
            game.defeatCountdownMs = -1;
            game.defeatDone = true;
            setPlayerSavedGame(false);
            savePlayerFiles();
            events.sound("defeat.ogg", 0);
            openResultPage(playerLives() < 0 ? "hiscore" : "defeat");
        }
    }
}

void loseLife() {
    if (game.defeatCountdownMs != 0) return;
    presentation().sound("level_defeat.ogg", 0);
    int lives = playerLives();
    presentation().bigText(lives == 1 ? "lastlife" : lives >= 2 ? "loselife" : "gameover", 23);
    game.defeatCountdownMs = 5000;
}

void addPoints(float x, float y, int points) {
    if (helpBoardActive || game.menuOpen || !presentation().gameSceneCurrent()) return;
    if (game.completeCountdownMs > 0 && game.completeCountdownMs < 8000) return;
    int total = playerScore();
    if (static_cast<int64_t>(total % kPointsPerLife) + points >= kPointsPerLife) {
        setPlayerLives(saturatingAdd(playerLives(), 1)); // a loaded profile may hold any count
        presentation().sound("addlife.ogg", 0);
        presentation().textKey("gottalife", 0, -50, 100, 26, 2500);
    }
    addPlayerScore(points);
    presentation().scorePopup(x, y, points);
    game.score = saturatingAdd(game.score, points);
}

void checkEmptyBoard() {
    if (helpBoardActive || game.completeCountdownMs != 0) return;
    placePreviews();
    if (game.levelTimeMs > 1000) {
        addPoints(0, -500, 25000);
        presentation().textKey("incredible", 0, -40, 40, 27, 2000);
        presentation().textLiteral("+25000", -40, -40, 27, 2000);
        presentation().sound("excellent.ogg", 0);
    }
    if (!anyPieceOnBoard()) {
        game.barValue = 0;
        // The bar shows its end at once, so the level-state check of this same sweep sees the win; waiting
        // for the display would let the next frame find the board still empty and pay the bonus again.
        if (game.barGoal != 0) game.barFraction = 1;
        game.barShownFraction = game.barFraction;
        for (Cell& cell : currentBoard->cells) {
            if (cell.square > 0) cell.square = 0;
        }
    }
}

bool completeSequenceStarted() {
    return game.completeCountdownMs != 0;
}

bool defeatSequenceStarted() {
    return game.defeatCountdownMs != 0;
}

bool levelDecided() {
    return completeSequenceStarted() || defeatSequenceStarted();
}

void openResultPage(const char* page) {
    presentation().pageOpened(page);
    game.menuOpen = true;
    deselect();
    game.cursorMode = kCursorNormal;
}
