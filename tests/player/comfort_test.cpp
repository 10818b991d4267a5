#include "player/comfort.h"

#include <gtest/gtest.h>

#include "player/player_folders.h"

namespace {

TEST(ComfortFile, ReducedFlashesAreStoredBesideTheSettingsAndReadBack) {
    PlayerFolders folders;
    app.startupDone = true;
    readSettings();
    EXPECT_FALSE(comfort.reduceFlashes); // first run: the full effects
    comfort.reduceFlashes = true;
    savePlayerData(); // leaving the options page
    EXPECT_EQ(folders.home.read("config/pebblecraft/comfort"), std::string("\x01\x00\x00\x00", 4));
    EXPECT_FALSE(folders.home.exists("config/pebblecraft/comfort.new"));
    EXPECT_EQ(folders.home.read(PlayerFolders::settingsFile()).size(), 48u)
        << "the settings keep their layout";
    resetSettings();
    EXPECT_FALSE(comfort.reduceFlashes);
    readSettings(); // the next run
    EXPECT_TRUE(comfort.reduceFlashes);
    comfort.reduceFlashes = false;
    savePlayerData();
    readSettings();
    EXPECT_FALSE(comfort.reduceFlashes);
}

TEST(ComfortFile, ADamagedFileOrAFailedSaveNeverTurnsTheOptionOnOrLosesIt) {
    PlayerFolders folders;
    app.startupDone = true;
    for (size_t size : {3u, 5u}) {
        folders.home.write("config/pebblecraft/comfort", std::string(size, '\x01'));
        readSettings();
        EXPECT_FALSE(comfort.reduceFlashes) << size << " bytes";
    }
    comfort.reduceFlashes = true;
    savePlayerData();
    fileRegistry.renameFile = [](const char*, const char*) { return -1; };
    comfort.reduceFlashes = false;
    savePlayerData();
    fileRegistry.renameFile = nullptr;
    readSettings();
    EXPECT_TRUE(comfort.reduceFlashes) << "the previous file stands";
}

} // namespace
