#include "platform/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/temp_folder.h"

namespace {

// A prefix laid out as a build folder or an installation: the program itself need not exist, only its folder.
struct DataFolderLookup : testing::Test {
    TempFolder root;
    std::string canonical(const std::string& name) {
        return std::filesystem::canonical(root.path + name).string() + "/";
    }
    void makeFolder(const std::string& name) { std::filesystem::create_directories(root.path + name); }
};

TEST_F(DataFolderLookup, AnInstalledGameFindsTheDataOfItsPrefixFromGamesOrBin) {
    makeFolder("usr/share/pebblecraft/Data");
    makeFolder("usr/games");
    makeFolder("usr/bin");
    const std::string expected = canonical("usr/share/pebblecraft/Data");
    EXPECT_EQ(findDataFolder(root.path + "usr/games/pebblecraft"), expected);
    EXPECT_EQ(findDataFolder(root.path + "usr/bin/pebblecraft"), expected);
    // Absolute and free of "..": the game changes into it and still prefixes its paths with it.
    EXPECT_EQ(expected.find(".."), std::string::npos);
    EXPECT_EQ(expected.front(), '/');
}

TEST_F(DataFolderLookup, TheDataBesideTheProgramComesBeforeAnInstalledOne) {
    makeFolder("build/Data");
    makeFolder("share/pebblecraft/Data");
    EXPECT_EQ(findDataFolder(root.path + "build/pebblecraft"), canonical("build/Data"));
}

TEST_F(DataFolderLookup, NoDataFolderAndNoFolderInThePathGiveNothing) {
    makeFolder("games");
    root.write("games/Data", "a file, not a folder");
    EXPECT_EQ(findDataFolder(root.path + "games/pebblecraft"), "");
    EXPECT_EQ(findDataFolder("pebblecraft"), "");
    EXPECT_EQ(findDataFolder(""), "");
}

} // namespace
