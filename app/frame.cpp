#include "app/frame.h"

#include <cstdio>

#include "app/overlay.h"
#include "app/scene.h"
#include "app/scene_manager.h"
#include "app/typed_words.h"
#include "engine/app_state.h"
#include "engine/render.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "ui/menu_system.h"

namespace {

constexpr uint32_t kFpsPeriodMs = 300; // a frame-rate reading at least this often
// The most one frame adds to animations and timers. A stall (a slow disk, a suspended machine, the
// start-up's loading) is then a short pause: a page's 300 ms transition still takes several drawn
// frames, and a level's clock does not jump.
constexpr uint32_t kMaxFrameStepMs = 100;

} // namespace

void advanceFrameClock(uint32_t nowMs) {
    // Unsigned subtraction: the 49-day wrap of the clock gives the right difference.
    uint32_t elapsedMs = nowMs - app.lastFrameClock;
    app.lastFrameClock = nowMs;
    app.frameDeltaMs = elapsedMs < kMaxFrameStepMs ? elapsedMs : kMaxFrameStepMs;

    // The frame rate is the real one, stalls included.
    app.fpsAccumMs += elapsedMs;
    app.fpsFrames += 1;
    app.framesRun += 1;
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
    // The colour buffer is not cleared here: each scene clears or covers it.
    clearDepth(1.0f);
    beginScene();
    sceneManager.currentScene->draw();
    drawOverlay(typedWords.overlayEnabled); // also restores the 3D state and resets the triangle count
    endScene();
    presentFrame(); // applies a pending gamma change, then a pending switch of window and full screen
    advanceFrameClock(clockMs());
    sceneManager.currentScene->update();
    setTextInput(menuTakesText()); // a name page open: the keys also type text
    performSwitch();
    app.runTimeMs += app.frameTimeMs;
}
