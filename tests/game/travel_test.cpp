// A move in progress against the rest of the rules: what may be placed while a ball is on its way, and
// what a broken invariant does in the strict and the forgiving build.
#include <cstdio>
#include <string>

#include "game/board_click.h"
#include "game/board_keys.h"
#include "game/invariants.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/moves.h"
#include "game/rules_step.h"
#include "rules_fixture.h"

namespace {
class TravelTest : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        rulesInvariants = RulesInvariants{};
    }
    void TearDown() override {
        rulesInvariants = RulesInvariants{};
        RulesTest::TearDown();
    }
    // Frames until no move is in progress (at most two seconds), and the frame after, which clears the
    // travel's mark.
    void untilLanded() {
        for (int i = 0; i < 125 && travelInProgress(liveRules); ++i) rulesFrame(liveRules);
        rulesFrame(liveRules);
    }
};

// Balls that finish appearing while another ball travels may earn a piece on the landing cell of the
// last move, which is where the travelling ball is bound: the cell is taken, and the ball lands on it.
TEST_F(TravelTest, APieceEarnedWhileABallTravelsIsNotPlacedOnItsTarget) {
    rulesInvariants.strict = false; // count the broken invariant instead of stopping the tests
    loadPicture("------------\n"
                "------------\n"
                "c-------bb--\n"
                "------------\n"
                "----------b-\n",
                kPlayLeft, 8);
    game.levelIndex = 3; // bonus pieces are earned
    game.barGoal = game.barValue = 100;
    // B completes a line on (15, 10): combo 1, and (15, 10) is the landing cell.
    leftClickCell(liveRules, 15, 12);
    leftClickCell(liveRules, 15, 10);
    untilLanded();
    ASSERT_EQ(game.combo, 1);
    ASSERT_EQ(kindAt(15, 10), kNoPiece);
    ASSERT_EQ(game.landingX, 15);
    // Three new balls of one colour start to appear (667 ms), and C sets off on ten steps to (15, 10).
    for (int x = 5; x <= 7; ++x) {
        setBall(x, 19, 0);
        liveRules.at(x, 19).ball.appearMs = 500;
    }
    countFreeCells(liveRules);
    leftClickCell(liveRules, 5, 10);
    leftClickCell(liveRules, 15, 10);
    ASSERT_EQ(game.moveDurationMs, 700);
    untilLanded();
    EXPECT_EQ(game.maxCombo, 2) << "the appeared line was removed while C travelled";
    EXPECT_EQ(kindAt(6, 19), kNoPiece);
    EXPECT_EQ(kindAt(15, 10), 2) << "C stands on its target";
    EXPECT_EQ(rulesInvariants.repairs, 0) << "no piece was overwritten by the landing";
    EXPECT_TRUE(freeCellsAgree(liveRules));
}
// The previews announced are placed while a ball travels (here by the cheat key that deals one more): the
// ball's target keeps its preview, which the landing drops, and no ball is placed under the ball.
TEST_F(TravelTest, PreviewsPlacedWhileABallTravelsLeaveItsTargetFree) {
    rulesInvariants.strict = false;
    loadPicture("a----\n");
    game.barGoal = game.barValue = 100;
    leftClickCell(liveRules, 5, 5);
    leftClickCell(liveRules, 9, 5);
    liveRules.at(9, 5).pendingKind = 3;
    onGameKey(liveRules, 'X', true);
    EXPECT_EQ(kindAt(9, 5), kNoPiece);
    untilLanded();
    EXPECT_EQ(kindAt(9, 5), 0) << "the ball stands on its target";
    EXPECT_EQ(liveRules.at(9, 5).pendingKind, kNoPiece);
    EXPECT_EQ(rulesInvariants.repairs, 0);
}

// Quick clicks around the end of a level: a move still on its way when the bar fills lands, but the level
// was won with the moves made until then, and once it is won no move starts, so the results, the stored
// record and the state agree.
TEST_F(TravelTest, NoMoveIsCountedOrStartedOnceTheLevelIsDecided) {
    loadPicture("-----------\n"
                "-----------\n"
                "b----------\n",
                kPlayLeft, 8);
    game.levelIndex = 3;
    game.barGoal = 10;
    game.barValue = 0; // the last star has arrived; the bar's display is catching up
    game.barFraction = 1;
    game.barShownFraction = 0.999f;
    leftClickCell(liveRules, 5, 10);
    leftClickCell(liveRules, 15, 10); // ten steps, 700 ms
    ASSERT_TRUE(travelInProgress(liveRules));
    for (int i = 0; i < 20 && !completeSequenceStarted(liveRules); ++i) rulesFrame(liveRules);
    ASSERT_TRUE(completeSequenceStarted(liveRules));
    ASSERT_TRUE(travelInProgress(liveRules)) << "won with the ball on its way";
    int movesAtTheWin = game.movesMade;
    untilLanded();
    EXPECT_EQ(kindAt(15, 10), 1) << "the ball landed";
    EXPECT_EQ(game.movesMade, movesAtTheWin) << "its move came after the level was won";
    for (int i = 0; i < 700 && game.completeCountdownMs > 0; ++i) rulesFrame(liveRules);
    ASSERT_EQ(game.completeCountdownMs, -1);
    EXPECT_EQ(records.levels[kModeClassic][3].fewestMoves, game.movesMade);
    EXPECT_FALSE(game.ballMoving);
    // The sequence has ended and its page is put away: a ball on the board is not sent anywhere any more.
    game.menuOpen = false;
    setBall(6, 12, 1);
    countFreeCells(liveRules);
    leftClickCell(liveRules, 6, 12);
    leftClickCell(liveRules, 9, 12);
    EXPECT_FALSE(travelInProgress(liveRules));
    EXPECT_EQ(game.movesMade, movesAtTheWin);
}

TEST_F(TravelTest, ABrokenInvariantStopsTheStrictBuildAndIsRepairedInAPlayersBuild) {
    loadPicture("a--\n");
    game.barGoal = game.barValue = 10;
    game.freeCells += 1; // a count the board does not bear out
    EXPECT_DEATH(rulesFrame(liveRules),
                 "rules invariant broken after the board sweep: 300 free cells counted, 299");
    rulesInvariants.strict = false;
    testing::internal::CaptureStderr();
    rulesFrame(liveRules);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written,
              "pebblecraft: rules invariant broken after the board sweep: 300 free cells counted, 299 "
              "on the board; recounted\n");
    EXPECT_TRUE(freeCellsAgree(liveRules));
    EXPECT_EQ(rulesInvariants.repairs, 1);
    rulesFrame(liveRules); // and the game goes on
    EXPECT_EQ(rulesInvariants.repairs, 1);
}
} // namespace
