#include "gameplay/game_frame.h"

#include "gameplay_fixture.h"

namespace {

class GameFrameTest : public GameplayTest {
  protected:
    void SetUp() override {
        GameplayTest::SetUp();
        game.barGoal = 20; // a level in progress: far from its goal, its marker at rest
        game.barValue = 10;
        game.barFraction = game.barShownFraction = 0.5f;
    }
    void frame(float ms) {
        setFrame(ms);
        backend.clearFrame();
        runGameFrame();
        flushBatch();
    }
};

TEST_F(GameFrameTest, ACursorModeChangeBurstsOnceAlsoWhenItChangesBack) {
    loadPicture("a");
    frame(16);
    int before = liveQuickParticles();
    game.cursorMode = kCursorHelp;
    frame(16);
    EXPECT_EQ(liveQuickParticles() - before, 32);
    frame(16);
    EXPECT_EQ(liveQuickParticles() - before, 32) << "no second burst for the same mode";
    game.cursorMode = kCursorNormal;
    frame(16);
    EXPECT_EQ(liveQuickParticles() - before, 64);
}

TEST_F(GameFrameTest, AnOpenMenuFadesTheBoardOutIn300MsAndBackIn) {
    loadPicture("a-b");
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 2);
    game.menuOpen = true;
    frame(150);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 2) << "half faded";
    frame(150);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 0) << "hidden behind the menu";
    game.menuOpen = false;
    frame(100);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 2);
}

TEST_F(GameFrameTest, TheEndOfADefeatGreysTheBoard) {
    loadPicture("a");
    game.defeatCountdownMs = 10;
    frame(16);
    EXPECT_TRUE(gameView.boardGreyed);
    EXPECT_TRUE(game.menuOpen) << "the rules opened the result page";
    game.menuOpen = false;
    game.menuFadeMs = 0;
    frame(16);
    for (const RecordedDraw& d : backend.draws) {
        if (d.states.texture != gameTextures.balls[0]->handle) continue;
        uint32_t c = backend.coloredVertex(d, 0).color;
        EXPECT_EQ((c >> 16) & 0xFF, 51u);
        EXPECT_EQ(c & 0xFF, 51u);
    }
}

TEST_F(GameFrameTest, ABombsShakeJoltsTheBoardAndDiesAwayIn800Ms) {
    loadPicture("a");
    game.barGoal = 20; // a level still to be won
    game.barValue = 10;
    startShake(800, 1.5f);
    frame(16);
    EXPECT_EQ(gameView.shakeMs, 784);
    for (int i = 0; i < 60; ++i) frame(16);
    EXPECT_EQ(gameView.shakeMs, 0);
    // During the level-complete sequence the board does not shake.
    startShake(800, 1.0f);
    game.completeCountdownMs = 8000;
    frame(16);
    EXPECT_EQ(gameView.shakeMs, 800);
}

} // namespace
