#include "game/moves.h"

#include "game/board_click.h"
#include "game/live_rules.h"
#include "game/path_search.h"
#include "rules_fixture.h"

namespace {
class MovesTest : public RulesTest {
  protected:
    // Runs the travel of the ball leaving (x, y) frame by frame until it lands.
    void travel(int x, int y) {
        for (int i = 0; i < 200 && liveRules.at(x, y).ball.moveTargetX != -1; ++i)
            updateMove(liveRules, x, y);
    }
};

TEST_F(MovesTest, SelectingSwitchingAndDeselecting) {
    loadPicture("ab-\nC--\n");
    clickBall(liveRules, 5, 5);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(events.count("selected 5 5"), 1);
    clickBall(liveRules, 6, 5);
    EXPECT_EQ(game.selectedX, 6);
    clickBall(liveRules, 6, 5);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_EQ(events.count("selected"), 2); // deselecting is no event
    clickBall(liveRules, 5, 6);             // chained
    EXPECT_EQ(game.selectedX, -1);
}

TEST_F(MovesTest, EmptyCellWithoutSelectionDoesNothingSilently) {
    loadPicture("a--\n");
    EXPECT_FALSE(clickEmptyCell(liveRules, 7, 5));
    EXPECT_TRUE(events.lines.empty());
}

TEST_F(MovesTest, MoveTravelsAtConstantSpeedAndLands) {
    loadPicture("a---\n");
    clickBall(liveRules, 5, 5);
    ASSERT_TRUE(clickEmptyCell(liveRules, 8, 5));
    EXPECT_EQ(game.moveDurationMs, 383); // 3 steps
    EXPECT_FLOAT_EQ(liveRules.at(8, 5).scale, 0.7f);
    EXPECT_TRUE(events.has("target 8 5"));
    setFrame(383.0f / 2);
    updateMove(liveRules, 5, 5);
    EXPECT_NEAR(liveRules.at(5, 5).ball.offsetX, 60, 0.01);
    EXPECT_EQ(kindAt(5, 5), 0); // the ball stays in its start cell while travelling
    updateMove(liveRules, 5, 5);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    EXPECT_EQ(kindAt(8, 5), 0);
    EXPECT_FLOAT_EQ(liveRules.at(8, 5).ball.offsetX, 0);
    EXPECT_EQ(game.landingX, 8);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_EQ(game.movesMade, 1);
    EXPECT_EQ(game.streak, 1);
    EXPECT_EQ(game.pathLength, 0);
    EXPECT_TRUE(events.has("landed 8 5"));
}

TEST_F(MovesTest, PreviewOnTheTargetIsLostOnLanding) {
    loadPicture("a--\n");
    liveRules.at(7, 5).pendingKind = 3;
    liveRules.at(6, 5).pendingKind = 4;
    game.ballsPerTurn = 0;
    int free = game.freeCells;
    clickBall(liveRules, 5, 5);
    ASSERT_TRUE(clickEmptyCell(liveRules, 7, 5));
    travel(5, 5);
    EXPECT_EQ(kindAt(7, 5), 0);
    EXPECT_EQ(liveRules.at(7, 5).pendingKind, kNoPiece);
    EXPECT_EQ(kindAt(6, 5), 4); // the other preview became a ball
    EXPECT_EQ(game.freeCells, free - 1);
}

TEST_F(MovesTest, ClicksAreIgnoredWhileABallTravels) {
    loadPicture("ab--\n");
    clickBall(liveRules, 5, 5);
    ASSERT_TRUE(clickEmptyCell(liveRules, 7, 5));
    EXPECT_FALSE(clickEmptyCell(liveRules, 8, 5)); // no second move of the same ball
    clickBall(liveRules, 6, 5);
    EXPECT_EQ(game.selectedX, 5);
}

TEST_F(MovesTest, WalledInBallCanBeSelectedButGoesNowhere) {
    loadPicture("ab-\nb--\n");
    clickBall(liveRules, 5, 5);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_FALSE(clickEmptyCell(liveRules, 7, 6));
    EXPECT_FALSE(clickEmptyCell(liveRules, 5, 5));
}
} // namespace
