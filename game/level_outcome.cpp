#include "game/level_outcome.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

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
#include "game/rules.h"
#include "player/settings.h"

namespace {
constexpr int kEmptyBoardPoints = 25000; // the player emptied the board

void resetLevelCounters(Rules& r) {
    r.game.selectedX = r.game.selectedY = -1;
    r.game.landingX = r.game.landingY = -1;
    r.game.hoverX = r.game.hoverY = -1;
    r.game.idleMs = 0;
    r.game.hintShown = false;
    r.game.hintAgeMs = 0;
    resetPassCounters(r);
    r.removals = RemovalQueue{};
    r.stars = BarStars{};
    r.game.running = true;
    r.game.menuOpen = false;
    r.game.levelTimeMs = 0;
    r.game.maxCombo = 0;
    r.game.movesMade = 0;
    r.game.completeCountdownMs = 0;
    r.game.defeatCountdownMs = 0;
    r.game.hammerCharge = 0;
    r.game.cursorMode = kCursorNormal;
    r.game.colourCount = 5;
    r.game.combo = 0;
    r.game.score = 0;
    // Flow state of the previous level must not leak into this one.
    r.game.defeatDone = false;
    r.game.noMoves = false;
    r.game.stageComplete = false;
    r.game.gamePassed = false;
    r.game.ballMoving = false;
    r.game.pathLength = 0;
    r.game.pauseMs = 0;
    r.game.menuFadeMs = 0;
    r.game.hopClockMs = 0;
    r.game.reservedClock = 2000;
}

int sumOfSquares(Rules& r) {
    int sum = 0;
    for (const Cell& cell : r.board.cells) sum += cell.square > 0 ? cell.square : 0;
    return sum;
}

void offerLevelTips(Rules& r) {
    PresentationEvents& events = r.events();
    if (r.game.hammerEnabled) events.tipOccasion(TipOccasion::HammerOnLevel, -1, -1);
    if (r.game.levelIndex == 5) events.tipOccasion(TipOccasion::DoubleRelax, -1, -1);
    if (r.game.levelIndex == 4) events.tipOccasion(TipOccasion::HelpRelax, -1, -1);
    if (r.game.levelIndex == 2) {
        TipOccasion bar = r.game.mode == kModePuzzle   ? TipOccasion::PuzzleBar
                          : r.game.mode == kModeAction ? TipOccasion::ActionBar
                                                       : TipOccasion::LevelBar;
        events.tipOccasion(bar, -1, -1);
    }
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& cell = r.at(x, y);
            if (cell.square == 2) events.tipOccasion(TipOccasion::DoubleBusySquare, x, y);
            if (cell.ball.kind != kNoPiece && cell.ball.chains > 0)
                events.tipOccasion(TipOccasion::ChainedBall, x, y);
            if (r.game.levelIndex == 1 && cell.pendingKind >= 0)
                events.tipOccasion(TipOccasion::NewBallComing, x, y);
        }
    }
}

bool anyBusySquare(Rules& r) {
    for (const Cell& cell : r.board.cells) {
        if (cell.square >= 1) return true;
    }
    return false;
}

bool anyPieceOnBoard(Rules& r) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if (r.at(x, y).ball.kind != kNoPiece) return true;
        }
    }
    return false;
}
} // namespace

void startLevel(Rules& r, int levelIndex) {
    r.game.levelIndex = levelIndex;
    r.game.ballSpeed = settings.ballSpeed;
    resetLevelCounters(r);
    r.events().levelStarted(levelIndex);

    clearBoard(r);
    loadLevel(r, levelIndex);
    r.game.barFraction = 0;
    r.game.barShownFraction = 0;

    if (r.game.mode != kModeClassic || r.game.barValue == 0) {
        float goal = static_cast<float>(sumOfSquares(r));
        if (r.game.mode != kModePuzzle) {
            goal *= 3;
            if (goal < 40) goal = 40;
        }
        r.game.barGoal = goal;
        r.game.barValue = goal;
    }
    if (r.game.mode == kModePuzzle) {
        if (r.game.timeLimitSec == 0) r.game.timeLimitSec = 60;
        if (levelIndex >= 5) {
            // Early pack levels get up to six times the file's time, falling to just above once at level 69.
            float q = static_cast<float>(70 - levelIndex) / 65.0f;
            r.game.timeLimitSec =
                static_cast<int>((1 + 5 * q * q * q) * static_cast<float>(r.game.timeLimitSec));
        }
        r.game.barGoal = static_cast<float>(r.game.timeLimitSec) * 1000;
        r.game.barValue = 0;
    }

    r.game.downTimeAccumMs = 0;
    if (r.game.mode != kModePuzzle) {
        for (Cell& cell : r.board.cells) {
            if (cell.square > 0) cell.square = 0;
        }
    }
    if (r.game.mode == kModeAction && r.game.levelDownTimeMs == 0) {
        if (levelIndex <= 5) {
            r.game.levelDownTimeMs = 2000;
        } else if (levelIndex <= 40) {
            r.game.levelDownTimeMs = (40 - levelIndex) * 1550 / 35 + 450;
        } else {
            r.game.levelDownTimeMs = 450;
        }
        r.game.colourCount += 2;
        if (r.game.colourCount > 8) r.game.colourCount = 8;
    }

    countFreeCells(r);
    int cells = countExistingCells(r);
    for (Cell& cell : r.board.cells) cell.scale = 0;
    r.game.streak = 0;
    r.game.lineLength = 3;

    computeBallsPerTurn(r);
    if (r.game.mode == kModeAction) {
        r.game.barGoal = static_cast<float>(cells) * std::sqrt(static_cast<float>(levelIndex + 1));
        r.game.barValue = r.game.barGoal;
    }
    fillBoardAtStart(r);
    offerLevelTips(r);
}

void updateLevelBar(Rules& r, bool tipOnScreen) {
    if (!r.game.running || r.game.completeCountdownMs > 0 || r.game.defeatCountdownMs > 0 ||
        r.game.menuOpen || r.levelHeld() || r.game.ballMoving || tipOnScreen) {
        return;
    }
    if (r.game.mode == kModePuzzle) {
        r.game.barValue += r.frameMs;
    } else if (r.game.mode == kModeAction && r.game.barValue < r.game.barGoal && r.game.levelDownTimeMs > 0) {
        r.game.downTimeAccumMs += r.frameMs;
        if (r.game.downTimeAccumMs >= static_cast<float>(r.game.levelDownTimeMs)) {
            r.game.barValue += 1;
            if (r.game.barValue > r.game.barGoal) r.game.barValue = r.game.barGoal;
            r.game.barFraction = (r.game.barGoal - r.game.barValue) / r.game.barGoal;
            Point marker = barStarTarget(r);
            r.events().actionBarFell(r.game.barFraction, marker.x, marker.y);
            r.game.downTimeAccumMs -= static_cast<float>(r.game.levelDownTimeMs);
        }
    }
}

void checkLevelState(Rules& r) {
    if (r.game.menuOpen || r.levelHeld()) return;
    PresentationEvents& events = r.events();
    bool puzzle = r.game.mode == kModePuzzle;
    bool won =
        puzzle ? !anyBusySquare(r)
               : r.game.barValue == 0 && std::fabs(r.game.barFraction - r.game.barShownFraction) <= 0.0001f;
    // A level is either won or lost: once one sequence runs, the other cannot start.
    if (won && r.game.completeCountdownMs == 0 && r.game.defeatCountdownMs == 0) {
        if (puzzle) {
            int bonus = static_cast<int>((r.game.barGoal - r.game.barValue) / 1000) * 10;
            if (bonus >= 200) {
                addPlayerScore(r, bonus);
                r.game.score = saturatingAdd(r.game.score, bonus);
                Point marker = barStarTarget(r);
                events.timeBonusCounted(bonus, marker.x, marker.y);
            }
        }
        r.game.barValue = 0;
        bool stageComplete = false;
        bool gamePassed = false;
        playerLevelWon(r, r.game.levelIndex, r.game.score, r.game.maxCombo, r.game.levelTimeMs,
                       r.game.movesMade, &stageComplete, &gamePassed);
        r.game.stageComplete = stageComplete;
        r.game.gamePassed = gamePassed;
        r.game.completeCountdownMs = 8500;
        events.levelWon(r.game.levelIndex, stageComplete);
        return;
    }
    bool lost = (puzzle && r.game.barValue > r.game.barGoal) || r.game.freeCells == 0;
    if (lost && r.game.defeatCountdownMs == 0 && r.game.completeCountdownMs == 0) {
        r.game.noMoves = r.game.freeCells == 0;
        events.levelLost(r.game.noMoves, playerLives(r));
        r.game.defeatCountdownMs = 5000;
    }
}

void updateSequences(Rules& r) {
    PresentationEvents& events = r.events();
    if (r.game.completeCountdownMs > 0) {
        deselect(r);
        float before = r.game.completeCountdownMs;
        r.game.completeCountdownMs -= r.frameMs;
        float now = r.game.completeCountdownMs;
        if (before > 7500 && now <= 7500) {
            clearAllBalls(r); // the pieces pop, but addPoints drops their points at this stage
            r.game.passBallsRemoved = 0;
            r.game.passSquaresCleared = 0;
        }
        if (before > 3500 && now <= 3500) events.completeSequencePassed(3500, r.game.levelIndex);
        if (now <= 0) {
            r.game.completeCountdownMs = -1;
            events.completeSequencePassed(0, r.game.levelIndex);
            openResultPage(r, ResultPage::LevelComplete);
        }
    }
    if (r.game.defeatCountdownMs > 0) {
        r.game.defeatCountdownMs -= r.frameMs;
        if (r.game.defeatCountdownMs <= 0) {
            setPlayerLives(r, saturatingAdd(playerLives(r), -1));
            r.game.defeatCountdownMs = -1;
            r.game.defeatDone = true;
            setPlayerSavedGame(r, false);
            savePlayerFiles();
            events.defeatSequenceEnded();
            openResultPage(r, playerLives(r) < 0 ? ResultPage::HiScore : ResultPage::Defeat);
        }
    }
}

void loseLife(Rules& r) {
    if (r.game.defeatCountdownMs != 0) return;
    r.events().levelGivenUp(playerLives(r));
    r.game.defeatCountdownMs = 5000;
}

void addPoints(Rules& r, int points, int cellX, int cellY) {
    if (r.levelHeld() || r.game.menuOpen || !r.pointsCount) return;
    if (r.game.completeCountdownMs > 0 && r.game.completeCountdownMs < 8000) return;
    int total = playerScore(r);
    if (static_cast<int64_t>(total % kPointsPerLife) + points >= kPointsPerLife) {
        setPlayerLives(r, saturatingAdd(playerLives(r), 1)); // a loaded profile may hold any count
        r.events().lifeWon();
    }
    addPlayerScore(r, points);
    r.events().pointsScored(points, cellX, cellY);
    r.game.score = saturatingAdd(r.game.score, points);
}

void checkEmptyBoard(Rules& r) {
    if (r.levelHeld() || r.game.completeCountdownMs != 0) return;
    placePreviews(r);
    if (r.game.levelTimeMs > 1000) {
        addPoints(r, kEmptyBoardPoints);
        r.events().awardWon(Award::Incredible, kEmptyBoardPoints);
    }
    if (!anyPieceOnBoard(r)) {
        r.game.barValue = 0;
        // The bar shows its end at once, so the level-state check of this same sweep sees the win; waiting
        // for the display would let the next frame find the board still empty and pay the bonus again.
        if (r.game.barGoal != 0) r.game.barFraction = 1;
        r.game.barShownFraction = r.game.barFraction;
        for (Cell& cell : r.board.cells) {
            if (cell.square > 0) cell.square = 0;
        }
    }
}

bool completeSequenceStarted(Rules& r) {
    return r.game.completeCountdownMs != 0;
}

bool defeatSequenceStarted(Rules& r) {
    return r.game.defeatCountdownMs != 0;
}

bool levelDecided(Rules& r) {
    return completeSequenceStarted(r) || defeatSequenceStarted(r);
}

void openResultPage(Rules& r, ResultPage page) {
    r.events().resultPageDue(page);
    r.game.menuOpen = true;
    deselect(r);
    r.game.cursorMode = kCursorNormal;
}
