#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "game/live_rules.h"
#include "platform/message_window.h"

namespace {

int gExitCode = -1;

TEST(MessageBox, HeadlessBoxGoesToStandardErrorAndFatalExits) {
    resetMessageBoxes();
    messageBoxes.useWindow = false;
    messageBoxes.exitHook = [](int code) { gExitCode = code; };
    testing::internal::CaptureStderr();
    fatalError("Initialization failed", "Can't init OpenGL", 3);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Initialization failed: Can't init OpenGL\n");
    EXPECT_EQ(gExitCode, 3);
    EXPECT_EQ(messageBoxes.shownCount, 1);
    resetMessageBoxes();
}

TEST(MessageBoxDeathTest, FatalErrorEndsTheProcessWithItsCode) {
    resetMessageBoxes();
    messageBoxes.useWindow = false;
    EXPECT_EXIT(fatalError("Loading Error", "Can't load x...\nProgram will now stop.", 1),
                ::testing::ExitedWithCode(1), "Can't load x");
}

// What the fallbacks saw: the system box's tries (with or without the game's window) and the own window.
struct BoxLog {
    std::vector<bool> systemTries;  // true: tied to the game's window
    int systemAnswer[2] = {-1, -1}; // what SDL answers tied and untied
    std::string ownTitle, ownText;
    int ownShown = 0;
};
BoxLog gBoxes;

void fakeBoxes(SDL_Window* parent) {
    resetMessageBoxes();
    gBoxes = BoxLog{};
    messageBoxes.parent = parent;
    messageBoxes.systemBox = [](const char*, const char*, SDL_Window* tied) {
        gBoxes.systemTries.push_back(tied != nullptr);
        return gBoxes.systemAnswer[tied ? 0 : 1];
    };
    messageBoxes.ownWindow = [](const char* title, const char* text, uint32_t) {
        gBoxes.ownTitle = title;
        gBoxes.ownText = text;
        ++gBoxes.ownShown;
        return true;
    };
}

// A desktop without zenity or kdialog and without X11 core fonts: SDL shows no box at all, and the
// message is drawn in the game's own window, its line on standard error kept.
TEST(MessageBox, WhereSDLShowsNoBoxTheGameDrawsTheMessageItself) {
    SDL_Window* game = reinterpret_cast<SDL_Window*>(&gBoxes); // stands for the game's window
    fakeBoxes(game);
    testing::internal::CaptureStderr();
    showErrorBox("Loading Error", "Can't load menu.txt...\nProgram will now stop.");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Loading Error: Can't load menu.txt...\nProgram will now stop.\n");
    EXPECT_EQ(gBoxes.systemTries, (std::vector<bool>{true, false}));
    EXPECT_EQ(gBoxes.ownShown, 1);
    EXPECT_EQ(gBoxes.ownTitle, "Loading Error");
    EXPECT_EQ(gBoxes.ownText, "Can't load menu.txt...\nProgram will now stop.");

    // SDL's box untied from the window: shown, nothing drawn by the game.
    fakeBoxes(game);
    gBoxes.systemAnswer[1] = 0;
    showErrorBox("Loading Error", "x");
    EXPECT_EQ(gBoxes.systemTries, (std::vector<bool>{true, false}));
    EXPECT_EQ(gBoxes.ownShown, 0);
    // Tied and shown, or before the window exists: one try.
    fakeBoxes(game);
    gBoxes.systemAnswer[0] = 0;
    showErrorBox("Loading Error", "x");
    EXPECT_EQ(gBoxes.systemTries, (std::vector<bool>{true}));
    fakeBoxes(nullptr);
    showErrorBox("Loading Error", "x");
    EXPECT_EQ(gBoxes.systemTries, (std::vector<bool>{false}));
    EXPECT_EQ(gBoxes.ownShown, 1);
    resetMessageBoxes();
}

TEST(MessageWindow, TheTitleAndTheTextAreWrappedAtSpacesBelowEachOther) {
    MessageLayout layout;
    layoutMessage("Loading Error",
                  "Can't load levels/pack1_07.lvl...\nProgram will now stop. A line long enough to be "
                  "wrapped at a space before its fifty-sixth character.",
                  layout);
    std::vector<std::string> lines;
    for (const MessageLine& line : layout.lines) lines.push_back(line.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"Loading Error", "", "Can't load levels/pack1_07.lvl...",
                                               "Program will now stop. A line long enough to be wrapped",
                                               "at a space before its fifty-sixth character.", "",
                                               "(Press a key or click to close.)"}));
    EXPECT_EQ(layout.width, 2 * kMessageMargin + 55 * kMessageCharWidth);
    EXPECT_EQ(layout.height, 2 * kMessageMargin + 7 * kMessageLineHeight);
    std::string word(200, 'w');
    layoutMessage("t", word.c_str(), layout);
    EXPECT_EQ(std::string(layout.lines[2].text), std::string(kMessageColumns, 'w')) << "a long word is cut";
}

TEST(MessageWindow, TheLettersAreDrawnInInkOnPaper) {
    MessageLayout layout;
    layoutMessage("L", "", layout);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, layout.width, layout.height, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface, nullptr);
    drawMessage(surface, layout);
    auto pixel = [&](int x, int y) {
        return static_cast<uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x] & 0xFFFFFF;
    };
    uint32_t paper = pixel(0, 0);
    // "L": its left column is ink from top to bottom, its right column only in the last row.
    for (int row = 0; row < kMessageFontHeight; ++row) {
        EXPECT_NE(pixel(kMessageMargin, kMessageMargin + row * kMessageScale), paper) << row;
        EXPECT_EQ(pixel(kMessageMargin + 4 * kMessageScale, kMessageMargin + row * kMessageScale) != paper,
                  row == kMessageFontHeight - 1)
            << row;
    }
    SDL_FreeSurface(surface);
}

} // namespace
