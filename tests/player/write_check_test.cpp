#include "player/write_check.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "player/player_folders.h"

namespace {

TEST(PlayerWriteCheck, FoldersThatTakeAFileAreFineAndKeepNoTrace) {
    PlayerFolders folders;
    fileRegistry.failedWrites = 0;
    EXPECT_TRUE(checkPlayerFolders());
    EXPECT_FALSE(playerProgressUnsaved());
    EXPECT_FALSE(folders.home.exists("share/pebblecraft/settings/.write-check"));
    EXPECT_FALSE(folders.home.exists("config/pebblecraft/.write-check"));
}

TEST(PlayerWriteCheck, AFolderThatCannotBeMadeOrWrittenIsNoticed) {
    PlayerFolders folders;
    fileRegistry.failedWrites = 0;
    // The player data's folder lies below a plain file: nothing can ever be written there.
    folders.home.write("blocked", "a file, not a folder");
    setenv("XDG_DATA_HOME", (folders.home.path + "blocked/share").c_str(), 1);
    EXPECT_FALSE(checkPlayerFolders());
    EXPECT_TRUE(playerProgressUnsaved());
    fileRegistry.failedWrites = 0;
}

} // namespace
