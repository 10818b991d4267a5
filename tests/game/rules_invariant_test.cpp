// Thousands of random moves, hammer blows and frames; after every frame the board must stay consistent.
#include <random>

#include "game/board_click.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/new_balls.h"
#include "game/rules_step.h"
#include "rules_fixture.h"

namespace {
class RulesInvariantTest : public RulesTest {
  protected:
    std::mt19937 choices{12345};

    void freshBoard() {
        loadPicture("####----------------\n"
                    "###-----------------\n"
                    "------------####----\n");
        game.levelIndex = 10;
        game.mode = static_cast<int>(choices() % 3);
        game.colourCount = 4;
        game.jokerFrequency = 8;
        game.ballsPerTurn = 3;
        game.hammerEnabled = true;
        game.barGoal = 1e9f;
        game.barValue = 1e9f;
        game.completeCountdownMs = 0;
        game.defeatCountdownMs = 0;
        game.menuOpen = false;
        game.running = true;
        fillBoardAtStart(liveRules);
    }

    void checkBoard(int step) {
        int empty = 0;
        for (int x = 0; x < kBoardSize; ++x) {
            for (int y = 0; y < kBoardSize; ++y) {
                const Cell& cell = liveRules.at(x, y);
                if (cell.square == -1 || !isPlayCell(x, y)) {
                    ASSERT_EQ(cell.ball.kind, kNoPiece)
                        << "ball on a hole or margin at " << x << "," << y << " step " << step;
                }
                if (cell.square != -1 && cell.ball.kind == kNoPiece) ++empty;
            }
        }
        ASSERT_EQ(game.freeCells, empty) << "step " << step;
        ASSERT_LE(liveRules.removals.entries.size(), kMaxRemovalEntries);
    }

    bool randomCell(bool wantBall, int* x, int* y) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            int cx = kPlayLeft + static_cast<int>(choices() % 20);
            int cy = kPlayTop + static_cast<int>(choices() % 15);
            const Cell& cell = liveRules.at(cx, cy);
            if (cell.square == -1) continue;
            if ((cell.ball.kind != kNoPiece) == wantBall) {
                *x = cx;
                *y = cy;
                return true;
            }
        }
        return false;
    }
};

TEST_F(RulesInvariantTest, FreeCellsAndBoardStayConsistentOverThousandsOfMoves) {
    freshBoard();
    int moves = 0;
    int frames = 0;
    for (int step = 0; step < 4000; ++step) {
        if (game.menuOpen || game.completeCountdownMs < 0 || game.defeatCountdownMs < 0) freshBoard();
        int x = 0;
        int y = 0;
        if (game.hammerCharge >= 1 && choices() % 4 == 0) {
            clickHammerIcon(liveRules);
            if (randomCell(true, &x, &y)) leftClickCell(liveRules, x, y);
        } else if (randomCell(true, &x, &y)) {
            leftClickCell(liveRules, x, y);
            int tx = 0;
            int ty = 0;
            if (randomCell(false, &tx, &ty)) {
                leftClickCell(liveRules, tx, ty);
                ++moves;
            }
        }
        if (choices() % 50 == 0) leftClickCell(liveRules, 2, 2); // a margin click
        int run = 1 + static_cast<int>(choices() % 30);
        setFrame(static_cast<float>(10 + choices() % 60));
        for (int f = 0; f < run; ++f) {
            rulesFrame(liveRules);
            ++frames;
            checkBoard(step);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(moves, 1000);
    EXPECT_GT(frames, 10000);
}
} // namespace
