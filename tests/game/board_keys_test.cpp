#include "game/board_keys.h"

#include "game/live_rules.h"
#include "rules_fixture.h"

namespace {
class BoardKeysTest : public RulesTest {};

TEST_F(BoardKeysTest, AnyKeyEndsARunningSequenceOnTheNextFrame) {
    game.completeCountdownMs = 6000;
    onGameKey(liveRules, 'Q', false);
    EXPECT_FLOAT_EQ(game.completeCountdownMs, 1);
    game.completeCountdownMs = 0;
    game.defeatCountdownMs = 4000;
    onGameKey(liveRules, kKeySpace, false);
    EXPECT_FLOAT_EQ(game.defeatCountdownMs, 1);
    EXPECT_TRUE(game.running);
}

TEST_F(BoardKeysTest, SpacePausesAndAnyKeyResumes) {
    game.cursorMode = kCursorHammer;
    onGameKey(liveRules, kKeySpace, false);
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.cursorMode, kCursorNormal);
    onGameKey(liveRules, kKeyEscape, false); // resumes only
    EXPECT_TRUE(game.running);
    EXPECT_FALSE(game.menuOpen);
    onGameKey(liveRules, kKeyEscape, false);
    EXPECT_TRUE(events.has("page paused"));
    EXPECT_TRUE(game.menuOpen);
}

TEST_F(BoardKeysTest, CheatKeysWorkOnlyInCheatMode) {
    onGameKey(liveRules, 'Z', false);
    EXPECT_EQ(game.score, 0);
    onGameKey(liveRules, 'Z', true);
    EXPECT_EQ(game.score, 10000);
    onGameKey(liveRules, 'C', true);
    EXPECT_EQ(currentProfile().lives[0], 2);
    loadPicture("2a\n");
    game.barValue = 10;
    onGameKey(liveRules, 'N', true);
    EXPECT_FLOAT_EQ(game.barValue, 0);
    EXPECT_EQ(liveRules.at(5, 5).square, 0);
}

TEST_F(BoardKeysTest, PassedGameIgnoresKeysForFiveSecondsOfPause) {
    game.running = false;
    game.gamePassed = true;
    game.pauseMs = 1000;
    onGameKey(liveRules, 'A', false);
    EXPECT_FALSE(game.running);
    game.pauseMs = 6000;
    onGameKey(liveRules, 'A', false);
    EXPECT_TRUE(game.running);
}
} // namespace
