#include "player/settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "player/player_folders.h"

namespace {

void expectDefaults() {
    EXPECT_EQ(settings.musicVolume, 90);
    EXPECT_EQ(settings.soundVolume, 90);
    EXPECT_TRUE(settings.fullScreen);
    EXPECT_FALSE(settings.customCursor);
    EXPECT_FLOAT_EQ(settings.ballSpeed, 70.0f);
    EXPECT_EQ(settings.profileCount, 0);
    EXPECT_EQ(settings.spareFlag, 1);
    EXPECT_EQ(settings.reserved, 0);
}

TEST(Settings, MissingOrWronglySizedValueGivesDefaults) {
    PlayerFolders folders;
    EXPECT_EQ(settings.musicVolume, 50); // before the value is read
    readSettings();
    expectDefaults();
    for (int size : {47, 49}) {
        resetSettings();
        folders.home.write(PlayerFolders::settingsFile(), std::string(size, '\x05'));
        readSettings();
        expectDefaults();
    }
}

TEST(Settings, ValueRoundTripsAndKeepsTheSpareFields) {
    PlayerFolders folders;
    app.startupDone = true;
    settings.musicVolume = 12;
    settings.soundVolume = 34;
    settings.customCursor = true;
    settings.fullScreen = false;
    settings.ballSpeed = 123.5f;
    settings.spareFlag = 0;
    settings.reserved = -559038737;
    createProfile("Ann");
    createProfile("Bob");
    selectProfile(0);
    savePlayerData();
    std::string bytes = folders.home.read(PlayerFolders::settingsFile());
    ASSERT_EQ(bytes.size(), 48u);
    int32_t width, speedBits;
    float speed = 123.5f;
    std::memcpy(&width, bytes.data() + 8, 4);
    std::memcpy(&speedBits, bytes.data() + 44, 4);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(std::memcmp(&speedBits, &speed, 4), 0);
    EXPECT_EQ(bytes[24], 0);
    EXPECT_EQ(bytes[25], 1);

    resetSettings();
    readSettings();
    EXPECT_EQ(settings.musicVolume, 12);
    EXPECT_EQ(settings.soundVolume, 34);
    EXPECT_TRUE(settings.customCursor);
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_FLOAT_EQ(settings.ballSpeed, 123.5f);
    EXPECT_EQ(settings.spareFlag, 0);
    EXPECT_EQ(settings.reserved, -559038737);
    EXPECT_EQ(settings.profileCount, 2);
    EXPECT_EQ(settings.currentProfileIndex, 0);
}

TEST(Settings, DamagedValuesAreBroughtIntoRange) {
    uint8_t bytes[kSettingsBytes] = {};
    Settings s;
    s.musicVolume = 500;
    s.profileCount = 40;
    s.currentProfileIndex = 9;
    s.ballSpeed = 1e30f;
    settingsToBytes(s, bytes);
    Settings back;
    ASSERT_TRUE(settingsFromBytes(bytes, sizeof(bytes), back));
    EXPECT_EQ(back.musicVolume, 99);
    EXPECT_EQ(back.profileCount, kMaxProfiles);
    EXPECT_EQ(back.currentProfileIndex, kMaxProfiles - 1);
    EXPECT_FLOAT_EQ(back.ballSpeed, 150.0f);
}

TEST(Settings, SavingWritesEveryFileOnlyAfterStartUp) {
    PlayerFolders folders;
    createProfile("Ann");
    savePlayerData();
    EXPECT_FALSE(folders.home.exists(PlayerFolders::settingsFile()));
    EXPECT_FALSE(folders.home.exists(PlayerFolders::playerFile("profiles.dat")));
    app.startupDone = true;
    savePlayerData();
    EXPECT_EQ(folders.home.read(PlayerFolders::settingsFile()).size(), 48u);
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("profiles.dat")).size(), 156u);
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("records.dat")).size(), 20160u);
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("hiscore.dat")).size(), 1080u);
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("mode3.dat")).size(), 7560u);
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("surrecs.dat")).size(), 13440u);
}

TEST(Settings, InterruptedSaveLeavesThePreviousFiles) {
    PlayerFolders folders;
    app.startupDone = true;
    createProfile("Ann");
    savePlayerData();
    std::string oldProfiles = folders.home.read(PlayerFolders::playerFile("profiles.dat"));
    std::string oldSettings = folders.home.read(PlayerFolders::settingsFile());
    createProfile("Bob");
    settings.musicVolume = 3;
    // The new files are written completely, but never take the old names.
    fileRegistry.renameFile = [](const char*, const char*) { return -1; };
    savePlayerData();
    fileRegistry.renameFile = nullptr;
    EXPECT_EQ(folders.home.read(PlayerFolders::playerFile("profiles.dat")), oldProfiles);
    EXPECT_EQ(folders.home.read(PlayerFolders::settingsFile()), oldSettings);
    EXPECT_FALSE(folders.home.exists(PlayerFolders::playerFile("profiles.dat.new")));
    resetSettings();
    readSettings();
    EXPECT_EQ(settings.musicVolume, 50); // the value saved before, not the 3 of the failed save
    EXPECT_EQ(settings.profileCount, 1);
    loadProfiles();
    EXPECT_STREQ(currentProfile().name, "Ann");
}

} // namespace
