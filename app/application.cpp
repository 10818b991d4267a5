#include "app/application.h"

#include <SDL2/SDL.h>
#include <cstdio>
#include <unistd.h>

#include "app/main_loop.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/app_state.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/single_instance.h"
#include "platform/window.h"

namespace {

// A message the player must see: a message box where a display exists, and always standard error.
void showError(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr);
}

} // namespace

int runApplication(int argc, char** argv) {
    (void)argc;
    // Only one copy runs per user; a second one ends at once, silently and successfully.
    if (acquireInstanceLock(instanceLockPath()) == InstanceLock::heldByOther) return 0;

    // Every relative path of the game is relative to the data folder.
    if (!locateDataFolder(argv[0]) || chdir(dataFolder().c_str()) != 0) {
        showError("Loading Error", "Can't load Data...\nProgram will now stop.");
        return 1;
    }

    // Not yet: read the settings; their full-screen flag chooses the mode and customCursor the cursor.
    bool fullScreen = false;

    switch (initWindow(fullScreen)) {
    case WindowInitResult::ok:
        break;
    case WindowInitResult::noDisplay:
        std::fprintf(stderr, "Pebblecraft needs a display to run: %s\n", windowInitError());
        SDL_Quit();
        return 1;
    case WindowInitResult::noOpenGL:
        std::fprintf(stderr, "%s\n", windowInitError());
        showError("Initialization failed", "Can't init OpenGL");
        SDL_Quit();
        return 1;
    }
    // Not yet: the render layer builds its tables and the perspective projection here.

    // The splash scene is made current directly: no switch, no enter.
    sceneManager.currentScene = &splashScene;
    // Not yet: the splash scene loads its pictures here.
    app.lastFrameClock = clockMs();
    runMainLoop();

    // Shutdown, in this order. Not yet: the render layer releases the display (gamma back to neutral
    // first); the audio stops and is freed, and the text tables are freed.
    shutdownWindow();
    // Not yet: when the start-up sequence has run (app.startupDone), write the settings and player files.
    SDL_Quit();
    return 0;
}
