#include "player/records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/random.h"
#include "player/player_folders.h"

namespace {

// A high-score table from (name, score) lines, falling.
void setTable(int mode, std::initializer_list<std::pair<const char*, int>> lines) {
    int k = 0;
    std::memset(records.hiscores[mode], 0, sizeof(records.hiscores[mode]));
    for (const auto& [name, score] : lines) {
        std::strcpy(records.hiscores[mode][k].name, name);
        records.hiscores[mode][k++].score = score;
    }
}

std::string tableText(int mode) {
    std::string out;
    for (const HiscoreEntry& e : records.hiscores[mode]) {
        out += std::string(e.name) + ":" + std::to_string(e.score) + " ";
    }
    return out;
}

class HiscoreTest : public ::testing::Test {
  protected:
    PlayerFolders folders;
    void SetUp() override {
        createProfile("Me");
        setTable(1, {{"A", 900},
                     {"B", 800},
                     {"C", 700},
                     {"D", 600},
                     {"E", 500},
                     {"F", 400},
                     {"G", 300},
                     {"H", 200},
                     {"I", 100},
                     {"J", 50}});
    }
    void enter(int score) {
        currentProfile().score[1] = score;
        enterHighScore(1);
    }
};

TEST_F(HiscoreTest, EqualScoreGoesBelowTheListedOne) {
    enter(700);
    EXPECT_EQ(tableText(1), "A:900 B:800 C:700 Me:700 D:600 E:500 F:400 G:300 H:200 I:100 ");
}

TEST_F(HiscoreTest, PlayerMovesUpAndKeepsOneLine) {
    std::strcpy(records.hiscores[1][2].name, "Me"); // Me:700 on line 2
    enter(850);
    EXPECT_EQ(tableText(1), "A:900 Me:850 B:800 D:600 E:500 F:400 G:300 H:200 I:100 J:50 ");
}

TEST_F(HiscoreTest, PlayerAlreadyHigherIsNotEnteredAgain) {
    std::strcpy(records.hiscores[1][0].name, "Me");
    enter(850);
    EXPECT_EQ(tableText(1), "Me:900 B:800 C:700 D:600 E:500 F:400 G:300 H:200 I:100 J:50 ");
    enter(50); // not above any line
    EXPECT_EQ(tableText(1), "Me:900 B:800 C:700 D:600 E:500 F:400 G:300 H:200 I:100 J:50 ");
    EXPECT_EQ(records.hiscores[0][0].score, 0); // other modes untouched
}

TEST_F(HiscoreTest, LowerOwnEntryBelowMovesUpFromThere) {
    std::strcpy(records.hiscores[1][8].name, "Me"); // Me:100
    enter(1000);
    EXPECT_EQ(tableText(1), "Me:1000 A:900 B:800 C:700 D:600 E:500 F:400 G:300 H:200 J:50 ");
}

TEST(Records, DefaultsComeFromTheTextTables) {
    PlayerFolders folders;
    folders.home.write("Data/hi_normal.txt",
                       "combo5=7\r\nscore5=1000\r\ntime5=2.5\r\nmove5=25\r\nscore1=30\r\n");
    folders.home.write("Data/hi_expert.txt", "time1=1.3\r\n");
    std::string names;
    for (int i = 1; i <= 10; ++i)
        names += "defname" + std::to_string(i) + "=Name" + std::to_string(i) + "\r\n";
    parseTextTable(names.data(), static_cast<int>(names.size()));
    rulesRandom.seed(1);
    loadRecords();
    const LevelRecord& r = records.levels[1][4];
    EXPECT_EQ(r.bestTimeMs, 340000);
    EXPECT_EQ(r.bestScore, 666);
    EXPECT_EQ(r.fewestMoves, 37);
    EXPECT_EQ(r.bestCombo, 7);
    EXPECT_EQ(records.levels[0][0].bestTimeMs, 2 * 90000);
    EXPECT_EQ(records.levels[2][3].bestScore, 0); // missing key, missing file
    EXPECT_EQ(std::strncmp(r.comboName, "Name", 4), 0);
    EXPECT_EQ(fileRegistry.entries.size(), 0); // the default tables are released

    // High scores fall from the sum of the mode's default best scores (666 + 20).
    for (int k = 0; k < kHiscoreLines; ++k) {
        EXPECT_EQ(records.hiscores[1][k].score, ((686 - k * 686 / 10) * 2) / 300 * 100);
        EXPECT_STREQ(records.hiscores[1][k].name, ("Name" + std::to_string(k + 1)).c_str());
    }
    EXPECT_EQ(records.hiscores[1][0].score, 400);

    // Level times by band, and the survival score holders taken from them.
    for (int level : {0, 5, 20, 69}) {
        int c0 = level <= 3 ? 25000 : level <= 9 ? 50000 : level <= 24 ? 150000 : 240000;
        for (int c = 0; c < 3; ++c) EXPECT_GE(records.levelTimes[level][c].timeMs, c0);
        EXPECT_EQ(std::strncmp(records.levelTimes[level][0].name, "Name", 4), 0);
        EXPECT_EQ(records.survival[1][level].bestScore, records.levelTimes[level][0].timeMs);
        EXPECT_STREQ(records.survival[1][level].scoreName, records.levelTimes[level][0].name);
        EXPECT_GE(records.survival[0][level].fewestMoves, 50);
        EXPECT_LE(records.survival[0][level].fewestMoves, 89);
        EXPECT_EQ(records.survival[0][level].bestTimeMs, 0);
    }
    EXPECT_LE(records.levelTimes[69][2].timeMs, 2 * 150000 + 7 * 10000 + 240000);
    EXPECT_GE(records.survival[0][10].bestCombo, 2);
    EXPECT_LE(records.survival[0][10].bestCombo, 4);

    // The same seed builds the same defaults.
    RecordTables first = records;
    rulesRandom.seed(1);
    loadRecords();
    EXPECT_EQ(std::memcmp(&first, &records, sizeof(records)), 0);
}

TEST(Records, FilesRoundTripAndWrongSizesMeanDefaults) {
    PlayerFolders folders;
    loadRecords();
    createProfile("Winner");
    updateLevelRecord(2, 10, 5000, 4, 61000, 30);
    records.hiscores[0][3].score = 77;
    records.levelTimes[5][1].timeMs = 123;
    records.survival[1][6].bestCombo = 99;
    ASSERT_TRUE(saveRecords());
    RecordTables saved = records;
    resetRecords();
    loadRecords();
    EXPECT_EQ(std::memcmp(&saved, &records, sizeof(records)), 0);
    EXPECT_STREQ(records.levels[2][10].scoreName, "Winner");

    std::string hiscore = folders.home.read(PlayerFolders::playerFile("hiscore.dat"));
    folders.home.write(PlayerFolders::playerFile("hiscore.dat"), hiscore + "x");
    folders.home.write(PlayerFolders::playerFile("mode3.dat"), "short");
    loadRecords();
    EXPECT_EQ(records.hiscores[0][3].score, 0); // built again: no default table, no scores
    int t = records.levelTimes[5][1].timeMs;    // 30000 + g * 10000 + 50000, g in 0..2
    EXPECT_TRUE(t == 80000 || t == 90000 || t == 100000) << t;
    EXPECT_EQ(records.levels[2][10].bestScore, 5000); // a good file is still read
}

TEST(Records, WonLevelImprovesOnlyBetterResults) {
    PlayerFolders folders;
    createProfile("A twelve chr");
    LevelRecord& r = records.levels[0][3];
    r.bestScore = 100;
    r.bestCombo = 5;
    r.bestTimeMs = 60000;
    r.fewestMoves = 40;
    std::strcpy(r.scoreName, "Old");
    updateLevelRecord(0, 3, 100, 6, 60000, 39);
    EXPECT_STREQ(r.scoreName, "Old"); // equal is not better
    EXPECT_STREQ(r.comboName, "A twelve chr");
    EXPECT_STREQ(r.timeName, "");
    EXPECT_STREQ(r.movesName, "A twelve chr");
    EXPECT_EQ(r.fewestMoves, 39);
    records.levels[0][4].bestTimeMs = 0; // never set: any time is a record
    updateLevelRecord(0, 4, 0, 0, 90000, 10);
    EXPECT_EQ(records.levels[0][4].bestTimeMs, 90000);
    // A long name read from disk is cut to the record's field.
    std::memset(currentProfile().name, 'n', 31);
    updateLevelRecord(0, 5, 1, 0, 0, 0);
    EXPECT_EQ(std::strlen(records.levels[0][5].scoreName), 19u);
}

TEST(Records, GameDataBuildsCompleteDefaults) {
    PlayerFolders folders;
    setDataFolder(std::string(PC_SOURCE_DIR) + "/data");
    for (const char* table : {"2strings.txt", "2tips.txt", "2menutext.txt"}) loadTextTable(table);
    ASSERT_NE(findText("defname1"), nullptr);
    EXPECT_STREQ(textAt(indexOfText("defname1") + 9), findText("defname10"));
    loadRecords();
    for (int m = 0; m < kModeCount; ++m) {
        for (int level = 0; level < kLevelCount; ++level) {
            const LevelRecord& r = records.levels[m][level];
            EXPECT_GT(r.bestTimeMs, 0) << m << " " << level;
            EXPECT_GT(r.bestScore, 0) << m << " " << level;
            EXPECT_GT(std::strlen(r.timeName), 0u);
        }
        EXPECT_GT(records.hiscores[m][9].score, 0);
    }
}

} // namespace
