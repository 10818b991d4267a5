// Counters that come from the player's files (a saved game's combo, a profile's score) may hold anything
// in their range; the points made from them stay at the int's end instead of wrapping.
#include <climits>

#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/rules_fixture.h"

namespace {
class LoadedValuesTest : public RulesTest {};

TEST_F(LoadedValuesTest, PopsOfAHugeComboScoreTheMostPointsThereAre) {
    game.combo = INT_MAX;
    game.mode = kModeClassic;
    game.levelIndex = 10;
    addRemovalEntry(liveRules, 5, 5, 1, false);
    addRemovalEntry(liveRules, 6, 5, kDiamond, true);
    setFrame(1000);
    updateRemovalQueue(liveRules);
    EXPECT_EQ(game.score, INT_MAX);
    EXPECT_EQ(currentProfile().score[kModeClassic], INT_MAX);
}

TEST_F(LoadedValuesTest, PointsOnAScoreNearTheEndKeepItThere) {
    game.mode = kModeAction;
    currentProfile().score[kModeAction] = INT_MAX - 10;
    game.score = INT_MAX - 5;
    addPoints(liveRules, 25000);
    EXPECT_EQ(currentProfile().score[kModeAction], INT_MAX);
    EXPECT_EQ(game.score, INT_MAX);
}
} // namespace
