// A presentation that writes every event of the rules as one line of text, for tests: "bomb 12 7 double",
// "popped 8 9 combo 2 first", "won level 3".
#pragma once

#include <string>
#include <vector>

#include "game/presentation_events.h"

struct PresentationRecorder : PresentationEvents {
    std::vector<std::string> lines; // one line per event

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
    void barStarFlying(float, float) override {} // every few frames of every star: not worth recording
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

    int count(const std::string& prefix) const; // lines starting with prefix
    bool has(const std::string& prefix) const { return count(prefix) > 0; }
    void clear() { lines.clear(); }
};
