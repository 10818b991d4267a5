// Player files the game wrote before their layouts were described as field lists (tests/player/fixtures:
// a first player after three moves of a classic level): each loads and is written back byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "player/comfort.h"
#include "player/player_folders.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

namespace {
const std::string kFixtures = std::string(PC_SOURCE_DIR) + "/tests/player/fixtures/";

std::string fixture(const std::string& name) {
    std::ifstream in(kFixtures + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class PlayerFileFixturesTest : public ::testing::Test {
  protected:
    PlayerFolders folders;

    void SetUp() override {
        for (const char* name : {"profiles.dat", "records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
            folders.home.write(PlayerFolders::playerFile(name), fixture(name));
        folders.home.write(PlayerFolders::settingsFile(), fixture("settings"));
        folders.home.write("config/pebblecraft/comfort", fixture("comfort"));
    }
};

TEST_F(PlayerFileFixturesTest, EveryFileLoadsAndIsWrittenBackByteForByte) {
    readSettings();
    loadProfiles();
    loadRecords();
    EXPECT_EQ(settings.musicVolume, 50);
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_EQ(settings.profileCount, 1);
    EXPECT_STREQ(currentProfile().name, "ADA");
    EXPECT_EQ(currentProfile().classicChosen, 1);
    EXPECT_EQ(currentProfile().savedGame[0], 1);
    EXPECT_EQ(currentProfile().lives[0], 3);
    ASSERT_GT(std::strlen(records.hiscores[0][0].name), 0u);
    ASSERT_GT(records.levelTimes[69][2].timeMs, 0);
    // Written over the loaded files: nothing may change.
    for (const char* name : {"profiles.dat", "records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
        std::remove((folders.home.path + PlayerFolders::playerFile(name)).c_str());
    std::remove((folders.home.path + PlayerFolders::settingsFile()).c_str());
    app.startupDone = true;
    savePlayerData();
    for (const char* name : {"profiles.dat", "records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
        EXPECT_EQ(folders.home.read(PlayerFolders::playerFile(name)), fixture(name)) << name;
    EXPECT_EQ(folders.home.read(PlayerFolders::settingsFile()), fixture("settings"));
    EXPECT_EQ(folders.home.read("config/pebblecraft/comfort"), fixture("comfort"));
}

TEST_F(PlayerFileFixturesTest, TornProfilesAndShortTablesKeepWhatIsWhole) {
    // A profile cut short after the first whole one, and a high-score table a byte short.
    std::string profiles = fixture("profiles.dat");
    folders.home.write(PlayerFolders::playerFile("profiles.dat"), profiles + profiles.substr(0, 100));
    std::string hiscores = fixture("hiscore.dat");
    folders.home.write(PlayerFolders::playerFile("hiscore.dat"), hiscores.substr(0, hiscores.size() - 1));
    loadProfiles();
    loadRecords();
    EXPECT_EQ(settings.profileCount, 1);
    EXPECT_STREQ(currentProfile().name, "ADA");
    // The short table is not taken: it is rebuilt from the defaults (none here, so no names at all).
    EXPECT_EQ(records.hiscores[0][0].name[0], 0);
    EXPECT_GT(records.levels[0][0].bestScore, 0);
}

} // namespace
