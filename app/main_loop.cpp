#include "app/main_loop.h"

#include "app/frame.h"
#include "app/startup.h"
#include "app/window_messages.h"
#include "engine/app_state.h"
#include "gameplay/dev_route.h"
#include "platform/clock.h"
#include "platform/events.h"

namespace {

constexpr uint32_t kInactiveSleepMs = 200; // the game costs almost nothing in the background

} // namespace

void runMainLoop() {
    startDevLevelFromEnvironment(); // TEMPORARY developer route into a level until the menus start levels
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
        if (app.startupPending) {
            runStartup();
            keepDevLevel(); // TEMPORARY: the developer route's level stays on screen after the start-up
            // Not yet: set the program's cursor when the custom cursor is on.
            app.startupPending = false;
            app.startupDone = true;
        }
    }
}
