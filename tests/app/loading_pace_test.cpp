#include <gtest/gtest.h>

#include <algorithm>

#include "app/splash_scene.h"
#include "app/startup.h"
#include "engine/app_state.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/headless.h"

namespace {

// A recording backend whose presents take presentCostMs of the headless clock (a large window under
// software OpenGL takes some 15 ms a frame).
struct TimedPresents : RecordingBackend {
    uint32_t presentCostMs = 0;
    void present(float gamma) override {
        RecordingBackend::present(gamma);
        headless.nowMs += presentCostMs;
    }
};

class LoadingPaceTest : public ::testing::Test {
  protected:
    TimedPresents backend;
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

TEST_F(LoadingPaceTest, DearFramesTakeAtMostAQuarterOfTheLoading) {
    backend.presentCostMs = 15;
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
}

TEST_F(LoadingPaceTest, TheFullViewPicturesAreDrawnWithoutBlendingAndTheGlowsWithIt) {
    resetTextures();
    splash.splash1 = createTexture("splash1.jpg", 800, 600, kFormatA8R8G8B8);
    splash.loadScreen = createTexture("loadscreen.jpg", 800, 600, kFormatA8R8G8B8);
    splash.loadBar = createTexture("loadbar.jpg", 310, 48, kFormatA8R8G8B8);
    auto drawsOf = [&](const Texture* t) {
        std::vector<RecordedDraw> found;
        for (const RecordedDraw& d : backend.draws)
            if (d.states.texture == t->handle) found.push_back(d);
        return found;
    };
    splash.bytesLoaded = 100;
    splash.expectedBytes = 200;
    onFileRegistered(100); // a loading frame: the load screen and its bar
    for (const Texture* t : {splash.loadScreen, splash.loadBar}) {
        std::vector<RecordedDraw> found = drawsOf(t);
        ASSERT_EQ(found.size(), 1u) << t->name;
        EXPECT_FALSE(found[0].states.alphaBlend) << t->name;
        EXPECT_FALSE(found[0].states.alphaTest) << t->name;
    }
    app.startupPending = false;
    backend.clearFrame();
    splashScene.draw(); // the splash picture
    flushBatch();
    ASSERT_EQ(drawsOf(splash.splash1).size(), 1u);
    EXPECT_FALSE(drawsOf(splash.splash1)[0].states.alphaBlend);

    // What follows them is blended as before: the press-any-key stage's glows.
    splash.splashTimeMs = 4000;
    splash.pressStarted = true;
    splash.pressTimeMs = 1000;
    backend.clearFrame();
    splashScene.draw();
    flushBatch();
    ASSERT_FALSE(backend.draws.empty());
    EXPECT_FALSE(backend.draws.front().states.alphaBlend) << "the load screen behind";
    EXPECT_TRUE(backend.draws.back().states.alphaBlend) << "the glows and the text over it";
    resetTextures();
}

// Data that outweighs the expected total fills the bar and stops there.
TEST_F(LoadingPaceTest, MoreBytesThanExpectedFillTheBarButNeverPassItsEnd) {
    resetTextures();
    splash.loadScreen = createTexture("loadscreen.jpg", 800, 600, kFormatA8R8G8B8);
    splash.loadBar = createTexture("loadbar.jpg", 310, 48, kFormatA8R8G8B8);
    splash.expectedBytes = 200;
    splash.bytesLoaded = 300;
    onFileRegistered(100);
    float right = -1000, rightU = -1;
    int bars = 0;
    for (const RecordedDraw& d : backend.draws) {
        if (d.states.texture != splash.loadBar->handle) continue;
        ++bars;
        for (int i = 0; i < d.vertexCount; ++i) {
            right = std::max(right, backend.coloredVertex(d, i).x);
            rightU = std::max(rightU, backend.coloredVertex(d, i).u);
        }
    }
    ASSERT_EQ(bars, 1);
    EXPECT_FLOAT_EQ(right, 6 - 155 + 310) << "the bar's right end";
    EXPECT_NEAR(rightU, 1.0f, 1.0f / 310) << "the picture's whole width, not its padding";
    EXPECT_LT(rightU, 1.0f);
    resetTextures();
}

TEST_F(LoadingPaceTest, TheFirstFileOfTheLoadingIsShownAtOnce) {
    headless.nowMs = 5; // however close to the clock's start
    onFileRegistered(10);
    EXPECT_EQ(backend.presents.size(), 1u);
    onFileRegistered(10);
    EXPECT_EQ(backend.presents.size(), 1u);
}

} // namespace
