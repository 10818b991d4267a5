#include "game/path_search.h"

#include "game/live_rules.h"
#include "game/moves.h"
#include "rules_fixture.h"

namespace {
class PathSearchTest : public RulesTest {};

TEST_F(PathSearchTest, DistancesCountOrthogonalStepsAroundBallsAndHoles) {
    loadPicture("a-#--\n"
                "-b#--\n"
                "-----\n",
                kPlayLeft, kPlayTop, true);
    game.selectedX = 5;
    game.selectedY = 5;
    computePathDistances(liveRules);
    EXPECT_EQ(liveRules.at(5, 5).pathDistance, 0);
    EXPECT_EQ(liveRules.at(6, 5).pathDistance, 1);
    EXPECT_EQ(liveRules.at(6, 6).pathDistance, -1); // a ball
    EXPECT_EQ(liveRules.at(7, 5).pathDistance, -1); // a hole
    EXPECT_EQ(liveRules.at(7, 7).pathDistance, 4);  // around the ball
    EXPECT_EQ(liveRules.at(8, 5).pathDistance, 7);  // around the hole column
    EXPECT_EQ(liveRules.at(4, 5).pathDistance, -1); // the margin
}

TEST_F(PathSearchTest, CellReachableOnlyDiagonallyIsRefused) {
    loadPicture("ab--\n"
                "b---\n",
                kPlayLeft, kPlayTop, true);
    game.selectedX = 5;
    game.selectedY = 5;
    computePathDistances(liveRules);
    EXPECT_EQ(liveRules.at(6, 6).pathDistance, -1);
    EXPECT_FALSE(clickEmptyCell(liveRules, 6, 6));
}

TEST_F(PathSearchTest, EqualLengthRoutesFollowTheNeighbourOrderWalkedBackFromTheTarget) {
    loadPicture("a--\n---\n---\n", kPlayLeft, kPlayTop, true);
    game.selectedX = 5;
    game.selectedY = 5;
    computePathDistances(liveRules);
    ASSERT_TRUE(buildRoute(liveRules, 7, 7));
    // From (7, 7) back: left first whenever it is one step nearer, so the route runs along the bottom row
    // and then up the first column.
    ASSERT_EQ(game.pathLength, 4);
    const float expected[5][2] = {{80, -80}, {40, -80}, {0, -80}, {0, -40}, {0, 0}};
    for (int i = 0; i <= 4; ++i) {
        EXPECT_FLOAT_EQ(game.pathPoints[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(game.pathPoints[i].y, expected[i][1]) << i;
    }
}

TEST_F(PathSearchTest, MoveDurationGrowsWithTheRootOfTheSteps) {
    EXPECT_EQ(moveDurationFor(liveRules, 1), 221);
    EXPECT_EQ(moveDurationFor(liveRules, 10), 700);
    game.ballSpeed = 35;
    EXPECT_EQ(moveDurationFor(liveRules, 4), 221);
}
} // namespace
