#include "game/new_balls.h"

#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/rules_step.h"
#include "rules_fixture.h"

namespace {
class NewBallsTest : public RulesTest {};

TEST_F(NewBallsTest, APreviewDrawsColourThenJokerThenCell) {
    loadPicture("----\n", kPlayLeft, kPlayTop, true);
    game.colourCount = 5;
    game.jokerFrequency = 20;
    liveRules.random.seed(77);
    RandomGenerator copy = liveRules.random;
    int colour = copy.next() % 5;
    int joker = copy.next() % 20;
    int cell = copy.next() % 4;
    drawPreview(liveRules);
    int expectedKind = joker == 0 ? kJoker : colour;
    EXPECT_EQ(liveRules.at(5 + cell, 5).pendingKind, expectedKind);
    EXPECT_FLOAT_EQ(liveRules.at(5 + cell, 5).pendingMs, 500);
    EXPECT_EQ(liveRules.random.state, copy.state); // exactly three draws
    EXPECT_EQ(game.freeCells, 4);                  // drawing does not take a cell
}

TEST_F(NewBallsTest, JokerFrequencyOfOneAlwaysAndAMillionNever) {
    loadPicture("--------\n", kPlayLeft, kPlayTop, true);
    game.colourCount = 5;
    game.jokerFrequency = 1;
    for (int i = 0; i < 20; ++i) drawPreview(liveRules);
    for (int x = 5; x < 13; ++x)
        EXPECT_TRUE(liveRules.at(x, 5).pendingKind == -1 || liveRules.at(x, 5).pendingKind == kJoker);
    game.jokerFrequency = 1000000;
    for (int i = 0; i < 50; ++i) drawPreview(liveRules);
    for (int x = 5; x < 13; ++x) EXPECT_LT(liveRules.at(x, 5).pendingKind, 5);
}

TEST_F(NewBallsTest, PlacingTurnsPreviewsIntoAppearingBallsAndDropsThoseOnBalls) {
    loadPicture("-a-\n", kPlayLeft, kPlayTop, true);
    liveRules.at(5, 5).pendingKind = 2;
    liveRules.at(5, 5).pendingMs = 500;
    liveRules.at(6, 5).pendingKind = 3;
    placePreviews(liveRules);
    EXPECT_EQ(kindAt(5, 5), 2);
    EXPECT_FLOAT_EQ(liveRules.at(5, 5).ball.appearMs, 500);
    EXPECT_EQ(kindAt(6, 5), 0);
    EXPECT_EQ(liveRules.at(6, 5).pendingKind, kNoPiece);
    EXPECT_EQ(game.freeCells, 1);
    EXPECT_EQ(events.count("dealt"), 1);
}

TEST_F(NewBallsTest, LastFreeCellIsFilledAndTheFullBoardLosesTheLevel) {
    loadPicture("ab-\n", kPlayLeft, kPlayTop, true);
    game.colourCount = 5;
    game.jokerFrequency = 1000000;
    ASSERT_EQ(game.freeCells, 1);
    game.barValue = 10;
    placePreviews(liveRules); // no preview yet: one is drawn for the last cell first
    EXPECT_NE(kindAt(7, 5), kNoPiece);
    EXPECT_EQ(game.freeCells, 0);
    checkLevelState(liveRules);
    EXPECT_FLOAT_EQ(game.defeatCountdownMs, 5000);
    EXPECT_TRUE(game.noMoves);
    EXPECT_TRUE(events.has("lost no-moves lives 3"));
}

TEST_F(NewBallsTest, AppearanceEndsWithOneRemovalPassAfterTheLastBall) {
    loadPicture("aa-\n", kPlayLeft, kPlayTop, true);
    setBall(7, 5, 0);
    liveRules.at(7, 5).ball.appearMs = 500;
    setBall(5, 5, 0);
    liveRules.at(5, 5).ball.appearMs = 300;
    countFreeCells(liveRules);
    game.combo = 3;
    game.barGoal = game.barValue = 10; // a level still to be won
    setFrame(400);
    boardSweep(liveRules); // the first has finished, the last not yet
    EXPECT_EQ(kindAt(5, 5), 0);
    EXPECT_FLOAT_EQ(liveRules.at(5, 5).ball.appearMs, 0);
    boardSweep(liveRules);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    EXPECT_EQ(game.combo, 4);
}

TEST_F(NewBallsTest, BallsPerTurnFollowTheBoardAndTheMode) {
    loadPicture("", kPlayLeft, kPlayTop, false); // 300 cells
    game.ballsPerTurn = 0;
    game.levelIndex = 1;
    computeBallsPerTurn(liveRules);
    EXPECT_EQ(game.ballsPerTurn, 37);
    game.ballsPerTurn = 4;
    game.mode = kModePuzzle;
    game.levelIndex = 6;
    computeBallsPerTurn(liveRules);
    EXPECT_EQ(game.ballsPerTurn, 75);
    game.mode = kModeAction;
    game.levelIndex = 3;
    computeBallsPerTurn(liveRules);
    EXPECT_EQ(game.ballsPerTurn, 180);
    game.mode = kModeClassic;
    game.ballsPerTurn = 4;
    computeBallsPerTurn(liveRules);
    EXPECT_EQ(game.ballsPerTurn, 4);
}

TEST_F(NewBallsTest, LevelStartFillingLeavesNoReadyMadeLine) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        loadPicture("", kPlayLeft, kPlayTop, false);
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) liveRules.at(x, y).pendingKind = kNoPiece;
        }
        liveRules.random.seed(seed);
        game.levelIndex = 2;
        game.colourCount = 3; // few colours make lines likely
        game.jokerFrequency = 20;
        game.ballsPerTurn = 0;
        fillBoardAtStart(liveRules);
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                liveRules.at(x, y).ball.appearMs = 0;
                ASSERT_EQ(markLinesFrom(liveRules, x, y), 0) << "seed " << seed << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(NewBallsTest, PreviewLineTestCountsPreviewsAndBalls) {
    loadPicture("a--\n", kPlayLeft, kPlayTop, true);
    liveRules.at(6, 5).pendingKind = 0;
    liveRules.at(7, 5).pendingKind = 0;
    EXPECT_EQ(wouldFormLine(liveRules, 7, 5), 3);
    liveRules.at(6, 5).pendingKind = 1;
    EXPECT_EQ(wouldFormLine(liveRules, 7, 5), 0);
}
} // namespace
