#include "platform/message_box.h"

#include <gtest/gtest.h>

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

} // namespace
