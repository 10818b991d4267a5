#include "app/frame.h"

#include <gtest/gtest.h>

#include "app/recording_scene.h"
#include "app/scene_manager.h"
#include "engine/app_state.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "platform/headless.h"

namespace {

using Log = std::vector<std::string>;

struct OneFrame : testing::Test {
    void SetUp() override {
        installHeadlessPlatform();
        resetAppState();
        resetSceneManager();
        resetRender();
        createDisplay(&backend);
        sceneManager.currentScene = &scene;
    }
    void TearDown() override {
        resetRender();
        resetSceneManager();
        removeHeadlessPlatform();
    }
    RecordingBackend backend;
    Log log;
    RecordingScene scene{"s", &log};
};

TEST_F(OneFrame, DrawsOnAFreshDepthBufferThenPresentsThenUpdates) {
    size_t presentsSeenByDraw = 99, presentsSeenByUpdate = 99;
    scene.onDraw = [&] {
        presentsSeenByDraw = backend.presents.size();
        headless.nowMs += 20;
        // A draw that writes depths: the depth clear reaches the backend before it at the latest.
        setRenderState(kPresetDepthTest, true);
        setRenderState(kPresetDepthWrite, true);
        ColoredVertex triangle[3] = {};
        drawPrimitives(triangle, 1, kColoredFormat, kTriangleList);
    };
    scene.onUpdate = [&] { presentsSeenByUpdate = backend.presents.size(); };
    runFrame();
    ASSERT_FALSE(backend.clears.empty());
    ASSERT_FALSE(backend.draws.empty());
    EXPECT_LT(backend.clears[0].sequence, backend.draws[0].sequence);
    EXPECT_TRUE(backend.clears[0].depth);
    EXPECT_FALSE(backend.clears[0].color) << "each scene clears or covers the colour itself";
    EXPECT_EQ(backend.clears[0].z, 1.0f);
    EXPECT_EQ(presentsSeenByDraw, 0u);
    EXPECT_EQ(presentsSeenByUpdate, 1u);
    EXPECT_EQ(app.frameTimeMs, 20.0f) << "the update sees the time between the last two presents";
}

TEST_F(OneFrame, TheOverlayStartsEveryFramesTriangleCount) {
    scene.onDraw = [] {
        const ColoredVertex quad[4] = {};
        submitQuad(quad, true);
    };
    runFrame();
    EXPECT_EQ(render.triangleCount, 0);
}

TEST_F(OneFrame, AnInactiveWindowGetsNoFrameButASleep) {
    app.appActive = false;
    runFrame();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(headless.sleptMs, 200u);
    EXPECT_TRUE(backend.presents.empty());
}

} // namespace
