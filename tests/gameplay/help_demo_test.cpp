#include "gameplay/help_demo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "game/level_file.h"
#include "game/live_rules.h"
#include "game/presentation_recorder.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "gameplay/game_presentation.h"
#include "gameplay/live_output.h"
#include "output_recorder.h"
#include "platform/folders.h"

namespace {

std::vector<Point> clicks;
void recordClick(float x, float y) {
    clicks.push_back({x, y});
}

class HelpDemoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        levelFiles.missingIsFatal = false;
        resetHelpDemo();
        helpDemo.click = recordClick;
        clicks.clear();
    }
    void TearDown() override {
        stopDemo();
        resetHelpDemo();
        levelFiles.missingIsFatal = true;
    }
    // Runs the demonstration in frames of ms until a cycle has ended; returns the clicks it made.
    int clicksInOneCycle(float ms) {
        int cycle = helpDemo.demoCycle;
        int guard = 0;
        while (helpDemo.demoCycle == cycle && guard++ < 100000) advanceDemo(ms);
        return static_cast<int>(clicks.size());
    }
};

TEST_F(HelpDemoTest, PlainBallCyclesThroughHelpLevelsFiveToEight) {
    startDemo(0);
    EXPECT_TRUE(helpDemo.demoRunning);
    EXPECT_EQ(helpDemo.helpLevel, 5);
    EXPECT_EQ(helpDemo.demoColour, 0);
    clicksInOneCycle(16);
    EXPECT_EQ(helpDemo.helpLevel, 6);
    EXPECT_EQ(helpDemo.demoColour, 1);
    EXPECT_EQ(helpDemo.demoStep, 0);
    EXPECT_FLOAT_EQ(helpDemo.demoTime, 0);
    for (int i = 0; i < 3; i++) clicksInOneCycle(16);
    EXPECT_EQ(helpDemo.helpLevel, 5); // after the fourth cycle, back to the first
    EXPECT_EQ(helpDemo.demoColour, 4);
    EXPECT_EQ(helpLevelFor(3, 2), 3);
}

TEST_F(HelpDemoTest, SpecialPieceMakesOneClickFewer) {
    startDemo(0);
    int plain = clicksInOneCycle(16);
    EXPECT_EQ(plain, 5);
    clicks.clear();
    startDemo(2);
    EXPECT_EQ(helpDemo.helpLevel, 1);
    int special = clicksInOneCycle(16);
    EXPECT_EQ(special, plain - 1);
}

TEST_F(HelpDemoTest, LongFramesStillClickAtEveryStop) {
    startDemo(0);
    EXPECT_EQ(clicksInOneCycle(2000), 5);
}

TEST_F(HelpDemoTest, CursorPressesAndEasesBetweenStops) {
    startDemo(0);
    helpDemo.stops[1] = {0, 0};
    helpDemo.stops[2] = {100, 0};
    advanceDemo(1600); // into step 1
    ASSERT_EQ(helpDemo.demoStep, 1);
    advanceDemo(0); // u = 100 / 1500: pressed, barely moved
    EXPECT_LT(helpDemo.cursorScale, 1.0f);
    EXPECT_LT(helpDemo.cursor.x, 5.0f);
    advanceDemo(650);
    advanceDemo(0); // u = 0.5: halfway
    EXPECT_NEAR(helpDemo.cursor.x, 50.0f, 0.5f);
    EXPECT_FLOAT_EQ(helpDemo.cursorScale, 1.0f);
}

// The drawn pointer (its arrow reaches 30 units right of and 44 below its tip) stays inside the frame of
// the board at every stop of every help level, so it never covers the text round the demonstration.
TEST_F(HelpDemoTest, ThePointerStaysInsideTheBoardsFrameAtEveryStop) {
    std::string previous = dataFolder();
    setDataFolder(std::string(PC_SOURCE_DIR) + "/data/"); // the help levels as the game has them
    for (int variant = 0; variant <= 4; ++variant) {
        startDemo(variant);
        for (int cycle = 0; cycle < 4; ++cycle) {
            ASSERT_EQ(helpDemo.demoCycle, cycle);
            DemoFrame f = demoFrame(100, 50);
            EXPECT_GT(f.right - f.left, 100.0f) << "a board of cells";
            for (const Point& stop : helpDemo.stops) {
                Point tip = demoPoint(100, 50, stop);
                EXPECT_GE(tip.x, f.left) << variant << " " << cycle;
                EXPECT_LE(tip.y, f.top) << variant << " " << cycle;
                EXPECT_LE(tip.x + 30, f.right) << variant << " " << cycle;
                EXPECT_GE(tip.y - 44, f.bottom) << variant << " " << cycle;
            }
            clicksInOneCycle(50);
        }
        stopDemo();
    }
    setDataFolder(previous);
}

} // namespace

namespace {

// A demonstration runs on a board and rules of its own beside the live game, as a tip balloon's picture
// does over a level in play: every variant, bombs and diamonds included, clears its pieces while the live
// game's board, free-cell count, score, next ball, removal queue and presentation stay exactly as they
// were. On the help page the demonstration may only be heard.
TEST_F(HelpDemoTest, ADemonstrationBesideTheLiveGameLeavesItUntouched) {
    std::string previous = dataFolder();
    setDataFolder(std::string(PC_SOURCE_DIR) + "/data/");
    resetHelpDemo(); // the demonstration's own clicks on its board
    liveRules = Rules{};
    PresentationRecorder liveEvents;
    liveRules.presentation = &liveEvents;
    OutputRecorder heard; // what the game plays and shows
    gamePresentation.output = &heard;
    for (int x = kPlayLeft; x <= kPlayRight; ++x)
        for (int y = kPlayTop; y <= kPlayBottom; ++y) liveRules.at(x, y).square = 0;
    liveRules.at(6, 7).ball.kind = 2;
    liveRules.at(9, 9).ball.kind = kTripleBomb;
    countFreeCells(liveRules);
    const int freeCells = liveRules.game.freeCells;
    const Board before = liveRules.board;
    const uint32_t nextBall = liveRules.random.state;

    for (bool byTip : {true, false}) {
        for (int variant = 0; variant <= 4; ++variant) {
            SCOPED_TRACE(testing::Message()
                         << "variant " << variant << (byTip ? " in a balloon" : " on the page"));
            startDemo(variant);
            helpDemo.startedByTip = byTip;
            int removals = 0;
            for (int frame = 0; frame < 1300; ++frame) {
                stepDemoBoard(8);
                advanceDemo(8);
                updateRemovalQueue(liveRules); // the live game's frame beside it
                removals += helpDemoRules.removals.entries.size() > 0 ? 1 : 0;
            }
            EXPECT_GT(removals, 0) << "the demonstration cleared pieces";
            EXPECT_EQ(liveRules.game.freeCells, freeCells);
            EXPECT_TRUE(freeCellsAgree(liveRules));
            EXPECT_EQ(std::memcmp(&before, &liveRules.board, sizeof(Board)), 0);
            EXPECT_EQ(liveRules.game.score, 0);
            EXPECT_EQ(liveRules.game.selectedX, -1);
            EXPECT_EQ(liveRules.random.state, nextBall);
            EXPECT_EQ(liveRules.removals.entries.size(), 0);
            for (const std::string& line : liveEvents.lines) ADD_FAILURE() << "the live game had " << line;
            for (const std::string& line : heard.lines) {
                if (byTip || line.rfind("sound ", 0) != 0) ADD_FAILURE() << "the live game showed " << line;
            }
            if (!byTip) {
                EXPECT_GT(heard.count("sound "), 0) << "the page's demonstration is heard";
            }
            liveEvents.lines.clear();
            heard.lines.clear();
            stopDemo();
        }
    }
    liveRules = Rules{};
    gamePresentation.output = &liveOutput;
    setDataFolder(previous);
}

} // namespace
