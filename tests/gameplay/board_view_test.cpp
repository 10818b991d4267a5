#include "gameplay/board_view.h"

#include <cstring>

#include "game/live_rules.h"
#include "game/path_search.h"
#include "gameplay_fixture.h"

namespace {

class BoardViewTest : public GameplayTest {
  protected:
    void frame(float ms) {
        setFrame(ms);
        gameView.animClock += ms;
        drawBoard(liveRules);
        flush();
    }
};

TEST_F(BoardViewTest, AFullBoardDrawsInFewDrawCalls) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            liveRules.at(x, y).square = (x + y) % 3;
            setBall(x, y, (x * 7 + y) % 8);
        }
    }
    setBall(6, 6, kJoker);
    setBall(7, 7, kTripleBomb);
    setBall(8, 8, kDiamond);
    setBall(9, 9, kQuadroBomb);
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.shadow), kPlayCells);
    EXPECT_EQ(quadsWith(gameTextures.squares[0]) + quadsWith(gameTextures.squares[1]) +
                  quadsWith(gameTextures.squares[2]),
              kPlayCells);
    EXPECT_LT(backend.draws.size(), 40u);
}

// The rules read the scales (the path search waits for them) and the selection: the drawing of a hopping
// ball, a travelling ball with its trail and a stale selection changes neither the board nor the state.
TEST_F(BoardViewTest, DrawingChangesNothingTheRulesRead) {
    loadPicture("a--b");
    game.selectedX = 5;
    game.selectedY = 5;
    computePathDistances(liveRules);
    Ball& travelling = liveRules.at(8, 5).ball;
    travelling.moveTargetX = 6;
    travelling.moveTargetY = 5;
    travelling.moveTimeLeftMs = 5000;
    travelling.offsetX = -40; // over cell (7, 5)
    game.moveDurationMs = 5000;
    for (int i = 0; i < 600; ++i) {
        Board board = liveRules.board;
        GameState state = game;
        game.hopClockMs += 1; // the rules' clock of the hop, as their frame advances it
        state.hopClockMs = game.hopClockMs;
        frame(1);
        ASSERT_EQ(std::memcmp(&board, &liveRules.board, sizeof(Board)), 0) << "frame " << i;
        ASSERT_EQ(std::memcmp(&state, &game, sizeof(GameState)), 0) << "frame " << i;
        if (i == 300) game.selectedX = 6, game.selectedY = 5; // an empty cell: a stale selection
    }
    EXPECT_GT(liveQuickParticles(), 0) << "a travelling ball leaves a trail";
}

TEST_F(BoardViewTest, BusySquaresGlowAsOneWaveWhenMoreThanFive) {
    auto glowQuads = [&](int busy, float pulseMs) {
        loadPicture("");
        for (int i = 0; i < busy; ++i) {
            liveRules.at(5 + i, 19).square = 1;
            liveRules.at(5 + i, 19).pulseMs = pulseMs;
        }
        backend.clearFrame();
        frame(0);
        return quadsWith(gameTextures.squareGlow[0]);
    };
    // Argument 0.003 p + 0.005 d; the cells of the bottom row lie 45 to 245 units from the lower left
    // corner, so with p = 0 some of them are near the sine's crest but before the wave's period: five
    // squares pulse on their own, six wait for the wave, which reaches them one period later.
    EXPECT_GT(glowQuads(5, 0), 0);
    EXPECT_EQ(glowQuads(6, 0), 0);
    EXPECT_GT(glowQuads(6, 2094.4f), 0);
}

TEST_F(BoardViewTest, BreakUpDrawsTilesOnlyForExistingCells) {
    loadPicture("---\n"
                "-#-",
                kPlayLeft, kPlayTop, true);
    prepareBreakUp(4);
    game.completeCountdownMs = 7000;
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.squares[0]), 5);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 0) << "no piece is drawn during the break-up";
    game.completeCountdownMs = 1400;
    backend.clearFrame();
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.squares[0]), 0) << "below 1500 ms nothing of the board";
}

TEST_F(BoardViewTest, PausedOrDefeatedBoardFades) {
    loadPicture("a");
    game.pauseMs = 600;
    frame(16);
    EXPECT_EQ(quadsWith(gameTextures.shadow), 0) << "past 500 ms of the pause the board is not drawn";
    game.pauseMs = 250;
    backend.clearFrame();
    frame(16);
    ASSERT_EQ(quadsWith(gameTextures.balls[0]), 1);
    // Find the ball's vertices: half transparent.
    for (const RecordedDraw& d : backend.draws) {
        if (d.states.texture != gameTextures.balls[0]->handle) continue;
        EXPECT_NEAR(backend.coloredVertex(d, 0).color >> 24, 127, 1);
    }
    game.pauseMs = 0;
    game.defeatCountdownMs = 2500;
    backend.clearFrame();
    frame(16);
    int balls = 0;
    for (const RecordedDraw& d : backend.draws) {
        if (d.states.texture != gameTextures.balls[0]->handle) continue;
        uint32_t c = backend.coloredVertex(d, 0).color;
        EXPECT_EQ((c >> 16) & 0xFF, 51u) << "red at 0.2";
        EXPECT_EQ((c >> 8) & 0xFF, 255u) << "green kept";
        ++balls;
    }
    EXPECT_EQ(balls, 1) << "the defeated board still draws its ball";
}

TEST_F(BoardViewTest, PathPreviewMarksTheRouteFromTheMouseToTheBall) {
    loadPicture("a---");
    game.selectedX = 5;
    game.selectedY = 5;
    computePathDistances(liveRules);
    mouseOnCell(8, 5);
    frame(16);
    // Three cells from the mouse back to the ball: target, straight, beside the ball.
    int sheetQuads = 0;
    for (const RecordedDraw& d : backend.draws)
        sheetQuads += d.states.texture == 0 ? d.primitiveCount / 2 : 0;
    EXPECT_EQ(sheetQuads, 3);
}

} // namespace
