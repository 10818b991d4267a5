// How the game presents what happens on a board: which sound (and at which rate), effect, shake, floating
// or big text, music section, scenery variant, tip and page answer each of the rules' events, and where
// on the screen. The answers go to an output: the live game's (sound, particles, texts, tips, pages) or a
// recorder in tests.
#pragma once

#include "game/presentation_events.h"
#include "gameplay/presentation_output.h"

struct GamePresentation : PresentationEvents {
    PresentationOutput* output; // where the answers go; never null

    explicit GamePresentation(PresentationOutput& out) : output(&out) {}

    void ballSelected(int x, int y) override;
    void moveTargetChosen(int x, int y) override;
    void ballLanded(int x, int y) override;
    void newBallsDealt() override;
    void comboCounted(int combo, int landingX, int landingY) override;
    void diamondBolt(int diamondX, int diamondY, int ballX, int ballY) override;
    void diamondSwept(int x, int y, int ballsReached) override;
    void ballPopped(int x, int y, int combo, int mode, bool firstOfRun) override;
    void bombExploded(int x, int y, bool doubleBomb) override;
    void diamondExploded(int x, int y) override;
    void chainBroken(int x, int y) override;
    void squareCleared(int x, int y) override;
    void ballsSwept() override;
    void boardClearedByDoubleBombs() override;
    void megamatchClearsBoard() override;
    void awardWon(Award award, int points) override;
    void pointsScored(int points, int x, int y) override;
    void lifeWon() override;
    void bonusPiecePlaced(int kind, int x, int y) override;
    void hammerCharged() override;
    void hammerStruck(int x, int y) override;
    void barStarFlying(float x, float y) override;
    void barStarArrived(int mode, float barFraction) override;
    void actionBarFell(float barFraction, float markerX, float markerY) override;
    void tipOccasion(TipOccasion occasion, int x, int y) override;
    void levelStarted(int levelIndex) override;
    void savedGameResumed() override;
    void timeBonusCounted(int bonus, float markerX, float markerY) override;
    void levelWon(int levelIndex, bool stageComplete) override;
    void levelLost(bool noMoves, int livesLeft) override;
    void levelGivenUp(int livesLeft) override;
    void completeSequencePassed(int markMs, int levelIndex) override;
    void defeatSequenceEnded() override;
    void resultPageDue(ResultPage page) override;
    void timeOfDayChosen(int variant) override;
    void finishedStageDismissed() override;
};

extern GamePresentation gamePresentation; // the live game's: answers go to liveOutput

bool levelCompletePageShown(); // the level-complete page is open over the live board (no save then)
