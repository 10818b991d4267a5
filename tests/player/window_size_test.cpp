#include "player/window_size.h"

#include <gtest/gtest.h>

#include "player/player_folders.h"

namespace {

void expectSize(const WindowSize& s, int width, int height, bool maximised) {
    EXPECT_EQ(s.width, width);
    EXPECT_EQ(s.height, height);
    EXPECT_EQ(s.maximised, maximised);
}

TEST(WindowSizeFile, TheSizeComesBackInTheNextRunBesideTheSettings) {
    PlayerFolders folders;
    expectSize(readWindowSize(), 800, 600, false); // first run: the plain window
    saveWindowSize(WindowSize{1000, 700, false});
    expectSize(readWindowSize(), 1000, 700, false);
    saveWindowSize(WindowSize{1000, 700, true});
    expectSize(readWindowSize(), 1000, 700, true);
    EXPECT_EQ(folders.home.read("config/pebblecraft/window").size(), 12u);
    EXPECT_FALSE(folders.home.exists("config/pebblecraft/window.new"));
    // The settings value is a file of its own and is not written by this.
    EXPECT_FALSE(folders.home.exists(PlayerFolders::settingsFile()));
}

TEST(WindowSizeFile, ADamagedFileGivesAWindowThatFitsOnAScreen) {
    WindowSize s;
    uint8_t bytes[kWindowSizeBytes + 1] = {};
    EXPECT_FALSE(windowSizeFromBytes(bytes, kWindowSizeBytes - 1, s));
    expectSize(s, 800, 600, false);
    EXPECT_FALSE(windowSizeFromBytes(bytes, kWindowSizeBytes + 1, s));
    EXPECT_FALSE(windowSizeFromBytes(nullptr, 0, s));
    // A side no window had means the file is damaged: the plain window, not a mended size.
    windowSizeToBytes(WindowSize{-5, 2000000000, false}, bytes);
    EXPECT_FALSE(windowSizeFromBytes(bytes, kWindowSizeBytes, s));
    expectSize(s, 800, 600, false);
    windowSizeToBytes(WindowSize{0, 0, true}, bytes);
    EXPECT_FALSE(windowSizeFromBytes(bytes, kWindowSizeBytes, s));
    expectSize(s, 800, 600, false);
    windowSizeToBytes(WindowSize{1000, kMaxWindowSide + 1, true}, bytes);
    EXPECT_FALSE(windowSizeFromBytes(bytes, kWindowSizeBytes, s));
    expectSize(s, 800, 600, false);
    const uint8_t flipped[kWindowSizeBytes] = {0x84, 0x03, 0xfc, 0x00, 0xa8, 0x02,
                                               0x01, 0x00, 0x01, 0x9a, 0x00, 0x00};
    EXPECT_FALSE(windowSizeFromBytes(flipped, kWindowSizeBytes, s));
    expectSize(s, 800, 600, false);
    windowSizeToBytes(WindowSize{kMinWindowWidth, kMaxWindowSide, true}, bytes);
    EXPECT_TRUE(windowSizeFromBytes(bytes, kWindowSizeBytes, s));
    expectSize(s, kMinWindowWidth, kMaxWindowSide, true);
}

TEST(WindowSizeFile, AFailedSaveKeepsThePreviousSize) {
    PlayerFolders folders;
    saveWindowSize(WindowSize{1024, 768, false});
    fileRegistry.renameFile = [](const char*, const char*) { return -1; };
    saveWindowSize(WindowSize{640, 480, false});
    fileRegistry.renameFile = nullptr;
    expectSize(readWindowSize(), 1024, 768, false);
}

} // namespace
