#include "app/scene_manager.h"

#include <gtest/gtest.h>

#include "app/frame.h"
#include "app/recording_scene.h"
#include "app/window_messages.h"
#include "engine/app_state.h"
#include "platform/headless.h"

namespace {

using Log = std::vector<std::string>;

struct SceneSwitch : testing::Test {
    void SetUp() override {
        installHeadlessPlatform();
        resetAppState();
        resetSceneManager();
        sceneManager.currentScene = &a;
    }
    void TearDown() override {
        resetSceneManager();
        removeHeadlessPlatform();
    }
    Log log;
    RecordingScene a{"a", &log}, b{"b", &log}, c{"c", &log};
};

TEST_F(SceneSwitch, OfTwoRequestsInOneFrameOnlyTheSecondIsEntered) {
    a.onDraw = [&] {
        requestScene(b);
        requestScene(c);
    };
    runFrame();
    EXPECT_EQ(log, (Log{"a.draw", "a.update", "a.leave", "c.enter"}));
    EXPECT_EQ(sceneManager.currentScene, &c);
    EXPECT_FALSE(sceneManager.switchPending);
}

TEST_F(SceneSwitch, RequestingTheCurrentSceneLeavesAndEntersIt) {
    a.onUpdate = [&] { requestScene(a); };
    runFrame();
    EXPECT_EQ(log, (Log{"a.draw", "a.update", "a.leave", "a.enter"}));
    EXPECT_EQ(sceneManager.currentScene, &a);
}

TEST_F(SceneSwitch, InputAfterARequestStillReachesTheOldSceneUntilTheFrameEnds) {
    // Input handlers run between frames: their request is carried out at the end of the next frame.
    requestScene(b);
    AppEvent key;
    key.kind = EventKind::keyDown;
    key.key = 'K';
    handleAppEvent(key);
    runFrame();
    handleAppEvent(key);
    EXPECT_EQ(log, (Log{"a.key75", "a.draw", "a.update", "a.leave", "b.enter", "b.key75"}));
}

TEST_F(SceneSwitch, RunTimeGrowsOnlyAfterTheSwitch) {
    struct Probe : RecordingScene {
        using RecordingScene::RecordingScene;
        void enter() override { runTimeAtEnter = app.runTimeMs; }
        float runTimeAtEnter = -1.0f;
    } probe{"p", &log};
    a.onDraw = [&] {
        requestScene(probe);
        headless.nowMs += 25; // the frame takes 25 ms
    };
    runFrame();
    EXPECT_EQ(probe.runTimeAtEnter, 0.0f);
    EXPECT_EQ(app.runTimeMs, 25.0f);
}

} // namespace
