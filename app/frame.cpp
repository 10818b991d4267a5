#include "app/frame.h"

#include <cstdio>

#include "app/scene.h"
#include "app/scene_manager.h"
#include "engine/app_state.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace {

constexpr uint32_t kFpsPeriodMs = 300; // a frame-rate reading at least this often

} // namespace

void advanceFrameClock(uint32_t nowMs) {
    // Unsigned subtraction: the 49-day wrap of the clock gives the right difference.
    app.frameDeltaMs = nowMs - app.lastFrameClock;
    app.lastFrameClock = nowMs;

    app.fpsAccumMs += app.frameDeltaMs;
    app.fpsFrames += 1;
    if (app.fpsAccumMs > kFpsPeriodMs) {
        double fps = 1000.0 / app.fpsAccumMs * app.fpsFrames;
        std::snprintf(app.fpsText, sizeof app.fpsText, "%.1f FPS", fps);
        app.fpsAccumMs -= kFpsPeriodMs; // the surplus counts towards the next reading
        app.fpsFrames = 0;
    }
    app.frameTimeMs = static_cast<float>(app.frameDeltaMs) * app.timeScale;
}

void restartFrameClock(uint32_t nowMs) {
    app.frameTimeMs = 0.0f;
    app.frameDeltaMs = 0;
    app.lastFrameClock = nowMs;
}

void runFrame() {
    if (!app.appActive) {
        sleepMs(200);
        return;
    }
    // Drawing shows the state the previous frame's update left; the update then sees the time between
    // the last two presents.
    // Not yet: the render layer's begin (depth cleared to 1.0) replaces the plain window frame.
    beginWindowFrame();
    sceneManager.currentScene->draw();
    // Not yet: the diagnostic overlay (drawOverlay) goes here: after the scene, before the end; it also
    // restores the 3D state and resets the triangle counter.
    // Not yet: the render layer's end; a pending gamma change and device reset are applied after present.
    presentWindow();
    advanceFrameClock(clockMs());
    sceneManager.currentScene->update();
    performSwitch();
    app.runTimeMs += app.frameTimeMs;
}
