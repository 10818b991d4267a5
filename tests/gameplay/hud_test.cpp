#include "gameplay/hud.h"

#include "engine/font.h"
#include "engine/text_table.h"
#include "game/live_rules.h"
#include "game/player_link.h"
#include "gameplay_fixture.h"

namespace {

class HudTest : public GameplayTest {};

TEST_F(HudTest, LivesShowHeartsUpToThreeThenOneHeartAndACount) {
    LivesDisplay six = livesDisplay(6);
    EXPECT_EQ(six.hearts, 1);
    EXPECT_EQ(six.heartX[0], 320);
    EXPECT_TRUE(six.countText);
    EXPECT_FALSE(six.lastLife);
    LivesDisplay three = livesDisplay(3);
    EXPECT_EQ(three.hearts, 3);
    EXPECT_FALSE(three.countText);
    EXPECT_EQ(three.heartX[2], 376);
    EXPECT_EQ(livesDisplay(1).hearts, 1);
    EXPECT_TRUE(livesDisplay(0).lastLife);
    EXPECT_EQ(livesDisplay(0).hearts, 0);
    // After the game is over nothing is shown, neither "last life" nor a heart.
    EXPECT_FALSE(livesDisplay(-1).lastLife);
    EXPECT_EQ(livesDisplay(-1).hearts, 0);
    EXPECT_EQ(livesDisplay(4).hearts, 1);
}

TEST_F(HudTest, SixLivesDrawOneHeartAndTheCountText) {
    setPlayerLives(liveRules, 6);
    parseTextTable("lives=Lives\r\n", 14);
    drawHud();
    flush();
    EXPECT_EQ(quadsWith(gameTextures.heart), 1);
    EXPECT_EQ(game.hudLives, 6);
    setPlayerLives(liveRules, 2);
    backend.clearFrame();
    drawHud();
    flush();
    EXPECT_EQ(quadsWith(gameTextures.heart), 2);
    freeTextTable();
}

TEST_F(HudTest, ScoreCountsUpByAtLeastOneAndNeverOvershoots) {
    EXPECT_EQ(countScoreToward(0, 1000, 16), 160);
    EXPECT_EQ(countScoreToward(999, 1000, 16), 1000) << "at least 1 per frame";
    EXPECT_EQ(countScoreToward(990, 1000, 1), 991);
    EXPECT_EQ(countScoreToward(0, 1000, 0), 1) << "a frame of 0 ms still counts";
    EXPECT_EQ(countScoreToward(0, 1000, 5000), 1000) << "a long frame stops at the target";
    EXPECT_EQ(countScoreToward(1200, 1000, 16), 1200) << "above the target nothing changes";
    int shown = 0;
    for (int frame = 0; frame < 2000 && shown < 150000; ++frame) {
        int next = countScoreToward(shown, 150000, 16);
        ASSERT_GT(next, shown);
        ASSERT_LE(next, 150000);
        shown = next;
    }
    EXPECT_EQ(shown, 150000);
}

TEST_F(HudTest, ShownScoreFollowsTheProfileWhileTheHudDraws) {
    addPlayerScore(liveRules, 500);
    resetHud();
    EXPECT_EQ(hud.shownScore, 500);
    addPlayerScore(liveRules, 100);
    app.frameDeltaMs = 16;
    drawHud();
    EXPECT_GT(hud.shownScore, 500);
    EXPECT_LT(hud.shownScore, 600);
    EXPECT_GT(liveQuickParticles(), 0) << "counting throws sparks at the score";
}

TEST_F(HudTest, ProgressMarkerStaysOnTheBar) {
    EXPECT_EQ(progressMarkerY(0) - kBarBottom, 23);
    EXPECT_EQ(progressMarkerY(1) - kBarBottom, 489);
    EXPECT_EQ(progressMarkerY(0.5f) - kBarBottom, 23 + 233);
    // The puzzle clock overrunning its goal gives a negative fraction; a fraction above 1 can come from
    // a goal that shrank: the marker still stays on the bar.
    EXPECT_EQ(progressMarkerY(-0.4f) - kBarBottom, 23);
    EXPECT_EQ(progressMarkerY(1.7f) - kBarBottom, 489);
}

TEST_F(HudTest, SlidePhasesShiftAndHideThePanel) {
    EXPECT_FALSE(hudSlide().hidden);
    EXPECT_EQ(hudSlide().shift, 0);
    game.pauseMs = 250;
    EXPECT_EQ(hudSlide().shift, 50);
    game.pauseMs = 600;
    EXPECT_TRUE(hudSlide().hidden);
    game.pauseMs = 0;
    game.completeCountdownMs = 5100;
    EXPECT_NEAR(hudSlide().shift, 140, 1e-3);
    game.completeCountdownMs = 2999;
    EXPECT_TRUE(hudSlide().hidden);
    game.completeCountdownMs = 0;
    game.defeatCountdownMs = 3000;
    EXPECT_NEAR(hudSlide().shift, 70, 1e-3);
    game.defeatCountdownMs = 999;
    EXPECT_TRUE(hudSlide().hidden);
}

TEST_F(HudTest, PuzzleClockFlashesAndWarnsEvery400MsWhileTimeIsLeft) {
    game.mode = kModePuzzle;
    game.barGoal = 60000;
    game.barValue = 50000; // 10 s left
    app.frameTimeMs = 100;
    for (int i = 0; i < 8; ++i) drawProgressBar();
    EXPECT_EQ(output.count("sound timeup.ogg"), 2);
    game.menuOpen = true;
    for (int i = 0; i < 8; ++i) drawProgressBar();
    EXPECT_EQ(output.count("sound timeup.ogg"), 2) << "not while a menu is open";
    game.menuOpen = false;
    game.barValue = 5000; // plenty of time
    for (int i = 0; i < 8; ++i) drawProgressBar();
    EXPECT_EQ(output.count("sound timeup.ogg"), 2);
}

TEST_F(HudTest, ScoreNumbersLiveOneSecondInARingOf64) {
    app.frameTimeMs = 100;
    for (int i = 0; i < 70; ++i) scoreNumber(i, 0, 0, 0, 0.03f, 14);
    ASSERT_EQ(scoreNumbers.numbers.size(), 64);
    EXPECT_EQ(scoreNumbers.numbers.oldest().value, 6) << "the 65th and later overwrote the oldest";
    for (int i = 0; i < 5; ++i) drawScoreNumbers();
    EXPECT_NEAR(scoreNumbers.numbers[0].y, 15, 1e-3);
    for (int i = 0; i < 6; ++i) drawScoreNumbers();
    EXPECT_GT(scoreNumbers.numbers[0].ageMs, 1000);
}

} // namespace
