#include "game/help_board.h"

#include <cstring>

#include "game/level_file.h"
#include "rules_fixture.h"

namespace {
class HelpBoardTest : public RulesTest {};

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
} // namespace
