#include "app/splash_scene.h"

#include <gtest/gtest.h>

#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "platform/events.h"

namespace {

struct Splash : testing::Test {
    void SetUp() override {
        resetAppState();
        resetSplash();
        resetSceneManager();
        resetAudio();
        sceneManager.currentScene = &splashScene;
    }
    void TearDown() override {
        resetSplash();
        resetSceneManager();
        resetAudio();
        resetAppState();
    }
    // One frame of the splash: its timers, then its update with the key received since the last frame.
    void frame(float ms, int key = 0) {
        advanceSplash(ms);
        if (key) splashScene.keyDown(key);
        splashScene.update();
    }
    // The main loop's start-up, once the splash asked for it (the loading itself is not needed here).
    void startUp() {
        ASSERT_TRUE(app.startupPending);
        app.startupPending = false;
        app.startupDone = true;
    }
};

TEST_F(Splash, AKeyEarlyInThePictureSkipsToItsLastHalfSecond) {
    frame(1000, kKeyReturn);
    EXPECT_FLOAT_EQ(splash.splashTimeMs, 3500);
    EXPECT_FLOAT_EQ(splash.fadeOutMs, 0) << "the key only shortens the picture";
    frame(400);
    EXPECT_FALSE(app.startupPending);
    frame(100);
    EXPECT_TRUE(app.startupPending);
}

TEST_F(Splash, AKeyInThePicturesLastHalfSecondStartsTheFadeOnceLoaded) {
    frame(3700, kKeyReturn); // the player pressed during the picture's own fade
    frame(300);
    startUp();
    frame(16); // the press-any-key stage begins, already fading
    EXPECT_TRUE(splash.pressStarted);
    EXPECT_GT(splash.fadeOutMs, 1);
    for (int i = 0; i < 60; ++i) frame(16);
    EXPECT_EQ(sceneManager.pendingScene, &mapScene) << "no second key is needed";
}

} // namespace
