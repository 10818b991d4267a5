#include <gtest/gtest.h>

#include "app/splash_scene.h"
#include "app/startup.h"
#include "engine/app_state.h"
#include "engine/render.h"
#include "platform/headless.h"
#include "platform/recording_backend.h"

namespace {

class LoadingPaceTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        installHeadlessPlatform();
        resetAppState();
        resetRender();
        resetSplash();
        createDisplay(&backend);
        loadingPace = LoadingPace{};
        app.startupPending = true;
    }
    void TearDown() override {
        app.startupPending = false;
        resetRender();
        removeHeadlessPlatform();
    }
};

TEST_F(LoadingPaceTest, LoadingDrawsAtMostOneFramePerDisplayFrameAndNeverSleeps) {
    // 300 files, one every millisecond: 300 ms of loading at most shows 300 / 16 frames, plus the first.
    for (int i = 0; i < 300; i++) {
        onFileRegistered(100);
        headless.nowMs += 1;
    }
    EXPECT_EQ(splash.filesLoaded, 300) << "every file is counted, drawn or not";
    EXPECT_EQ(splash.bytesLoaded, 30000);
    EXPECT_EQ(static_cast<int>(backend.presents.size()), loadingPace.framesDrawn);
    EXPECT_GE(loadingPace.framesDrawn, 300 / static_cast<int>(kLoadingFrameMs));
    EXPECT_LE(loadingPace.framesDrawn, 300 / static_cast<int>(kLoadingFrameMs) + 1);
    EXPECT_EQ(headless.sleeps, 0);

    // A slow file (one that takes longer than a frame) is followed by a frame at once.
    int before = loadingPace.framesDrawn;
    headless.nowMs += 40;
    onFileRegistered(100);
    EXPECT_EQ(loadingPace.framesDrawn, before + 1);
}

// A backend whose frames cost 15 ms each, as a large window under software OpenGL does.
struct SlowPresents : RecordingBackend {
    void present(float gamma) override {
        RecordingBackend::present(gamma);
        headless.nowMs += 15;
    }
};

TEST(LoadingPaceOfDearFrames, DrawingTakesAtMostAQuarterOfTheLoading) {
    SlowPresents slow;
    installHeadlessPlatform();
    resetAppState();
    resetRender();
    resetSplash();
    createDisplay(&slow);
    loadingPace = LoadingPace{};
    app.startupPending = true;
    uint32_t start = headless.nowMs;
    for (int i = 0; i < 300; i++) { // 300 ms of loading work
        onFileRegistered(100);
        headless.nowMs += 1;
    }
    uint32_t drawing = static_cast<uint32_t>(loadingPace.framesDrawn) * 15;
    uint32_t total = headless.nowMs - start;
    EXPECT_EQ(splash.filesLoaded, 300);
    EXPECT_LE(drawing * kLoadingFrameShare, total + 15) << loadingPace.framesDrawn << " frames in " << total;
    EXPECT_GE(loadingPace.framesDrawn, 300 / (15 * static_cast<int>(kLoadingFrameShare)))
        << "the bar still moves";
    app.startupPending = false;
    resetRender();
    removeHeadlessPlatform();
}

TEST_F(LoadingPaceTest, TheFirstFileOfTheLoadingIsShownAtOnce) {
    headless.nowMs = 5; // however close to the clock's start
    onFileRegistered(10);
    EXPECT_EQ(backend.presents.size(), 1u);
    onFileRegistered(10);
    EXPECT_EQ(backend.presents.size(), 1u);
}

} // namespace
