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
    for (int i = 0; i < 7; ++i) addRemovalEntry(liveRules, 0, 0, 1, false);
    const float delays[7] = {0, 80, 160, 240, 320, 400, 400};
    for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(liveRules.removals.entries[i].delayMs, delays[i]) << i;
    setFrame(100);
    runQueue(3); // 300 ms: only the first entry has popped
    EXPECT_EQ(game.score, 20);
    runQueue(10);
    EXPECT_EQ(game.score, 140);
    EXPECT_EQ(events.count("sound ball.ogg 45000"), 1);
    EXPECT_EQ(events.count("popup"), 7);
    EXPECT_EQ(liveRules.removals.entries.size(), 0); // emptied once nothing waits any more
    EXPECT_FALSE(liveRules.removals.ballSoundPlayed);
}

TEST_F(RemovalQueueTest, PopsSendStarsByModeAndBombsScoreNothing) {
    game.combo = 4;
    game.mode = kModeClassic;
    game.levelIndex = 2;
    addRemovalEntry(liveRules, 0, 0, kTripleBomb, false);
    addRemovalEntry(liveRules, 0, 0, kDiamond, true);
    setFrame(1000);
    runQueue(1);
    EXPECT_EQ(game.score, 140); // the diamond on a busy square: 10 * 4 + 100
    EXPECT_TRUE(events.has("shake 800 1"));
    EXPECT_FLOAT_EQ(liveRules.stars.stars[0].value, std::pow(64.0f, 0.25f));
    game.mode = kModePuzzle;
    liveRules.stars = BarStars{};
    addRemovalEntry(liveRules, 0, 0, 2, false);
    runQueue(2);
    EXPECT_TRUE(liveRules.stars.stars.empty()) << "no star flies in puzzle mode";
}

TEST_F(RemovalQueueTest, MoreRemovalsThanEntriesAreAllScored) {
    game.combo = 1;
    for (int i = 0; i < 300; ++i) addRemovalEntry(liveRules, 0, 0, 3, false);
    EXPECT_LE(liveRules.removals.entries.size(), kMaxRemovalEntries);
    setFrame(50);
    runQueue(40);
    EXPECT_EQ(game.score, 3000);
    EXPECT_EQ(liveRules.removals.entries.size(), 0);
}
} // namespace
