#include "game/removal_queue.h"

#include <cmath>

#include "game/live_rules.h"
#include "rules_fixture.h"

namespace {
class RemovalQueueTest : public RulesTest {
  protected:
    void runQueue(int frames) {
        for (int i = 0; i < frames; ++i) updateRemovalQueue(liveRules);
    }
};

TEST_F(RemovalQueueTest, EntriesAreStaggeredAndPopWithPointsAndOneBallSound) {
    game.combo = 2;
    for (int i = 0; i < 7; ++i) addRemovalEntry(liveRules, 5 + i, 5, 1, false);
    const float delays[7] = {0, 80, 160, 240, 320, 400, 400};
    for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(liveRules.removals.entries[i].delayMs, delays[i]) << i;
    setFrame(100);
    runQueue(3); // 300 ms: only the first entry has popped
    EXPECT_EQ(game.score, 20);
    runQueue(10);
    EXPECT_EQ(game.score, 140);
    EXPECT_EQ(events.count("popped"), 7);
    EXPECT_EQ(events.count("popped 5 5 combo 2 mode 0 first"), 1) << "the first of the run";
    EXPECT_EQ(events.count("points 20 at"), 7);
    EXPECT_EQ(liveRules.removals.entries.size(), 0); // emptied once nothing waits any more
    EXPECT_FALSE(liveRules.removals.ballPopped);
    events.clear();
    addRemovalEntry(liveRules, 8, 8, 1, false);
    runQueue(5);
    EXPECT_EQ(events.count("popped 8 8 combo 2 mode 0 first"), 1) << "a new run after the queue ran empty";
}

TEST_F(RemovalQueueTest, PopsSendStarsByModeAndBombsScoreNothing) {
    game.combo = 4;
    game.mode = kModeClassic;
    game.levelIndex = 2;
    addRemovalEntry(liveRules, 5, 5, kTripleBomb, false);
    addRemovalEntry(liveRules, 6, 5, kDiamond, true);
    setFrame(1000);
    runQueue(1);
    EXPECT_EQ(game.score, 140); // the diamond on a busy square: 10 * 4 + 100
    EXPECT_TRUE(events.has("bomb 5 5"));
    EXPECT_TRUE(events.has("diamond 6 5"));
    EXPECT_FLOAT_EQ(liveRules.stars.stars[0].value, std::pow(64.0f, 0.25f));
    game.mode = kModePuzzle;
    liveRules.stars = BarStars{};
    addRemovalEntry(liveRules, 5, 5, 2, false);
    runQueue(2);
    EXPECT_TRUE(liveRules.stars.stars.empty()) << "no star flies in puzzle mode";
}

TEST_F(RemovalQueueTest, MoreRemovalsThanEntriesAreAllScored) {
    game.combo = 1;
    for (int i = 0; i < 300; ++i) addRemovalEntry(liveRules, 5, 5, 3, false);
    EXPECT_LE(liveRules.removals.entries.size(), kMaxRemovalEntries);
    setFrame(50);
    runQueue(40);
    EXPECT_EQ(game.score, 3000);
    EXPECT_EQ(liveRules.removals.entries.size(), 0);
}
} // namespace
