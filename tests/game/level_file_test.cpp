#include "game/level_file.h"

#include <cstring>
#include <vector>

#include "engine/file_registry.h"
#include "game/live_rules.h"
#include "game/rules.h"
#include "platform/message_box.h"
#include "rules_fixture.h"

namespace {
class LevelFileTest : public RulesTest {
  protected:
    // Reads a level text the way a loaded file is read: the last byte gives way to the terminator.
    void read(const std::string& file) {
        bytes.assign(file.begin(), file.end());
        readLevelText(liveRules, std::string_view(bytes.data(), bytes.empty() ? 0 : bytes.size() - 1));
    }
    std::vector<char> bytes;
};

constexpr const char* kRows = "level=\r\n"
                              "....................\r\n"
                              ".0123456789abcdefgh.\r\n"
                              ".ABCDEFGH.XZ!:Iw-~y.\r\n";

TEST_F(LevelFileTest, LayoutCharactersMakeTheirCells) {
    read(std::string(kRows) + "\r\n");
    EXPECT_EQ(liveRules.at(5, 5).square, -1);
    EXPECT_EQ(liveRules.at(6, 6).square, 0);
    EXPECT_EQ(liveRules.at(15, 6).square, 9);
    EXPECT_EQ(liveRules.at(15, 6).ball.kind, kNoPiece);
    EXPECT_EQ(liveRules.at(16, 6).ball.kind, 0); // 'a'
    EXPECT_EQ(liveRules.at(23, 6).ball.kind, 7); // 'h'
    EXPECT_FLOAT_EQ(liveRules.at(16, 6).ball.appearMs, 500);
    EXPECT_EQ(liveRules.at(6, 7).ball.kind, 0); // 'A': chained on a square of two layers
    EXPECT_EQ(liveRules.at(6, 7).ball.chains, 1);
    EXPECT_EQ(liveRules.at(6, 7).square, 2);
    EXPECT_EQ(liveRules.at(15, 7).ball.kind, 0); // 'X'
    EXPECT_EQ(liveRules.at(16, 7).square, 1);    // 'Z'
    // Characters outside the table (and the skipped '!' and '~') make empty clean cells.
    for (int x : {17, 18, 19, 20}) {
        EXPECT_EQ(liveRules.at(x, 7).square, 0) << x;
        EXPECT_EQ(liveRules.at(x, 7).ball.kind, kNoPiece) << x;
    }
    EXPECT_FLOAT_EQ(liveRules.at(17, 7).ball.appearMs, -1);
    EXPECT_EQ(liveRules.at(21, 7).ball.kind, kNoPiece); // 'y' is no level character of its own
    EXPECT_EQ(liveRules.at(5, 8).square, -1);           // rows after the layout stay holes
}

TEST_F(LevelFileTest, SpacesBetweenCharactersReadTheSame) {
    read("level=\r\na b c\r\n");
    EXPECT_EQ(liveRules.at(5, 5).ball.kind, 0);
    EXPECT_EQ(liveRules.at(6, 5).ball.kind, 1);
    EXPECT_EQ(liveRules.at(7, 5).ball.kind, 2);
}

TEST_F(LevelFileTest, AnEmptyLineEndsTheLayout) {
    read("level=\r\n00000000000000000000\r\n\r\n00000000000000000000\r\n");
    EXPECT_EQ(liveRules.at(5, 5).square, 0);
    EXPECT_EQ(liveRules.at(5, 6).square, -1);
}

TEST_F(LevelFileTest, KeysAndTheirDefaults) {
    read("colors=6\r\naddballs=4\r\nballs4destroy=55.5\r\ntime4level=1.5\r\nlevel=\r\n0\r\n");
    EXPECT_EQ(game.colourCount, 6);
    EXPECT_EQ(game.ballsPerTurn, 4);
    EXPECT_FLOAT_EQ(game.barValue, 55.5f);
    EXPECT_EQ(game.timeLimitSec, 90);
    EXPECT_EQ(game.jokerFrequency, 20);
    EXPECT_TRUE(game.hammerEnabled);
    read("jockerfrequency=0\r\ntime4level=2\r\nlevel=\r\n0\r\n");
    EXPECT_EQ(game.jokerFrequency, 20);
    EXPECT_EQ(game.timeLimitSec, 120);
    read("time4level=2.5\r\njockerfrequency=1000000\r\nlevel=\r\n0\r\n");
    EXPECT_EQ(game.timeLimitSec, 150);
    EXPECT_EQ(game.jokerFrequency, 1000000);
}

TEST_F(LevelFileTest, HammerValueNoDisablesItExactly) {
    read("hammer=no\r\nlevel=\r\n0\r\n");
    EXPECT_FALSE(game.hammerEnabled);
    read("hammer=No\r\nlevel=\r\n0\r\n");
    EXPECT_TRUE(game.hammerEnabled);
}

TEST_F(LevelFileTest, BonusFigureIsStoredColumnByColumn) {
    read("level=\r\n0\r\n\r\nbonusfigure=\r\n1.2\r\n...\r\n..3\r\n");
    EXPECT_EQ(game.bonusFigure[0], 1);
    EXPECT_EQ(game.bonusFigure[6], 2); // column 2, row 0
    EXPECT_EQ(game.bonusFigure[8], 3);
    EXPECT_EQ(game.bonusFigure[1], -1);
}

TEST_F(LevelFileTest, ReadingNeverPassesTheEndOfTheText) {
    // The text ends in the middle of the grid and of a value; a heap copy lets the sanitizer see overreads.
    const char* cut[] = {"level=", "level=ab", "colors=", "bonusfigure=1.", "level=\r\n\r", ""};
    for (const char* text : cut) {
        std::vector<char> exact(text, text + std::strlen(text));
        readLevelText(liveRules, std::string_view(exact.data(), exact.size()));
    }
    read("level=ab\n");
    EXPECT_EQ(liveRules.at(5, 5).ball.kind, 0);
    EXPECT_EQ(liveRules.at(6, 5).ball.kind, 1);
    EXPECT_EQ(liveRules.at(7, 5).square, -1);
}

TEST_F(LevelFileTest, HelpBoardUsesItsOwnCharactersAndDemonstrationPoints) {
    auto demo = std::make_unique<Rules>(); // a demonstration board of its own
    demo->game.mode = kModeClassic;
    std::string text = "level=\r\nAbuvxyz.\r\n";
    readHelpText(*demo, std::string_view(text.data(), text.size() - 1), 2, 6);
    EXPECT_EQ(demo->at(5, 5).ball.kind, 6); // (6 + 0) mod 7
    EXPECT_EQ(demo->at(6, 5).ball.kind, 0); // (6 + 1) mod 7
    EXPECT_EQ(demo->at(7, 5).ball.kind, kTripleBomb);
    EXPECT_EQ(demo->at(5, 5).square, 0); // squares are cleared outside puzzle mode
    EXPECT_FLOAT_EQ(demo->at(5, 5).scale, 0.5f);
    EXPECT_EQ(demo->at(9, 5).square, -1); // X stays a hole
    EXPECT_TRUE(levelFiles.demoPointSet[2]);
    EXPECT_FLOAT_EQ(levelFiles.demoPoints[0].x, cellCentre(7, 5).x);
}
int gLevelExitCode = 0;

// A level file that gives no cell to play on is as unusable as a missing one: at start-up the game says
// which file and stops, instead of a level that is won before a move.
TEST_F(LevelFileTest, AFileWithoutALayoutStopsTheGameLikeAMissingOne) {
    resetMessageBoxes();
    messageBoxes.useWindow = false;
    messageBoxes.exitHook = [](int code) { gLevelExitCode = code; };
    const std::string damaged[] = {
        "",                                                           // empty
        "\n",                                                         // a line break alone
        "hammer=no\r\ncolors=5\r\nleve",                              // cut before the layout
        "hammer no\r\ncolors 5\r\nlevel\r\n0000aaaa\r\n",             // no "=" anywhere
        std::string("\x8f\x12\xff\x00\x41=\x3d\x7f garbage\r\n", 18), // bytes of something else
        "level=\r\n....................\r\n...\r\n",                  // a layout of holes only
    };
    for (const std::string& file : damaged) {
        resetFileRegistry();
        gLevelExitCode = 0;
        messageBoxes.shownCount = 0;
        std::vector<uint8_t> copy(file.begin(), file.end());
        copy.push_back(0); // as a file read from disk: a terminating byte after its data
        registerFile("levels/tut1_01.lvl", static_cast<int>(file.size()), copy.data(), false);
        EXPECT_FALSE(loadLevel(liveRules, 0)) << testing::PrintToString(file);
        EXPECT_EQ(gLevelExitCode, 1) << testing::PrintToString(file);
        EXPECT_EQ(messageBoxes.shownCount, 1);
        EXPECT_STREQ(messageBoxes.lastTitle, "Loading Error");
        EXPECT_STREQ(messageBoxes.lastText, "Can't load levels/tut1_01.lvl...\nProgram will now stop.");
    }
    // A layout cut after its first row still has cells to play on.
    resetFileRegistry();
    gLevelExitCode = 0;
    std::string cut = "colors=5\r\nlevel=\r\n00a0b0\r\n0000";
    registerFile("levels/tut1_01.lvl", static_cast<int>(cut.size()), reinterpret_cast<uint8_t*>(cut.data()),
                 false);
    EXPECT_TRUE(loadLevel(liveRules, 0));
    EXPECT_EQ(gLevelExitCode, 0);
    resetFileRegistry();
    resetMessageBoxes();
}

} // namespace
