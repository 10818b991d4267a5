#include <gtest/gtest.h>

#include <cstring>

#include "app/frame.h"
#include "engine/app_state.h"

namespace {

struct FrameClock : testing::Test {
    void SetUp() override {
        resetAppState();
        app.lastFrameClock = now;
    }
    void frame(uint32_t ms) {
        now += ms;
        advanceFrameClock(now);
    }
    uint32_t now = 5000;
};

TEST_F(FrameClock, SixteenMillisecondFramesGiveTheFirstReadingAfterNineteenFrames) {
    for (int i = 0; i < 18; ++i) frame(16);
    EXPECT_STREQ(app.fpsText, "") << "no reading before 300 ms have passed";
    frame(16);
    EXPECT_STREQ(app.fpsText, "62.5 FPS");
    EXPECT_EQ(app.fpsAccumMs, 4u);
    EXPECT_EQ(app.fpsFrames, 0);
}

TEST_F(FrameClock, TheSurplusCountsTowardsTheNextReading) {
    for (int i = 0; i < 19; ++i) frame(16);
    // 4 ms carried: after 18 more frames 292 ms, after 19 308 ms.
    for (int i = 0; i < 18; ++i) frame(16);
    EXPECT_STREQ(app.fpsText, "62.5 FPS");
    frame(16);
    EXPECT_STREQ(app.fpsText, "61.7 FPS"); // 19 frames in 308 ms
    EXPECT_EQ(app.fpsAccumMs, 8u);
}

TEST_F(FrameClock, ExactlyThreeHundredMillisecondsIsNotYetAReading) {
    for (int i = 0; i < 3; ++i) frame(100);
    EXPECT_STREQ(app.fpsText, "");
    frame(1);
    EXPECT_STREQ(app.fpsText, "13.3 FPS"); // 4 frames in 301 ms
}

TEST_F(FrameClock, TheStepIsTheTimeBetweenTheLastTwoReadings) {
    frame(16);
    frame(40);
    EXPECT_EQ(app.frameDeltaMs, 40u);
    EXPECT_EQ(app.frameTimeMs, 40.0f);
    EXPECT_EQ(app.lastFrameClock, now);
}

TEST_F(FrameClock, AStallIsAShortPauseForTheGameButCountsForTheFrameRate) {
    frame(16);
    frame(5000); // the machine was suspended, or the disk was slow
    // A page's 300 ms transition still needs several drawn frames, a level's clock does not jump.
    EXPECT_GT(app.frameTimeMs, 16.0f);
    EXPECT_LE(app.frameTimeMs, 300.0f / 3);
    EXPECT_EQ(static_cast<float>(app.frameDeltaMs), app.frameTimeMs);
    EXPECT_STREQ(app.fpsText, "0.4 FPS"); // 2 frames in 5016 ms
    frame(16);
    EXPECT_EQ(app.frameTimeMs, 16.0f);
}

TEST_F(FrameClock, TheClocksWrapIsHarmless) {
    app.lastFrameClock = 0xFFFFFFF0u;
    advanceFrameClock(0x10u);
    EXPECT_EQ(app.frameDeltaMs, 32u);
    EXPECT_EQ(app.frameTimeMs, 32.0f);
}

TEST_F(FrameClock, RestartingDropsTheTimeBefore) {
    frame(16);
    restartFrameClock(now + 60000);
    EXPECT_EQ(app.frameTimeMs, 0.0f);
    EXPECT_EQ(app.frameDeltaMs, 0u);
    now += 60000;
    frame(20);
    EXPECT_EQ(app.frameTimeMs, 20.0f);
}

} // namespace
