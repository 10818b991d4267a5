// What happens on a board, told by the rules as it happens: a ball selected, a bomb exploded, a chain
// broken, a level won. Cells are board cells (x, y in 0..29); a point is a board point only where the
// rules keep one themselves (a flying bar star, the bar's marker). Which sounds, effects, texts, tips and
// music answer an event is the presentation's business: the live game, a demonstration and a test each
// implement what they need; the default does nothing, so the rules run headless (the simulator).
#pragma once

// The in-game tips the rules offer, by the occasion that calls for them.
enum class TipOccasion {
    HammerOnLevel,    // the level offers the hammer
    DoubleRelax,      // the level where a double click relaxes
    HelpRelax,        // the level where the relax button is explained
    LevelBar,         // the progress bar of the classic mode
    PuzzleBar,        // the progress bar of the puzzle mode
    ActionBar,        // the progress bar of the action mode
    DoubleBusySquare, // a square busy twice, at its cell
    ChainedBall,      // a chained ball, at its cell
    NewBallComing,    // a ball about to be dealt, at its cell
    JokerDealt,       // a joker just dealt, at its cell
    HammerCharged,    // the hammer is full for the first time
};

// The awards a pass (or an emptied board) earns.
enum class Award {
    Megamatch,  // three bombs or diamonds together: the board is cleared
    Supermatch, // three bombs, diamonds or jokers together
    Excellent,  // many balls in one pass (alternates with Perfect)
    Perfect,
    Incredible, // the board emptied by the player
};

// The pages the rules open over the board.
enum class ResultPage {
    LevelComplete, // the level's statistics after a win
    Defeat,        // a life lost
    HiScore,       // the last life lost: the game is over
    GamePaused,    // the in-game menu (Escape)
};

struct PresentationEvents {
    virtual ~PresentationEvents() = default;

    // Moves.
    virtual void ballSelected(int x, int y) { (void)x, (void)y; }     // the player picked up a ball
    virtual void moveTargetChosen(int x, int y) { (void)x, (void)y; } // a ball sets off for this cell
    virtual void ballLanded(int x, int y) { (void)x, (void)y; }       // a travelling ball reached its cell
    virtual void newBallsDealt() {}                                   // new balls appeared on the board

    // The removal pass and the pops that follow it.
    virtual void comboCounted(int combo, int landingX, int landingY) {
        (void)combo, (void)landingX, (void)landingY;
    } // a pass removed something at a combo of 2 or more; landing -1 before the first move
    virtual void diamondBolt(int diamondX, int diamondY, int ballX, int ballY) {
        (void)diamondX, (void)diamondY, (void)ballX, (void)ballY;
    } // a struck diamond's bolt reaches a ball of a colour it collected
    virtual void diamondSwept(int x, int y, int ballsReached) {
        (void)x, (void)y, (void)ballsReached;
    } // a diamond's sweep is done
    // A removed ball (or joker) pops; firstOfRun: the first since the last pass or the queue ran empty.
    virtual void ballPopped(int x, int y, int combo, int mode, bool firstOfRun) {
        (void)x, (void)y, (void)combo, (void)mode, (void)firstOfRun;
    }
    virtual void bombExploded(int x, int y, bool doubleBomb) {
        (void)x, (void)y, (void)doubleBomb;
    }                                                                // a removed bomb goes off
    virtual void diamondExploded(int x, int y) { (void)x, (void)y; } // a removed diamond pops
    virtual void chainBroken(int x, int y) { (void)x, (void)y; }     // a chained ball lost a chain
    virtual void squareCleared(int x, int y) { (void)x, (void)y; }   // a busy square lost its last layers
    virtual void ballsSwept() {}                                     // every ball on the board goes at once
    virtual void boardClearedByDoubleBombs() {}                      // a line of double bombs clears it all
    virtual void megamatchClearsBoard() {} // a megamatch is about to clear the board
    virtual void awardWon(Award award, int points) { (void)award, (void)points; } // after its points
    virtual void pointsScored(int points, int x, int y) {
        (void)points, (void)x, (void)y;
    }                         // points at a cell, or -1, -1 for the board as a whole
    virtual void lifeWon() {} // the player's score passed another life

    // Pieces, the hammer and the bar.
    virtual void bonusPiecePlaced(int kind, int x, int y) {
        (void)kind, (void)x, (void)y;
    }                                                             // earned piece lands
    virtual void hammerCharged() {}                               // the hammer became ready
    virtual void hammerStruck(int x, int y) { (void)x, (void)y; } // a hammer blow at a cell
    virtual void barStarFlying(float x, float y) {
        (void)x, (void)y;
    } // a star on its way to the bar, now here
    virtual void barStarArrived(int mode, float barFraction) {
        (void)mode, (void)barFraction;
    } // a star reached the bar; barFraction the bar's filled part
    virtual void actionBarFell(float barFraction, float markerX, float markerY) {
        (void)barFraction, (void)markerX, (void)markerY;
    } // the action mode's bar lost a step; the marker is where the stars fly

    // Tips.
    virtual void tipOccasion(TipOccasion occasion, int x, int y) {
        (void)occasion, (void)x, (void)y;
    } // a tip is due; x, y its cell or -1, -1

    // The level's course.
    virtual void levelStarted(int levelIndex) { (void)levelIndex; } // a level begins (or begins again)
    virtual void savedGameResumed() {}                              // a saved level was put back on the board
    virtual void timeBonusCounted(int bonus, float markerX, float markerY) {
        (void)bonus, (void)markerX, (void)markerY;
    } // a won puzzle's time left pays bonus points; the marker is the bar's
    virtual void levelWon(int levelIndex, bool stageComplete) { (void)levelIndex, (void)stageComplete; }
    virtual void levelLost(bool noMoves, int livesLeft) {
        (void)noMoves, (void)livesLeft;
    } // the board filled up (noMoves) or the time ran out
    virtual void levelGivenUp(int livesLeft) { (void)livesLeft; } // the player restarts or skips the level
    virtual void completeSequencePassed(int markMs, int levelIndex) {
        (void)markMs, (void)levelIndex;
    }                                     // the level-complete countdown passed 3500 ms, or 0 (its end)
    virtual void defeatSequenceEnded() {} // the defeat countdown ran out
    virtual void resultPageDue(ResultPage page) { (void)page; }  // the rules open a page over the board
    virtual void timeOfDayChosen(int variant) { (void)variant; } // keys 1..3 pick the scenery's time of day
    virtual void finishedStageDismissed() {}                     // a click or key after a finished stage
};

PresentationEvents& silentPresentation(); // answers nothing: a board without a presentation
