#include "app/main_loop.h"
#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/recording_scene.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "app/window_messages.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/audio_capture.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "platform/audio_output.h"
#include "platform/headless.h"

namespace {

using Log = std::vector<std::string>;

AppEvent event(EventKind kind, int key = 0) {
    AppEvent e;
    e.kind = kind;
    e.key = key;
    return e;
}

struct MainLoop : testing::Test {
    void SetUp() override {
        installHeadlessPlatform();
        resetAppState();
        resetSceneManager();
        sceneManager.currentScene = &scene;
        // Each frame costs 16 ms of drawing; each update records the step it sees.
        scene.onDraw = [&] {
            headless.nowMs += 16;
            drawTimes.push_back(headless.nowMs);
        };
        scene.onUpdate = [&] {
            steps.push_back(app.frameTimeMs);
            if (static_cast<int>(steps.size()) == framesToRun) app.quitRequested = true;
        };
    }
    void TearDown() override {
        resetSceneManager();
        removeHeadlessPlatform();
    }
    Log log;
    RecordingScene scene{"s", &log};
    std::vector<float> steps;
    std::vector<uint32_t> drawTimes;
    int framesToRun = 10;
};

TEST_F(MainLoop, TimeSpentInactiveNeverReachesTheGame) {
    pushHeadlessEvent(event(EventKind::deactivate), 100);
    pushHeadlessEvent(event(EventKind::activate), 60100);
    framesToRun = 20;
    runMainLoop();

    // No frame ran while inactive; the loop slept in 200 ms steps meanwhile.
    for (uint32_t t : drawTimes) EXPECT_TRUE(t <= 112 || t > 60100) << "a frame at " << t;
    EXPECT_GE(headless.sleptMs, 59800u);
    EXPECT_EQ(headless.sleptMs, 200u * headless.sleeps);
    // Every step is one frame's real time; none carries the minute away.
    EXPECT_EQ(*std::max_element(steps.begin(), steps.end()), 16.0f);
    EXPECT_LE(app.runTimeMs, 20 * 16.0f);
}

TEST_F(MainLoop, AFrameThatStallsAddsOnlyAShortStepToTheGame) {
    // The fourth frame's drawing takes three seconds (a swap that blocks, a suspended machine).
    scene.onDraw = [&] {
        headless.nowMs += drawTimes.size() == 3 ? 3000 : 16;
        drawTimes.push_back(headless.nowMs);
    };
    framesToRun = 8;
    runMainLoop();
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps[2], 16.0f);
    EXPECT_LE(steps[3], 100.0f) << "a 300 ms page transition must still be drawn on its way";
    EXPECT_EQ(steps[4], 16.0f);
    EXPECT_LT(app.runTimeMs, 8 * 16.0f + 100);
}

TEST_F(MainLoop, InputBetweenTwoFramesReachesTheSceneBeforeTheNextUpdate) {
    framesToRun = 2;
    scene.onDraw = [&] { headless.nowMs += 16; };
    pushHeadlessEvent(event(EventKind::keyDown, 'Q'), 10);
    pushHeadlessEvent(event(EventKind::leftDown), 10);
    pushHeadlessEvent(event(EventKind::leftUp), 10);
    runMainLoop();
    EXPECT_EQ(log, (Log{"s.draw", "s.update", "s.key81", "s.leftDown", "s.leftUp", "s.draw", "s.update"}));
}

TEST_F(MainLoop, TheCloseRequestEndsTheLoopWithoutAnotherFrame) {
    framesToRun = 1000;
    pushHeadlessEvent(event(EventKind::close), 40);
    runMainLoop();
    EXPECT_TRUE(app.quitRequested);
    EXPECT_EQ(steps.size(), 3u); // frames drawn at 16, 32, 48 ms: the close came after the third
}

TEST_F(MainLoop, MouseMovesSetThePositionBeforeTheSceneHearsOfThem) {
    framesToRun = 1;
    AppEvent move = event(EventKind::mouseMove);
    move.x = -3;
    move.y = 599;
    pushHeadlessEvent(move);
    int seenX = 0, seenY = 0;
    struct Probe : RecordingScene {
        using RecordingScene::RecordingScene;
        void mouseMove() override {
            *x = app.mouseX;
            *y = app.mouseY;
        }
        int* x;
        int* y;
    } probe{"p", &log};
    probe.x = &seenX;
    probe.y = &seenY;
    probe.onUpdate = [] { app.quitRequested = true; };
    sceneManager.currentScene = &probe;
    runMainLoop();
    EXPECT_EQ(seenX, -3);
    EXPECT_EQ(seenY, 599);
}

TEST_F(MainLoop, LosingTheFocusDropsTheBoardsSelection) {
    game.selectedX = 3;
    game.selectedY = 4;
    handleAppEvent(event(EventKind::deactivate));
    EXPECT_FALSE(app.appActive);
    EXPECT_EQ(game.selectedX, -1);
    EXPECT_EQ(game.selectedY, -1);
    liveRules.game = GameState{};
}

// A window in the background is silent; back in front, the sound goes on where it stopped.
TEST_F(MainLoop, AnInactiveWindowIsSilentUntilItIsActiveAgain) {
    resetAudio();
    chooseAudioCapture(true);
    ASSERT_TRUE(initAudio(90, 90));
    PcmSound tone;
    tone.channels = 1;
    tone.rate = 44100;
    tone.samples.assign(4000, 16384);
    loadSampleFromPcm("tone.ogg", std::move(tone));
    playSound("tone.ogg");
    updateAudio();
    EXPECT_EQ(renderCapturedAudio(1000), 1000);
    handleAppEvent(event(EventKind::deactivate));
    EXPECT_EQ(renderCapturedAudio(1000), 0);
    handleAppEvent(event(EventKind::activate));
    resetAudioCapture();
    EXPECT_EQ(renderCapturedAudio(1000), 1000);
    EXPECT_GT(audioCapture.mix.at(2 * 500), 0.1f) << "the tone goes on";
    resetAudio();
    resetAudioCapture();
    chooseAudioCapture(false);
    liveRules.game = GameState{};
}

TEST_F(MainLoop, TheStartupRunsOnceAfterTheFrameThatAskedForIt) {
    StartupSteps kept = startupSteps;
    startupSteps.load = [] {}; // the loading itself needs the built data
    scene.onDraw = [&] { app.startupPending = true; };
    scene.onUpdate = [&] { app.quitRequested = true; };
    runMainLoop();
    EXPECT_EQ(log, (Log{"s.draw", "s.update"}));
    EXPECT_TRUE(app.startupDone);
    EXPECT_FALSE(app.startupPending);
    EXPECT_EQ(sceneManager.currentScene, &splashScene); // made current directly, without a switch
    startupSteps = kept;
}

} // namespace
