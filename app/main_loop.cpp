#include "app/main_loop.h"

#include "app/frame.h"
#include "app/startup.h"
#include "app/state_probe.h"
#include "app/window_messages.h"
#include "engine/app_state.h"
#include "platform/clock.h"
#include "platform/events.h"

namespace {

constexpr uint32_t kInactiveSleepMs = 200; // the game costs almost nothing in the background

} // namespace

void runMainLoop() {
    while (!app.quitRequested) {
        AppEvent event;
        if (pollAppEvent(&event)) {
            handleAppEvent(event);
            continue;
        }
        if (!app.appActive) {
            sleepMs(kInactiveSleepMs);
            continue;
        }
        runFrame();
        writeStateProbe(); // the end-to-end tests' view of the game, when they ask for it
        if (app.startupPending) {
            runStartup();
            app.startupPending = false;
            app.startupDone = true;
        }
    }
}
