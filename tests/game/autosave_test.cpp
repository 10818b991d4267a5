#include "game/autosave.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "engine/file_registry.h"
#include "game/board_click.h"
#include "game/live_rules.h"
#include "game/rules_step.h"
#include "game/saved_game.h"
#include "player/player_folders.h"
#include "rules_fixture.h"

namespace {
// The player's files in a folder of their own; a level in play with the autosave of the game's frame.
class AutosaveTest : public RulesTest {
  protected:
    PlayerFolders folders;
    std::string file;

    void SetUp() override {
        RulesTest::SetUp(); // after the folders: the profile "tester" is made in them
        liveRules.autosave = Autosave{};
        ASSERT_TRUE(makeFolders(settingsFolder()));
        file = savedGamePath(currentProfile(), 0);
        game.barGoal = game.barValue = 40;
    }
    void frame() {
        rulesFrame(liveRules);
        autosaveFrame(liveRules, false);
    }
    // Frames until the condition holds; false after a minute of play.
    template <typename Condition> bool framesUntil(Condition done) {
        for (int i = 0; i < 3750; ++i) {
            if (done()) return true;
            frame();
        }
        return done();
    }
    int movesInFile() {
        std::vector<uint8_t> bytes;
        if (!readWholeFile(file, bytes) || bytes.size() != kSavedGameBytes) return -1;
        int32_t moves;
        std::memcpy(&moves, bytes.data() + 99343, 4);
        return moves;
    }
    void move(int x, int y, int tx, int ty) {
        leftClickCell(liveRules, x, y);
        leftClickCell(liveRules, tx, ty);
        ASSERT_TRUE(game.ballMoving || liveRules.at(x, y).ball.moveTargetX != -1);
    }
};

TEST_F(AutosaveTest, AMoveIsSavedOnceItsRemovalHasPoppedAndTheProfilesOfferItBack) {
    loadPicture("aa--a-b\n");
    move(9, 5, 7, 5); // three in a row: removed, popped, their stars fly to the bar
    ASSERT_TRUE(framesUntil([] { return game.movesMade == 1; }));
    EXPECT_FALSE(boardAtRest(liveRules));
    EXPECT_FALSE(std::filesystem::exists(file)) << "saved while the pieces were still popping";
    ASSERT_TRUE(framesUntil([] { return liveRules.autosave.saves == 1; }));
    EXPECT_TRUE(boardAtRest(liveRules));
    EXPECT_EQ(liveRules.removals.entries.size(), 0);
    EXPECT_EQ(movesInFile(), 1);
    EXPECT_EQ(kindAt(5, 5), kNoPiece);
    int score = game.score;
    EXPECT_GT(score, 0);

    // After a crash the next start finds the flag in the profiles and the level in the file.
    loadProfiles();
    EXPECT_EQ(currentProfile().savedGame[0], 1);
    liveRules.game = GameState{};
    liveRules.board = Rules{}.board;
    ASSERT_TRUE(readSavedGame(liveRules, file));
    EXPECT_EQ(game.movesMade, 1);
    EXPECT_EQ(game.score, score);
    EXPECT_EQ(kindAt(11, 5), 1);
}

TEST_F(AutosaveTest, QuickMovesAreSavedAtMostOnceASecond) {
    loadPicture("a-b-c-d-e\n");
    move(5, 5, 6, 5);
    ASSERT_TRUE(framesUntil([] { return liveRules.autosave.saves == 1; }));
    EXPECT_EQ(movesInFile(), 1);
    float sinceFirst = 0;
    move(7, 5, 8, 5);
    while (game.movesMade < 2 || !boardAtRest(liveRules)) {
        frame();
        sinceFirst += app.frameTimeMs;
        ASSERT_LT(sinceFirst, 60000);
    }
    ASSERT_LT(sinceFirst, kAutosaveIntervalMs) << "the second move must come within the second";
    EXPECT_EQ(movesInFile(), 1);
    while (sinceFirst < kAutosaveIntervalMs - 20) {
        frame();
        sinceFirst += app.frameTimeMs;
    }
    EXPECT_EQ(movesInFile(), 1) << "a second save within the second";
    ASSERT_TRUE(framesUntil([] { return liveRules.autosave.saves == 2; }));
    EXPECT_EQ(movesInFile(), 2);
    // Nothing more happens without a move.
    for (int i = 0; i < 200; ++i) frame();
    EXPECT_EQ(liveRules.autosave.saves, 2);
}

TEST_F(AutosaveTest, NothingIsSavedWhileTheLevelEnds) {
    loadPicture("a-b-c\n");
    move(5, 5, 6, 5);
    for (int i = 0; i < 3750 && game.movesMade == 0; ++i) rulesFrame(liveRules);
    ASSERT_EQ(game.movesMade, 1);
    game.defeatCountdownMs = 5000; // the defeat sequence runs
    for (int i = 0; i < 200; ++i) autosaveFrame(liveRules, false);
    EXPECT_EQ(liveRules.autosave.saves, 0);
    EXPECT_EQ(liveRules.autosave.failures, 0);
    EXPECT_FALSE(std::filesystem::exists(file));
}

} // namespace
