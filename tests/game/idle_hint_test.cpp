#include "game/idle_hint.h"

#include "game/live_rules.h"
#include "game/rules_step.h"
#include "rules_fixture.h"

namespace {
class IdleHintTest : public RulesTest {};

TEST_F(IdleHintTest, FirstHintAfterTheThresholdAndTheNextAfterTwiceAsLong) {
    loadPicture("aa-\n"
                "---\n"
                "--a\n");
    game.levelIndex = 0;
    setFrame(1000);
    for (int i = 0; i < 6; ++i) updateIdleTimer(liveRules, false);
    EXPECT_FALSE(game.hintShown);
    updateIdleTimer(liveRules, false);
    ASSERT_TRUE(game.hintShown);
    EXPECT_EQ(game.idleMs, -6000);
    EXPECT_EQ(game.hintToX, 7);
    EXPECT_EQ(game.hintToY, 5);
    EXPECT_EQ(game.hintFromX, 7);
    EXPECT_EQ(game.hintFromY, 7);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_EQ(liveRules.at(7, 5).pathDistance, 2); // distances from the mover, for the route drawing
    game.hintShown = false;
    for (int i = 0; i < 12; ++i) updateIdleTimer(liveRules, false);
    EXPECT_FALSE(game.hintShown);
    updateIdleTimer(liveRules, false);
    EXPECT_TRUE(game.hintShown);
}

// Played frame by frame, the displayed hint must not restart the wait: on level 0 the second hint comes
// 12 s after the first, not after its 5 s on screen plus 6 s.
TEST_F(IdleHintTest, TheNextHintFollowsTwiceTheThresholdAfterTheLastWasShown) {
    loadPicture("aa-\n"
                "---\n"
                "--a\n");
    game.levelIndex = 0;
    game.barGoal = game.barValue = 10; // a level still to be won
    setFrame(100);
    int shownAtMs[2] = {-1, -1};
    int shown = 0;
    bool wasShown = false;
    for (int t = 100; t <= 30000 && shown < 2; t += 100) {
        rulesFrame(liveRules);
        if (game.hintShown && !wasShown) shownAtMs[shown++] = t;
        wasShown = game.hintShown;
    }
    ASSERT_EQ(shown, 2);
    EXPECT_EQ(shownAtMs[0], 6100);
    EXPECT_EQ(shownAtMs[1] - shownAtMs[0], 12000 + 100)
        << "twice 6 s, and the frame that passes the threshold";
}

TEST_F(IdleHintTest, SelectingResetsTheTimerAndDropsTheHint) {
    loadPicture("aa-\n--a\n");
    game.idleMs = 5000;
    game.selectedX = 5;
    game.selectedY = 5;
    updateIdleTimer(liveRules, false);
    EXPECT_EQ(game.idleMs, 0);
    game.selectedX = game.selectedY = -1;
    game.idleMs = 5000;
    updateIdleTimer(liveRules, true); // a tip on screen holds the timer too
    EXPECT_EQ(game.idleMs, 0);
    game.selectedX = game.selectedY = 5;
    game.hintShown = true;
    updateHint(liveRules);
    EXPECT_FALSE(game.hintShown);
}

TEST_F(IdleHintTest, ABallOfTheLineItselfIsNeverTheMover) {
    // Only the pair's own balls could reach the gap: no hint.
    loadPicture("a-a#\n"
                "####\n",
                kPlayLeft, kPlayTop, true);
    EXPECT_EQ(bestKindAt(liveRules, 6, 5), 0);
    EXPECT_FALSE(showHint(liveRules));
}

TEST_F(IdleHintTest, PuzzleModePrefersABusySquare) {
    loadPicture("bb-aa-\n"
                "-----1\n"
                "b----a\n");
    game.mode = kModePuzzle;
    liveRules.at(7, 5).square = 0;
    liveRules.at(10, 5).square = 1;
    ASSERT_TRUE(showHint(liveRules));
    EXPECT_EQ(game.hintToX, 10);
    game.mode = kModeClassic;
    ASSERT_TRUE(showHint(liveRules));
    EXPECT_EQ(game.hintToX, 7);
}

} // namespace
