#include "gameplay/game_presentation.h"

#include <cstdio>
#include <cstring>

#include "engine/saturate.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/player_link.h"
#include "gameplay/live_output.h"
#include "ui/menu_system.h"

GamePresentation gamePresentation(liveOutput);

namespace {
constexpr float kAwardTextSize = 27;
constexpr float kBigTextSize = 23;
constexpr int kBoardShakeMs = 800;
constexpr int kBallPitchHz = 35000; // the first ball of a run pops at this rate, higher with the combo
constexpr int kBarPitchHz = 15000;  // a star reaching the bar sounds higher as the bar fills
constexpr int kBarPitchRangeHz = 40000;
constexpr Point kBoardPointsAt = {0, -500}; // points for the board as a whole (awards) rise from below it
constexpr Point kHammerIcon = {320, -230};

// Each tip's text key, where its balloon points when it is about no cell, its delay and its priority.
struct TipAnswer {
    const char* key;
    Point at;
    int delayMs;
    int priority;
};
constexpr TipAnswer kTips[] = {
    {"hammertip", kHammerIcon, 2000, 0},      // HammerOnLevel
    {"doublerelax", {220, 0}, 2000, 0},       // DoubleRelax
    {"helprelax", {347.5f, -98}, 2000, 0},    // HelpRelax: the relax button's centre
    {"levelprogresbar", {-390, 0}, 2000, 0},  // LevelBar
    {"puzzleprogresbar", {-390, 0}, 2000, 0}, // PuzzleBar
    {"actionbartip", {-390, 0}, 2000, 0},     // ActionBar
    {"tipbusysquare2", {0, 0}, 1000, 0},      // DoubleBusySquare
    {"chainitemtip", {0, 0}, 1000, 0},        // ChainedBall
    {"newballtip", {0, 0}, 2000, 0},          // NewBallComing
    {"jokertip", {0, 0}, 1000, 10},           // JokerDealt
    {"hammerfull", kHammerIcon, 2000, 0},     // HammerCharged
};
static_assert(sizeof kTips / sizeof kTips[0] == static_cast<int>(TipOccasion::HammerCharged) + 1,
              "one tip for each occasion");

int barPitch(float barFraction) {
    return static_cast<int>(barFraction * kBarPitchRangeHz + kBarPitchHz);
}

MenuId pageOf(ResultPage page) {
    switch (page) {
    case ResultPage::LevelComplete:
        return MenuId::LevelComplete;
    case ResultPage::Defeat:
        return MenuId::Defeat;
    case ResultPage::HiScore:
        return MenuId::Hiscore;
    case ResultPage::GamePaused:
        break;
    }
    return MenuId::Gameplay;
}
} // namespace

void GamePresentation::ballSelected(int, int) {
    output->sound("selectball.ogg", 0);
}

void GamePresentation::moveTargetChosen(int x, int y) {
    Point at = cellCentre(x, y);
    output->sound("selectaim.ogg", 0);
    output->targetMarker(at.x, at.y);
}

void GamePresentation::ballLanded(int, int) {
    output->sound("ballstand.ogg", 0);
}

void GamePresentation::newBallsDealt() {
    output->sound("addball.ogg", 0);
}

void GamePresentation::comboCounted(int combo, int landingX, int landingY) {
    // Before the first move there is no landing cell; the text then stands at the board's middle.
    Point at = landingX >= 0 ? cellCentre(landingX, landingY) : Point{-60, 0};
    output->textKey("combox", combo, at.x, at.y - 40, 20, 2000);
}

void GamePresentation::diamondBolt(int diamondX, int diamondY, int ballX, int ballY) {
    Point from = cellCentre(diamondX, diamondY);
    Point to = cellCentre(ballX, ballY);
    output->lightning(from.x, from.y, to.x, to.y);
}

void GamePresentation::diamondSwept(int, int, int ballsReached) {
    if (ballsReached > 0) output->sound("diamond0.ogg", 0);
}

void GamePresentation::ballPopped(int x, int y, int combo, int mode, bool firstOfRun) {
    Point at = cellCentre(x, y);
    output->effect("ball1", at.x, at.y);
    output->effect("ball2", at.x, at.y);
    if (!firstOfRun) return; // one pop sound for a run of pops
    int step = mode == kModeAction ? 2000 : 5000;
    output->sound("ball.ogg", saturatingAdd(kBallPitchHz, saturatingMultiply(combo, step)));
}

void GamePresentation::bombExploded(int x, int y, bool doubleBomb) {
    Point at = cellCentre(x, y);
    output->effect(doubleBomb ? "dbomb1" : "bomb1", at.x, at.y);
    output->effect(doubleBomb ? "dbomb2" : "bomb2", at.x, at.y);
    output->sound(doubleBomb ? "bomb2.ogg" : "bomb1.ogg", 0);
    output->shake(kBoardShakeMs, doubleBomb ? 1.5f : 1.0f);
}

void GamePresentation::diamondExploded(int x, int y) {
    Point at = cellCentre(x, y);
    output->effect("diamond1", at.x, at.y);
    output->effect("diamond2", at.x, at.y);
    output->sound("diamond.ogg", 0);
}

void GamePresentation::chainBroken(int x, int y) {
    Point at = cellCentre(x, y);
    output->effect("chain1", at.x, at.y);
    output->effect("chain2", at.x, at.y);
    output->sound("chain.ogg", 0);
}

void GamePresentation::squareCleared(int x, int y) {
    Point at = cellCentre(x, y);
    output->effect("square1", at.x, at.y);
    output->effect("square2", at.x, at.y);
    output->sound("square.ogg", 0);
}

void GamePresentation::ballsSwept() {
    output->shake(kBoardShakeMs, 1.0f);
}

void GamePresentation::boardClearedByDoubleBombs() {
    output->sound("deleteballs.ogg", 0);
}

void GamePresentation::megamatchClearsBoard() {
    output->sound("deleteballs.ogg", 0);
}

void GamePresentation::awardWon(Award award, int points) {
    char paid[16];
    std::snprintf(paid, sizeof paid, "+%d", points);
    switch (award) {
    case Award::Megamatch: // its sound came with the clearing
        output->textKey("megamatch", 0, -40, 30, kAwardTextSize, 2500);
        output->textLiteral(paid, -40, -30, kAwardTextSize, 2500);
        break;
    case Award::Supermatch:
        output->textKey("supermatch", 0, -40, 30, kAwardTextSize, 2500);
        output->textLiteral(paid, -40, -30, kAwardTextSize, 2500);
        output->sound("excellent.ogg", 0);
        break;
    case Award::Excellent:
    case Award::Perfect:
        output->sound("excellent.ogg", 0);
        output->textKey(award == Award::Perfect ? "perfect" : "excellent", 0, -40, 0, kAwardTextSize, 2500);
        break;
    case Award::Incredible:
        output->textKey("incredible", 0, -40, 40, kAwardTextSize, 2000);
        output->textLiteral(paid, -40, -40, kAwardTextSize, 2000);
        output->sound("excellent.ogg", 0);
        break;
    }
}

void GamePresentation::pointsScored(int points, int x, int y) {
    Point at = x >= 0 ? cellCentre(x, y) : kBoardPointsAt;
    output->scorePopup(at.x, at.y, points);
}

void GamePresentation::lifeWon() {
    output->sound("addlife.ogg", 0);
    output->textKey("gottalife", 0, -50, 100, 26, 2500);
}

void GamePresentation::bonusPiecePlaced(int kind, int x, int y) {
    Point at = cellCentre(x, y);
    if (kind == kQuadroBomb) {
        output->effect("addbomb2", at.x, at.y);
    } else {
        output->effectPreset(3, at.x, at.y);
    }
    output->sound("addbonus.ogg", 0);
    const char* key = kind == kTripleBomb ? "triplebomb" : kind == kDiamond ? "diamond" : "quadrobomb";
    output->tip(key, at.x, at.y, x, y, 2000, kind);
}

void GamePresentation::hammerCharged() {
    output->sound("gethammer.ogg", 0);
    // The balloon explains the full hammer once; afterwards a short text says it is ready.
    if (!playerTipShown("hammerfull")) {
        tipOccasion(TipOccasion::HammerCharged, -1, -1);
    } else {
        output->textKey("readyhammer", 0, 0, -265, 22, 4000);
    }
}

void GamePresentation::hammerStruck(int x, int y) {
    Point at = cellCentre(x, y);
    output->effect("hammer", at.x, at.y);
    output->sound("hammer.ogg", 0);
}

void GamePresentation::barStarFlying(float x, float y) {
    output->starTrail(x, y);
}

void GamePresentation::barStarArrived(int mode, float barFraction) {
    output->sound("score.ogg", mode == kModePuzzle ? 0 : barPitch(barFraction));
}

void GamePresentation::actionBarFell(float barFraction, float markerX, float markerY) {
    output->sound("score.ogg", barPitch(barFraction));
    output->effectPreset(17, markerX, markerY);
}

void GamePresentation::tipOccasion(TipOccasion occasion, int x, int y) {
    const TipAnswer& tip = kTips[static_cast<int>(occasion)];
    Point at = x >= 0 ? cellCentre(x, y) : tip.at;
    output->tip(tip.key, at.x, at.y, x, y, tip.delayMs, tip.priority);
}

void GamePresentation::levelStarted(int levelIndex) {
    output->music(levelIndex % 4);
    output->levelStarted(levelIndex);
}

void GamePresentation::savedGameResumed() {
    output->clearBigTexts();
}

void GamePresentation::timeBonusCounted(int bonus, float markerX, float markerY) {
    char text[32];
    std::snprintf(text, sizeof(text), "+%i!", bonus);
    // Beside the score box on the board's side of it: the box stands at the screen's right edge.
    float x = markerX - 180;
    output->textKey("timebonus", 0, x, markerY + 20, 20, 4500);
    output->textLiteral(text, x, markerY - 20, 20, 4500);
}

void GamePresentation::levelWon(int levelIndex, bool stageComplete) {
    output->sound("levelcomplete.ogg", 0);
    output->music(4);
    output->bigText(stageComplete ? "stagecomplete" : "levelcomplete", kBigTextSize);
    output->sceneryVariant((levelIndex + 1) % 3); // the next level's time of day
}

void GamePresentation::levelLost(bool noMoves, int livesLeft) {
    output->sound("level_defeat.ogg", 0);
    output->music(5);
    const char* text = livesLeft == 1  ? "lastlife"
                       : livesLeft > 1 ? (noMoves ? "nomoves" : "timeout")
                                       : "gameover";
    output->bigText(text, kBigTextSize);
}

void GamePresentation::levelGivenUp(int livesLeft) {
    output->sound("level_defeat.ogg", 0);
    output->bigText(livesLeft == 1 ? "lastlife" : livesLeft >= 2 ? "loselife" : "gameover", kBigTextSize);
}

void GamePresentation::completeSequencePassed(int markMs, int levelIndex) {
    output->music(levelIndex % 4); // the level's own music comes back
    if (markMs > 0) return;
    output->clearFloatingTexts();
    // A key may cut the sequence short while "Level complete" still drifts up: its letters would sit
    // behind the statistics panel, cut to a few, so they go with the page's opening.
    output->clearBigTexts();
}

void GamePresentation::defeatSequenceEnded() {
    output->clearBigTexts();
    output->sound("defeat.ogg", 0);
}

void GamePresentation::resultPageDue(ResultPage page) {
    output->pageOpened(pageOf(page));
}

void GamePresentation::timeOfDayChosen(int variant) {
    output->sceneryVariant(variant);
}

void GamePresentation::finishedStageDismissed() {
    output->leaveToMap();
}

bool levelCompletePageShown() {
    return game.menuOpen && std::strcmp(currentPageName(), "levelcomplete") == 0;
}
