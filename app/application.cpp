#include "app/application.h"

#include <SDL2/SDL.h>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "app/main_loop.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/limits.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "engine/texture_decode.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/gl_backend.h"
#include "platform/message_box.h"
#include "platform/single_instance.h"
#include "platform/window.h"
#include "player/settings.h"
#include "player/window_size.h"

namespace {

// The program's icon from the data folder on the window's frame and in the task switcher.
void showWindowIcon() {
    std::vector<uint8_t> bytes;
    DecodedPicture icon;
    if (!readWholeFile("icon.tga", bytes, 1 << 20) || !decodePicture(bytes.data(), int(bytes.size()), icon) ||
        !setWindowIcon(icon.rgba.data(), icon.width, icon.height))
        std::fprintf(stderr, "the window has no icon (icon.tga)\n");
}

// The window, its OpenGL context and the render layer on top; false when the game cannot show itself.
bool createDisplayWindow(bool fullScreen, const WindowSize& windowed) {
    switch (initWindow(fullScreen, windowed.width, windowed.height, windowed.maximised)) {
    case WindowInitResult::ok:
        break;
    case WindowInitResult::noDisplay:
        std::fprintf(stderr, "Pebblecraft needs a display to run: %s\n", windowInitError());
        return false;
    case WindowInitResult::noOpenGL:
        std::fprintf(stderr, "%s\n", windowInitError());
        showErrorBox("Initialization failed", "Can't init OpenGL");
        return false;
    }
    showWindowIcon();
    showWindow();
    messageBoxes.parent = windowHandle();
    glBackend.swapBuffers = presentWindow;
    if (!glBackend.init() || !createDisplay(&glBackend)) {
        std::fprintf(stderr, "the OpenGL drawing could not be set up\n");
        showErrorBox("Initialization failed", "Can't init OpenGL");
        messageBoxes.parent = nullptr;
        shutdownWindow();
        return false;
    }
    render.applyDisplayMode = requestFullScreen;
    render.drawableSize = windowDrawableSize; // the picture is drawn at the drawable's own pixels
    return true;
}

} // namespace

int runApplication(int argc, char** argv) {
    (void)argc;
    // Only one copy runs per user; a second one ends at once, silently and successfully.
    switch (acquireInstanceLock(instanceLockPath())) {
    case InstanceLock::acquired:
        break;
    case InstanceLock::heldByOther:
        return 0;
    case InstanceLock::unavailable: {
        // Unguarded, a second copy would write the same player files as this one: say why and stop.
        char text[512];
        std::snprintf(text, sizeof text,
                      "Can't lock %s (%s), so another copy could be running.\nProgram will now stop.",
                      instanceLockPath().c_str(), instanceLockError());
        showErrorBox("Initialization failed", text);
        return 1;
    }
    }
    buildSqrtTables();

    // Every relative path of the game is relative to the data folder.
    if (!locateDataFolder(argv[0]) || chdir(dataFolder().c_str()) != 0) {
        fatalError("Loading Error", "Can't load Data...\nProgram will now stop.", 1);
        return 1;
    }

    // The settings choose window or full screen; the start-up applies their cursor choice.
    readSettings();
    const WindowSize windowedAtStart = readWindowSize(); // the window's size of the last run

    // A game that cannot show itself has failed: unlike a second copy it ends with a non-zero code.
    if (!createDisplayWindow(settings.fullScreen, windowedAtStart)) {
        SDL_Quit();
        return 1;
    }
    setPerspective(kScreenWidth, kScreenHeight);

    // The splash scene is made current directly: no switch, no enter.
    sceneManager.currentScene = &splashScene;
    loadSplashPictures();
    app.lastFrameClock = clockMs();
    runMainLoop();

    // Shutdown, in this order: the display (gamma back to neutral first), audio and texts, the window.
    releaseDisplay();
    glBackend.shutdown();
    shutdownAudio();
    freeTextTable();
    messageBoxes.parent = nullptr;
    WindowSize windowed;
    windowedSize(&windowed.width, &windowed.height, &windowed.maximised);
    shutdownWindow();
    if (windowed.width != windowedAtStart.width || windowed.height != windowedAtStart.height ||
        windowed.maximised != windowedAtStart.maximised) {
        saveWindowSize(windowed);
    }
    savePlayerData(); // only when the start-up sequence has run: before it nothing was loaded to write
    SDL_Quit();
    return 0;
}
