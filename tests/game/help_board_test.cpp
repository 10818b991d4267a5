#include "game/help_board.h"

#include <cstring>

#include "game/level_file.h"
#include "game/player_link.h"
#include "rules_fixture.h"

namespace {
class HelpBoardTest : public RulesTest {
  protected:
    // A demonstration board from a help file's layout, its pieces already appeared.
    static void loadHelp(const std::string& text) {
        currentBoard = &helpBoard;
        readHelpText(std::string_view(text.data(), text.size() - 1), 0, 0);
        currentBoard = &gameBoard;
        for (Cell& cell : helpBoard.cells) {
            if (cell.ball.kind != kNoPiece) cell.ball.appearMs = 0;
        }
    }
    static void demonstrateMove() {
        helpBoardClick(8, 5); // the piece at u
        helpBoardClick(7, 5);
        setFrame(50);
        for (int i = 0; i < 40; ++i) helpBoardSweep();
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
    const uint32_t nextBall = rulesRandom.state;

    loadHelp("level=\r\naa0u\r\n");
    demonstrateMove();
    ASSERT_EQ(helpBoard.cells[5 * 30 + 5].ball.kind, kNoPiece) << "the demonstration cleared its line";
    EXPECT_EQ(game.freeCells, freeCells);
    EXPECT_TRUE(freeCellsAgree());
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(game.selectedY, 5);

    loadHelp("level=\r\nab0u\r\n");
    demonstrateMove();
    ASSERT_EQ(helpBoard.cells[7 * 30 + 5].ball.kind, 0) << "the demonstration moved without a line";
    EXPECT_EQ(rulesRandom.state, nextBall);
    for (const Cell& cell : helpBoard.cells) EXPECT_EQ(cell.pendingKind, kNoPiece);
    EXPECT_EQ(game.freeCells, freeCells);
    EXPECT_EQ(game.selectedX, 5);
    EXPECT_EQ(game.pathLength, 0);
}

TEST_F(HelpBoardTest, DemonstrationMoveClearsALineOnTheHelpBoardOnly) {
    loadPicture("abc\n"); // the game board
    Board gameBefore = gameBoard;
    currentBoard = &helpBoard;
    std::string text = "level=\r\naa0u\r\n";
    readHelpText(std::string_view(text.data(), text.size() - 1), 0, 0);
    currentBoard = &gameBoard;
    for (int x = 5; x <= 8; ++x) helpBoard.cells[x * 30 + 5].ball.appearMs = 0;

    helpBoardClick(8, 5); // the piece at u (colour 0)
    helpBoardClick(7, 5);
    setFrame(50);
    for (int i = 0; i < 20; ++i) helpBoardSweep();
    EXPECT_EQ(helpBoard.cells[5 * 30 + 5].ball.kind, kNoPiece);
    EXPECT_EQ(helpBoard.cells[7 * 30 + 5].ball.kind, kNoPiece);
    EXPECT_EQ(std::memcmp(&gameBefore, &gameBoard, sizeof(Board)), 0);
    EXPECT_EQ(currentBoard, &gameBoard);
    EXPECT_FALSE(helpBoardActive);
    EXPECT_EQ(game.combo, 0); // the demonstration leaves the game's counters alone
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.movesMade, 0);
    EXPECT_EQ(game.landingX, -1);
}

// The help page opens over a running game, the demonstration clears a line, the page closes and the game
// runs on: the demonstration's pops happen while it runs and never score, send stars or raise numbers in
// the game (once the page with its effects is gone, nothing of the demonstration may appear over the board).
TEST_F(HelpBoardTest, DemonstrationRemovalsNeverReachTheRunningGame) {
    game.running = true;
    game.combo = 2;
    loadPicture("abc\n");
    currentBoard = &helpBoard;
    std::string text = "level=\r\naa0u\r\n";
    readHelpText(std::string_view(text.data(), text.size() - 1), 0, 0);
    currentBoard = &gameBoard;
    for (int x = 5; x <= 8; ++x) helpBoard.cells[x * 30 + 5].ball.appearMs = 0;

    for (bool pageOpen : {true, false}) { // the help page, then a tip balloon's demonstration
        SCOPED_TRACE(pageOpen);
        helpBoardActive = pageOpen;
        events.clear();
        helpBoardClick(8, 5);
        helpBoardClick(7, 5);
        setFrame(50);
        for (int i = 0; i < 40; ++i) helpBoardSweep();
        EXPECT_EQ(events.count("effect ball1"), 3); // the demonstration shows its own pops
        helpBoardActive = false;
        events.clear();
        for (int i = 0; i < 40; ++i) updateRemovalQueue();
        EXPECT_FALSE(events.has("effect")) << events.lines.size();
        EXPECT_FALSE(events.has("sound"));
        EXPECT_EQ(game.score, 0);
        EXPECT_EQ(playerScore(), 0);
        int stars = 0;
        for (const BarStar& star : barStars.stars) stars += star.active ? 1 : 0;
        EXPECT_EQ(stars, 0);
        EXPECT_EQ(removalQueue.count, 0);
        // The next cycle: the same line once more.
        currentBoard = &helpBoard;
        readHelpText(std::string_view(text.data(), text.size() - 1), 0, 0);
        currentBoard = &gameBoard;
        for (int x = 5; x <= 8; ++x) helpBoard.cells[x * 30 + 5].ball.appearMs = 0;
    }
}
} // namespace
