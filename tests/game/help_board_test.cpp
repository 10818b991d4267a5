#include "game/help_board.h"

#include <cstring>
#include <memory>

#include "game/level_file.h"
#include "game/live_rules.h"
#include "game/player_link.h"
#include "game/rules.h"
#include "rules_fixture.h"

namespace {
class HelpBoardTest : public RulesTest {
  protected:
    std::unique_ptr<Rules> demoValue = std::make_unique<Rules>();
    Rules& demo = *demoValue; // the demonstration's own board and rules
    PresentationRecorder demoEvents;

    void SetUp() override {
        RulesTest::SetUp();
        demo.demonstration = true;
        demo.presentation = &demoEvents;
    }
    // A demonstration board from a help file's layout, its pieces already appeared.
    void loadHelp(const std::string& text) {
        readHelpText(demo, std::string_view(text.data(), text.size() - 1), 0, 0);
        for (Cell& cell : demo.board.cells) {
            if (cell.ball.kind != kNoPiece) cell.ball.appearMs = 0;
        }
    }
    void demonstrateMove(int sweeps = 40) {
        helpBoardClick(demo, 8, 5); // the piece at u
        helpBoardClick(demo, 7, 5);
        demo.frameMs = 50;
        for (int i = 0; i < sweeps; ++i) helpBoardSweep(demo);
    }
};

// The demonstration works on its own selection, route and count of free cells: a line it clears must not
// raise the game's count (a full board would then no longer lose), a move that clears nothing deals no
// balls (the game's next ball would change), and the player's selection stays.
TEST_F(HelpBoardTest, ADemonstrationLeavesTheGamesCountSelectionAndNextBallAlone) {
    loadPicture("ab-\n");
    game.ballsPerTurn = 3;
    game.selectedX = 5;
    game.selectedY = 5;
    const int freeCells = game.freeCells;
    const uint32_t nextBall = liveRules.random.state;

    loadHelp("level=\r\naa0u\r\n");
    demonstrateMove();
    ASSERT_EQ(demo.at(5, 5).ball.kind, kNoPiece) << "the demonstration cleared its line";
    EXPECT_TRUE(freeCellsAgree(demo));
    EXPECT_EQ(game.freeCells, freeCells);
    EXPECT_TRUE(freeCellsAgree(liveRules));
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(game.selectedY, 5);

    loadHelp("level=\r\nab0u\r\n");
    demonstrateMove();
    ASSERT_EQ(demo.at(7, 5).ball.kind, 0) << "the demonstration moved without a line";
    EXPECT_EQ(liveRules.random.state, nextBall);
    for (const Cell& cell : demo.board.cells) EXPECT_EQ(cell.pendingKind, kNoPiece);
    EXPECT_EQ(game.freeCells, freeCells);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(game.pathLength, 0);
}

TEST_F(HelpBoardTest, DemonstrationMoveClearsALineOnTheHelpBoardOnly) {
    loadPicture("abc\n"); // the game board
    Board gameBefore = liveRules.board;
    loadHelp("level=\r\naa0u\r\n");
    demonstrateMove(20);
    EXPECT_EQ(demo.at(5, 5).ball.kind, kNoPiece);
    EXPECT_EQ(demo.at(7, 5).ball.kind, kNoPiece);
    EXPECT_EQ(std::memcmp(&gameBefore, &liveRules.board, sizeof(Board)), 0);
    EXPECT_EQ(game.combo, 0); // the demonstration leaves the game's counters alone
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.movesMade, 0);
    EXPECT_EQ(game.landingX, -1);
    EXPECT_EQ(demo.game.movesMade, 0); // and a demonstration's move is no move of a level
    EXPECT_EQ(demo.game.landingX, -1);
}

// The help page opens over a running game, the demonstration clears a line, the page closes and the game
// runs on: the demonstration's pops happen while it runs, answered by its own presentation, and never
// score, send stars or raise anything in the game.
TEST_F(HelpBoardTest, DemonstrationRemovalsNeverReachTheRunningGame) {
    game.running = true;
    game.combo = 2;
    loadPicture("abc\n");
    for (bool pageOpen : {true, false}) { // the help page, then a tip balloon's demonstration
        SCOPED_TRACE(pageOpen);
        liveRules.helpPageOpen = pageOpen;
        loadHelp("level=\r\naa0u\r\n");
        events.clear();
        demoEvents.clear();
        demonstrateMove();
        EXPECT_EQ(demoEvents.count("popped"), 3); // the demonstration shows its own pops
        liveRules.helpPageOpen = false;
        for (int i = 0; i < 40; ++i) updateRemovalQueue(liveRules);
        EXPECT_TRUE(events.lines.empty()) << events.lines.front();
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(playerScore(liveRules), 0);
        int stars = 0;
        for (const BarStar& star : liveRules.stars.stars) stars += star.active ? 1 : 0;
        for (const BarStar& star : demo.stars.stars) stars += star.active ? 1 : 0;
        EXPECT_EQ(stars, 0);
        EXPECT_EQ(liveRules.removals.entries.size(), 0);
        EXPECT_EQ(demo.game.score, 0);
    }
}
} // namespace
