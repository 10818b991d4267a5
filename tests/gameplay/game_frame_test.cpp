#include "gameplay/game_frame.h"

#include <string>

#include <glm/geometric.hpp>

#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "gameplay/game_presentation.h"
#include "gameplay/live_output.h"
#include "gameplay_fixture.h"
#include "player/comfort.h"

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

// The game's frame hands its clock to the live board: the level's play time counts the frames' whole
// milliseconds, at the speed the frames come.
TEST_F(GameFrameTest, TheLevelsPlayTimeRunsOnTheFrameClock) {
    loadPicture("a-b");
    game.barGoal = 20; // far from its goal: the level runs on
    game.barValue = 10;
    game.running = true;
    currentProfile().showHelp[0] = 0; // the first help page was seen
    liveRules.stepBy(0); // nothing left from an earlier step: the frame must set the board's lengths
    app.frameTimeMs = 16;
    app.frameDeltaMs = 16;
    const int before = game.levelTimeMs;
    for (int i = 0; i < 10; ++i) {
        backend.clearFrame();
        runGameFrame();
        flushBatch();
    }
    EXPECT_EQ(game.levelTimeMs - before, 160);
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
    currentProfile().showHelp[0] = 0; // no help page over the first game
    game.defeatCountdownMs = 10;
    frame(16);
    EXPECT_TRUE(gameView.boardGreyed);
    EXPECT_TRUE(game.menuOpen) << "the rules opened the result page";
    game.menuOpen = false;
    game.menuFadeMs = 0;
    frame(16);
    int balls = 0;
    for (const RecordedDraw& d : backend.draws) {
        if (d.states.texture != gameTextures.balls[0]->handle) continue;
        uint32_t c = backend.coloredVertex(d, 0).color;
        EXPECT_EQ((c >> 16) & 0xFF, 51u);
        EXPECT_EQ(c & 0xFF, 51u);
        ++balls;
    }
    EXPECT_EQ(balls, 1) << "the ball is drawn, tinted";
}

// A result sequence cut short ends at -1, its page waiting: the board it broke up, the panel it slid out
// and the shake of the board clear it held back stay away behind the page.
TEST_F(GameFrameTest, AnEndedSequenceKeepsTheBoardThePanelAndTheHeldBackShakeAway) {
    loadPicture("a-b");
    currentProfile().showHelp[0] = 0; // no help page over the first game
    game.completeCountdownMs = 7600;
    frame(16);
    EXPECT_GT(quadsWith(gameTextures.squares[0]), 0) << "the board still stands";
    frame(100);             // past 7500: the board is cleared and broken up
    gameView.shakeMs = 800; // the clear's shake, held back while the sequence runs
    frame(16);
    game.completeCountdownMs = 1; // a click cuts the sequence short
    frame(16);
    ASSERT_EQ(game.completeCountdownMs, -1);
    ASSERT_TRUE(game.menuOpen) << "the results page opened";
    frame(16); // the page fades in over 300 ms: the board behind it would still show
    EXPECT_EQ(quadsWith(gameTextures.squares[0]), 0) << "the emptied board is not drawn again";
    EXPECT_EQ(quadsWith(gameTextures.panel), 0) << "the panel does not come back behind the results";
    EXPECT_EQ(gameView.shakeMs, 800) << "the held-back shake does not play";

    // A defeat's page: the panel stays out behind it too.
    loadPicture("a-b");
    game.completeCountdownMs = 0;
    game.menuOpen = false;
    game.menuFadeMs = 0;
    game.defeatCountdownMs = 10;
    frame(16);
    ASSERT_EQ(game.defeatCountdownMs, -1);
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.panel), 0);
}

TEST_F(GameFrameTest, ABombsShakeJoltsTheBoardAndDiesAwayIn800Ms) {
    loadPicture("a");
    currentProfile().showHelp[0] = 0; // no help page over the first game
    game.barGoal = 20;                // a level still to be won
    game.barValue = 10;
    // The board's translation in the frame: the ball's draw carries it.
    auto jolt = [&] {
        for (const RecordedDraw& d : backend.draws) {
            if (d.states.texture == gameTextures.balls[0]->handle)
                return glm::vec2(d.transforms.world[3][0], d.transforms.world[3][1]);
        }
        ADD_FAILURE() << "no ball drawn";
        return glm::vec2(0.0f);
    };
    startShake(800, 1.5f);
    frame(16);
    EXPECT_EQ(gameView.shakeMs, 784);
    // The first jolt: a new direction of two values in -1..1, times 5 x (800 / 800) x 1.5.
    glm::vec2 first = jolt();
    EXPECT_GT(glm::length(first), 0.0f);
    EXPECT_FLOAT_EQ(first.x, gameView.joltX * 7.5f);
    EXPECT_FLOAT_EQ(first.y, gameView.joltY * 7.5f);
    for (int i = 0; i < 44; ++i) frame(16);
    // With 96 ms left before this frame the jolt has shrunk to 96 / 800 of its start.
    glm::vec2 late = jolt();
    EXPECT_NEAR(glm::length(late), glm::length(glm::vec2(gameView.joltX, gameView.joltY)) * 7.5f * 96 / 800,
                1e-4f);
    for (int i = 0; i < 15; ++i) frame(16);
    EXPECT_EQ(gameView.shakeMs, 0);
    frame(16);
    EXPECT_EQ(jolt(), glm::vec2(0.0f)) << "the shake has died away";
    // During the level-complete sequence the board does not shake.
    startShake(800, 1.0f);
    game.completeCountdownMs = 8000;
    frame(16);
    EXPECT_EQ(gameView.shakeMs, 800);
}

// A blast seen with flashes reduced: the bomb pops through the game's own presentation and the board
// keeps still; with the option off the same blast shakes it.
TEST_F(GameFrameTest, WithFlashesReducedABombsBlastDoesNotShakeTheBoard) {
    loadPicture("a");
    currentProfile().showHelp[0] = 0; // no help page over the first game
    liveRules.presentation = &gamePresentation;
    gamePresentation.output = &liveOutput;
    for (bool reduced : {true, false}) {
        comfort.reduceFlashes = reduced;
        gameView.shakeMs = 0;
        addRemovalEntry(liveRules, 5, 5, kTripleBomb, false);
        for (int i = 0; i < 20; ++i) frame(16); // past its pop
        EXPECT_EQ(gameView.shakeMs > 0, !reduced) << (reduced ? "reduced" : "full");
    }
    comfort.reduceFlashes = false;
    liveRules.presentation = &events;
}

// Quads drawn from the effect sheet (no picture is loaded for it in the tests).
int sheetQuads(const RecordingBackend& backend) {
    int quads = 0;
    for (const RecordedDraw& d : backend.draws) quads += d.states.texture == 0 ? d.primitiveCount / 2 : 0;
    return quads;
}

// Every sprite is drawn in the frame that made it; behind a menu the particles age on, but their sprites
// are dropped, so closing the menu does not draw a pile of stale ones at once.
TEST_F(GameFrameTest, ParticlesAreDrawnInTheirOwnFrameAndNoneSurvivesAMenu) {
    loadPicture("a");
    currentProfile().showHelp[0] = 0; // no help page over the first game
    std::string text = "effecttime=0\r\nparfrequency=20\r\npartime=100000\r\n";
    ASSERT_TRUE(addEffectDefinition("sparks", text));
    frame(16);
    int board = sheetQuads(backend);
    startEffect("sparks", 0, 0);
    frame(16);
    EXPECT_EQ(sheetQuads(backend) - board, 20) << "drawn in the frame that made them";
    EXPECT_EQ(particleSystem.drawList.size(), 0);
    game.menuOpen = true;
    for (int i = 0; i < 60; ++i) {
        frame(16);
        ASSERT_EQ(particleSystem.drawList.size(), 0) << "frame " << i;
    }
    game.menuOpen = false;
    game.menuFadeMs = 0;
    frame(16);
    EXPECT_EQ(sheetQuads(backend) - board, 20) << "only the live particles, once";
}

} // namespace
