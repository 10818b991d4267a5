#include "player/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "player/player_folders.h"

namespace {

// Puts the current profile at a level of its mode with the given highest opened level.
void placeAt(int level, int highest) {
    setProfileLevel(level);
    Profile& p = currentProfile();
    p.openZone[p.profileMode] = highest / 5;
    p.openLevelInZone[p.profileMode] = highest % 5;
}

TEST(Profile, CreationRefusesEmptyTakenOrTooMany) {
    PlayerFolders folders;
    EXPECT_FALSE(createProfile(""));
    EXPECT_FALSE(createProfile("    ")); // a name of spaces names nobody
    ASSERT_TRUE(createProfile("Ann"));
    EXPECT_FALSE(createProfile("Ann"));
    EXPECT_TRUE(createProfile("ann")); // names compare exactly
    const Profile& p = currentProfile();
    EXPECT_STREQ(p.name, "ann");
    EXPECT_EQ(settings.currentProfileIndex, 1);
    EXPECT_EQ(p.profileMode, 1);
    for (int m = 0; m < kModeCount; ++m) {
        EXPECT_EQ(p.lives[m], 3);
        EXPECT_EQ(p.showHelp[m], 1);
        EXPECT_EQ(p.score[m], 0);
    }
    for (int i = 2; i < kMaxProfiles; ++i) ASSERT_TRUE(createProfile(std::string(1, char('A' + i)).c_str()));
    EXPECT_FALSE(createProfile("Ninth"));
    EXPECT_EQ(settings.profileCount, kMaxProfiles);
    EXPECT_FALSE(renameProfile(0, ""));
    EXPECT_FALSE(renameProfile(0, "  "));
    EXPECT_TRUE(renameProfile(0, "Anne"));
    EXPECT_STREQ(profiles.list[0].name, "Anne");
    // Saved games are kept by name: another player's name would share that player's games.
    EXPECT_FALSE(renameProfile(0, "ann"));
    EXPECT_STREQ(profiles.list[0].name, "Anne");
    EXPECT_FALSE(renameProfile(kMaxProfiles, "X"));
}

TEST(Profile, RemovalKeepsASensibleCurrentProfile) {
    PlayerFolders folders;
    removeProfile(0); // nothing to remove
    EXPECT_EQ(settings.profileCount, 0);
    for (const char* name : {"A", "B", "C", "D"}) createProfile(name);
    selectProfile(0);
    removeProfile(0); // the current one, first: the new first becomes current
    EXPECT_EQ(settings.currentProfileIndex, 0);
    EXPECT_STREQ(currentProfile().name, "B");
    selectProfile(2); // D
    removeProfile(0);
    EXPECT_STREQ(currentProfile().name, "D");
    EXPECT_EQ(settings.currentProfileIndex, 1);
    removeProfile(1); // current, not first: the one before it
    EXPECT_STREQ(currentProfile().name, "C");
    EXPECT_STREQ(profiles.list[1].name, "");
    removeProfile(0);
    EXPECT_EQ(settings.profileCount, 0);
    EXPECT_EQ(settings.currentProfileIndex, 0);
    EXPECT_STREQ(currentProfile().name, "");
}

TEST(Profile, AdvanceOpensTheNextLevelAndStepsZones) {
    PlayerFolders folders;
    createProfile("A");
    placeAt(7, 7);
    LevelAdvance a = advanceLevel();
    EXPECT_EQ(profileLevel(), 8);
    EXPECT_EQ(profileHighestLevel(), 8);
    EXPECT_FALSE(a.zoneCompleted);

    placeAt(9, 30); // an old level: the highest stays
    a = advanceLevel();
    EXPECT_TRUE(a.zoneCompleted);
    EXPECT_FALSE(a.modeCompleted);
    EXPECT_EQ(profileLevel(), 10);
    EXPECT_EQ(profileHighestLevel(), 30);

    placeAt(69, 69); // the fifth level of zone 13
    a = advanceLevel();
    EXPECT_EQ(profileHighestLevel(), 69);
    EXPECT_TRUE(a.zoneCompleted);
    EXPECT_TRUE(a.modeCompleted);
    EXPECT_EQ(profileLevel(), 0);
    EXPECT_EQ(currentProfile().zone[1], 0);
}

TEST(Profile, ProfilesFileRoundTripsAndKeepsEveryCompleteRecordWhateverTheCount) {
    PlayerFolders folders;
    createProfile("Ann");
    createProfile("Bob");
    addProfileScore(1234);
    currentProfile().tipShown[13] = 1;
    currentProfile().survivalLevel = 17;
    ASSERT_TRUE(saveProfiles());
    ProfileTable saved = profiles;
    int count = settings.profileCount;
    std::memset(&profiles, 0, sizeof(profiles));
    loadProfiles();
    EXPECT_EQ(settings.profileCount, count);
    EXPECT_EQ(std::memcmp(&profiles, &saved, sizeof(profiles)), 0);

    // The settings disagree with the file: the file's complete records count, a torn one does not.
    for (int claimed : {0, 1, 3, 8, -4, 1000}) {
        settings.profileCount = claimed;
        loadProfiles();
        EXPECT_EQ(settings.profileCount, 2) << claimed;
        EXPECT_EQ(std::memcmp(&profiles, &saved, sizeof(profiles)), 0) << claimed;
    }
    std::string file = folders.home.read(PlayerFolders::playerFile("profiles.dat"));
    folders.home.write(PlayerFolders::playerFile("profiles.dat"), file + file.substr(0, 100));
    loadProfiles();
    EXPECT_EQ(settings.profileCount, 2);
    EXPECT_STREQ(profiles.list[1].name, "Bob");
    EXPECT_STREQ(profiles.list[2].name, "");
    folders.home.write(PlayerFolders::playerFile("profiles.dat"), file.substr(0, 155));
    loadProfiles();
    EXPECT_EQ(settings.profileCount, 0);
}

TEST(Profile, ACrashBetweenTheSettingsAndTheProfilesKeepsEveryProfile) {
    PlayerFolders folders;
    app.startupDone = true;
    createProfile("Ann");
    createProfile("Bob");
    savePlayerData();
    createProfile("Cat");
    removeProfile(0);
    removeProfile(0);
    // The settings (one profile now) reach the disk, "profiles.dat" (Ann and Bob) is never replaced.
    fileRegistry.renameFile = [](const char* from, const char* to) {
        return std::strstr(to, "profiles.dat") ? -1 : std::rename(from, to);
    };
    savePlayerData();
    fileRegistry.renameFile = nullptr;
    resetSettings();
    resetProfiles();
    readSettings();
    ASSERT_EQ(settings.profileCount, 1);
    loadProfiles();
    ASSERT_EQ(settings.profileCount, 2);
    EXPECT_STREQ(profiles.list[0].name, "Ann");
    EXPECT_STREQ(profiles.list[1].name, "Bob");
}

TEST(Profile, SavedGamesGoWithTheirProfileAndARenameTakesNoOtherGame) {
    PlayerFolders folders;
    auto sav = [](const char* name, int mode) {
        return PlayerFolders::playerFile(std::string(name) + "_" + std::to_string(mode) + ".sav");
    };
    // Removing a profile deletes its saved games, and only its own.
    createProfile("Cat");
    createProfile("Dan");
    folders.home.write(sav("Cat", 0), "cat classic");
    folders.home.write(sav("Cat", 2), "cat action");
    folders.home.write(sav("Dan", 0), "dan classic");
    removeProfile(0);
    EXPECT_FALSE(folders.home.exists(sav("Cat", 0)));
    EXPECT_FALSE(folders.home.exists(sav("Cat", 2)));
    EXPECT_EQ(folders.home.read(sav("Dan", 0)), "dan classic");
    removeProfile(0);

    // Ann's puzzle game moves to her new name over a file left there by an older version.
    createProfile("Ann");
    currentProfile().savedGame[1] = 1;
    folders.home.write(sav("Ann", 1), "ann puzzle");
    folders.home.write(sav("Eve", 1), "left behind");
    ASSERT_TRUE(renameProfile(0, "Eve"));
    EXPECT_EQ(folders.home.read(sav("Eve", 1)), "ann puzzle");
    EXPECT_FALSE(folders.home.exists(sav("Ann", 1)));
    EXPECT_EQ(profiles.list[0].savedGame[1], 1);

    // Bob's action game cannot be moved: he has none afterwards, not the file waiting under his new name.
    createProfile("Bob");
    currentProfile().savedGame[2] = 1;
    currentProfile().savedGame[0] = 1;
    folders.home.write(sav("Bob", 2), "bob action");
    folders.home.write(sav("Fay", 2), "left behind");
    folders.home.write(sav("Fay", 0), "left behind");
    fileRegistry.renameFile = [](const char* from, const char* to) {
        return std::strstr(from, "_2.sav") ? -1 : std::rename(from, to);
    };
    ASSERT_TRUE(renameProfile(1, "Fay"));
    fileRegistry.renameFile = nullptr;
    EXPECT_EQ(profiles.list[1].savedGame[2], 0);
    EXPECT_EQ(profiles.list[1].savedGame[0], 0) << "Bob had no classic game to move";
    EXPECT_EQ(folders.home.read(sav("Fay", 2)), "left behind");
}

TEST(Profile, TamperedNamesStayInsideTheSettingsFolder) {
    PlayerFolders folders;
    Profile bad[2] = {};
    std::memset(bad[0].name, 'x', sizeof(bad[0].name)); // no terminating zero in the field
    std::memcpy(bad[1].name, "../../.bashrc\n\x01\\x", 18);
    bad[1].zone[1] = 1000;
    bad[1].openLevelInZone[1] = -4;
    bad[1].profileMode = 7;
    // Written as they are, then read back as from a file made elsewhere.
    profiles.list[0] = bad[0];
    profiles.list[1] = bad[1];
    settings.profileCount = 2;
    ASSERT_TRUE(saveProfiles());
    resetProfiles();
    settings.currentProfileIndex = 1;
    loadProfiles();
    ASSERT_EQ(settings.profileCount, 2);
    EXPECT_EQ(std::strlen(profiles.list[0].name), 31u);
    EXPECT_STREQ(profiles.list[1].name, ".._.._.bashrc___x");
    EXPECT_EQ(profiles.list[1].profileMode, 2);
    EXPECT_EQ(profiles.list[1].zone[1], kZoneCount - 1);
    EXPECT_EQ(profiles.list[1].openLevelInZone[1], 0);
    std::string path = savedGamePath(profiles.list[1], 1);
    EXPECT_EQ(path, settingsFolder() + ".._.._.bashrc___x_1.sav");
    // Even a name damaged in memory never yields a separator.
    std::memcpy(profiles.list[0].name, "a/b", 4);
    EXPECT_EQ(savedGamePath(profiles.list[0], 0), settingsFolder() + "a_b_0.sav");
    EXPECT_TRUE(createProfile("x/y"));
    EXPECT_STREQ(currentProfile().name, "x_y");
}

TEST(Profile, AccentedNamesHaveUtf8FileNamesOfTheirOwn) {
    PlayerFolders folders;
    Profile p = {};
    // An ASCII name keeps the file it always had.
    std::memcpy(p.name, "ADA7", 5);
    EXPECT_EQ(savedGamePath(p, 2), settingsFolder() + "ADA7_2.sav");
    // "Jürgen" in the game's code page is written as the desktop reads it, not as its own bytes.
    std::memcpy(p.name, "J\xFCrgen", 7);
    EXPECT_EQ(savedGamePath(p, 0), settingsFolder() + "J\xC3\xBCrgen_0.sav");
    // A byte without a character (only a damaged file holds one) cannot share the file of "?" or "_".
    std::memcpy(p.name, "a\x81", 3);
    std::string unused = savedGamePath(p, 0);
    EXPECT_EQ(unused, settingsFolder() + "a__0.sav");
    std::memcpy(p.name, "a?", 3);
    EXPECT_NE(savedGamePath(p, 0), unused);
    // A saved game made under an accented name is found again under it after a restart.
    EXPECT_TRUE(createProfile("Zo\xEB"));
    std::string path = savedGamePath(currentProfile(), 1);
    folders.home.write(PlayerFolders::playerFile("Zo\xC3\xAB_1.sav"), "game");
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

} // namespace
