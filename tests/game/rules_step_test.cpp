#include "game/rules_step.h"

#include <cstring>

#include "game/board_click.h"
#include "game/live_rules.h"
#include "game/new_balls.h"
#include "rules_fixture.h"

namespace {
class RulesStepTest : public RulesTest {
  protected:
    // Selects the first ball that can go somewhere and sends it to the farthest cell it can reach.
    void moveSomeBall() {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                if (kindAt(x, y) < 0 || liveRules.at(x, y).ball.chains > 0) continue;
                leftClickCell(liveRules, x, y);
                int bestX = -1;
                int bestY = -1;
                for (int tx = kPlayLeft; tx <= kPlayRight; ++tx) {
                    for (int ty = kPlayTop; ty <= kPlayBottom; ++ty) {
                        if (bestX < 0 ||
                            liveRules.at(tx, ty).pathDistance > liveRules.at(bestX, bestY).pathDistance) {
                            bestX = tx;
                            bestY = ty;
                        }
                    }
                }
                if (liveRules.at(bestX, bestY).pathDistance > 0) {
                    leftClickCell(liveRules, bestX, bestY);
                    return;
                }
                leftClickCell(liveRules, x, y); // walled in: deselect and try the next
            }
        }
    }

    // A short scripted game; returns a copy of the final board.
    Board play() {
        liveRules.random.seed(99);
        loadPicture("");
        game.levelIndex = 3;
        game.colourCount = 3;
        game.ballsPerTurn = 5;
        game.barGoal = game.barValue = 500;
        fillBoardAtStart(liveRules);
        setFrame(33);
        for (int round = 0; round < 30; ++round) {
            moveSomeBall();
            for (int f = 0; f < 40; ++f) rulesFrame(liveRules);
        }
        return liveRules.board;
    }
};

// The presentation hears the rules, but the board's course is the rules' own: a game told to a recorder
// ends the same as one told to nobody.
TEST_F(RulesStepTest, TheSameGameWithAndWithoutAPresentationEndsTheSame) {
    Board withRecorder = play();
    GameState stateWith = game;
    ASSERT_GT(events.count("selected"), 5) << "the recorder heard the game";
    SetUp();
    liveRules.presentation = nullptr;
    Board silent = play();
    EXPECT_EQ(std::memcmp(&withRecorder, &silent, sizeof(Board)), 0);
    EXPECT_EQ(stateWith.score, game.score);
    EXPECT_EQ(stateWith.movesMade, game.movesMade);
    EXPECT_EQ(stateWith.freeCells, game.freeCells);
    EXPECT_EQ(stateWith.combo, game.combo);
    EXPECT_EQ(stateWith.hammerCharge, game.hammerCharge);
    EXPECT_GT(game.movesMade, 5);
}

// The dips of the squares are the rules' own, made in their frame, so that the path search that waits for
// the scales runs on the same frames in the game and in the simulator.
TEST_F(RulesStepTest, TheSelectedBallDipsItsSquareOncePerHopAndNeverWhileTravelling) {
    loadPicture("a---");
    game.barGoal = game.barValue = 10;
    leftClickCell(liveRules, 5, 5);
    setFrame(1);
    int dips = 0;
    // 449 ms per hop: in 2245 ms of 1 ms frames the ball lands five times.
    for (int i = 0; i < 2245; ++i) {
        liveRules.at(5, 5).scale = 1;
        rulesFrame(liveRules);
        dips += liveRules.at(5, 5).scale < 1 ? 1 : 0;
    }
    EXPECT_EQ(dips, 5);
    // Travelling, the ball's square is not dipped by the hop; the square the ball passes over is.
    game.ballSpeed = 300; // two steps in 1341 ms
    leftClickCell(liveRules, 7, 5);
    ASSERT_NE(liveRules.at(5, 5).ball.moveTargetX, -1);
    dips = 0;
    bool dippedUnderTheBall = false;
    for (int i = 0; i < 1000; ++i) {
        liveRules.at(5, 5).scale = 1;
        liveRules.at(6, 5).scale = 1;
        rulesFrame(liveRules);
        dips += liveRules.at(5, 5).scale == kHopDipScale ? 1 : 0;
        dippedUnderTheBall |= liveRules.at(6, 5).scale == kTravelDipScale;
    }
    EXPECT_EQ(dips, 0);
    EXPECT_TRUE(dippedUnderTheBall);
}

TEST_F(RulesStepTest, LostSelectionIsDroppedAndThePausedBoardStandsStill) {
    loadPicture("a-\n");
    game.barValue = 10;
    game.selectedX = 6;
    game.selectedY = 5;
    rulesFrame(liveRules);
    EXPECT_EQ(game.selectedX, -1);
    setBall(6, 5, 1);
    liveRules.at(6, 5).ball.appearMs = 400;
    countFreeCells(liveRules);
    game.running = false;
    setFrame(600);
    rulesFrame(liveRules); // paused past the fade: the board stands still
    EXPECT_FLOAT_EQ(liveRules.at(6, 5).ball.appearMs, 400);
    game.running = true;
    rulesFrame(liveRules);
    EXPECT_FLOAT_EQ(liveRules.at(6, 5).ball.appearMs, 0);
}

TEST_F(RulesStepTest, PlayTimeRunsOnlyWhilePlaying) {
    loadPicture("a-\n");
    game.barValue = 10;
    setFrame(20);
    rulesFrame(liveRules);
    EXPECT_EQ(game.levelTimeMs, 20);
    game.cursorMode = kCursorHelp;
    rulesFrame(liveRules);
    EXPECT_EQ(game.levelTimeMs, 20);
}

TEST_F(RulesStepTest, BarStarsArriveAndShortenTheBar) {
    loadPicture("aaa-b\n");
    game.barGoal = 10;
    game.barValue = 10;
    game.levelIndex = 8;
    game.combo = 0;
    removalPass(liveRules, true); // combo 1: each piece takes 1 off
    setFrame(20);
    for (int i = 0; i < 300; ++i) rulesFrame(liveRules);
    EXPECT_FLOAT_EQ(game.barValue, 7);
}
} // namespace
