#include "platform/window.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/headless.h"
#include "platform/limits.h"
#include "platform/window_manager.h"

namespace {

constexpr uint32_t kPacedFrameMs = 16;    // without vsync frames are paced to about 60 per second
constexpr int kFastFramesForNoVsync = 30; // this many consecutive very fast presents: vsync is not real
constexpr uint32_t kFastFrameMs = 3;

struct WindowState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool videoStarted = false;
    bool managed = true; // a window manager honours full-screen requests
    bool fullScreen = false;
    bool switchPending = false; // a mode switch waits for the next present
    bool switchTo = false;
    int windowedWidth = kScreenWidth; // the window's client size when not full screen (kept between runs)
    int windowedHeight = kScreenHeight;
    bool windowedMaximised = false;
    bool vsync = false;         // the driver accepted a swap interval of 1 and honours it
    bool textInput = false;     // SDL's text input runs (a name is being typed)
    uint32_t lastPresentMs = 0; // clock after the previous present (pacing)
    int fastFrames = 0;         // consecutive presents that returned at once despite vsync
    bool waitless = false;      // presents neither wait for the refresh nor pace (loading frames)
    char error[256] = {};
};

WindowState gWindow;

void keepError(const char* prefix) {
    SDL_snprintf(gWindow.error, sizeof gWindow.error, "%s%s", prefix, SDL_GetError());
}

// Window or full screen. With a window manager the desktop's own full screen; without one the window
// covers its display by itself, so the picture is still scaled and centred.
void setMode(bool fullScreen) {
    SDL_Window* w = gWindow.window;
    if (gWindow.managed) {
        if (SDL_SetWindowFullscreen(w, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
        if (!fullScreen) {
            SDL_SetWindowSize(w, gWindow.windowedWidth, gWindow.windowedHeight);
            if (gWindow.windowedMaximised) SDL_MaximizeWindow(w);
        }
    } else if (fullScreen) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(w), &bounds) != 0) return;
        SDL_SetWindowPosition(w, bounds.x, bounds.y);
        SDL_SetWindowSize(w, bounds.w, bounds.h);
    } else {
        SDL_SetWindowSize(w, gWindow.windowedWidth, gWindow.windowedHeight);
        SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    gWindow.fullScreen = fullScreen;
}

void applyModeSwitch() {
    gWindow.switchPending = false;
    if (gWindow.switchTo != gWindow.fullScreen) setMode(gWindow.switchTo);
}

// Paces presents to about 60 per second when the display does not: a casual game must not use a whole
// core. The variable time step keeps every animation unchanged whatever the rate.
void pace() {
    uint32_t now = clockMs();
    uint32_t since = now - gWindow.lastPresentMs;
    if (gWindow.vsync) {
        gWindow.fastFrames = since <= kFastFrameMs ? gWindow.fastFrames + 1 : 0;
        // A driver may accept the swap interval and still not wait (virtual displays do): pace instead.
        if (gWindow.fastFrames >= kFastFramesForNoVsync) gWindow.vsync = false;
    }
    if (!gWindow.vsync && since < kPacedFrameMs) {
        SDL_Delay(kPacedFrameMs - since);
        now = clockMs();
    }
    gWindow.lastPresentMs = now;
}

} // namespace

// SDL falls back to drivers that show nothing when no display exists; a player would see a game that runs
// invisibly. They count only when asked for by name (SDL_VIDEODRIVER).
bool realDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    bool invisible = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0 ||
                     SDL_strcmp(driver, "evdev") == 0;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return !invisible || (wanted && SDL_strcasecmp(wanted, driver) == 0);
}

ViewRect fitPicture(int outerWidth, int outerHeight) {
    ViewRect r;
    if (outerWidth <= 0 || outerHeight <= 0) return r;
    // Scale by the smaller ratio; compare cross products to stay exact in integers.
    if (static_cast<long>(outerWidth) * kScreenHeight <= static_cast<long>(outerHeight) * kScreenWidth) {
        r.w = outerWidth;
        r.h = static_cast<int>(static_cast<long>(outerWidth) * kScreenHeight / kScreenWidth);
    } else {
        r.h = outerHeight;
        r.w = static_cast<int>(static_cast<long>(outerHeight) * kScreenWidth / kScreenHeight);
    }
    r.x = (outerWidth - r.w) / 2;
    r.y = (outerHeight - r.h) / 2;
    return r;
}

ViewRect desktopUsableArea() {
    if (headless.installed) return headless.desktop;
    ViewRect area;
    SDL_Rect bounds;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDisplayUsableBounds(0, &bounds) == 0) {
        area = ViewRect{bounds.x, bounds.y, bounds.w, bounds.h};
    }
    return area;
}

void windowedSizeOnDesktop(int* width, int* height, bool* maximised) {
    ViewRect area = desktopUsableArea();
    bool known = area.w > 0 && area.h > 0;
    if (*width > 0 && *height > 0 && (!known || (*width <= area.w && *height <= area.h))) return;
    // A window larger than the desktop cannot be moved or closed by its frame, and under software
    // OpenGL its picture alone may take a gigabyte: the size came from a damaged file or another screen.
    *width = kScreenWidth;
    *height = kScreenHeight;
    *maximised = false;
    if (known && (area.w < kScreenWidth || area.h < kScreenHeight)) {
        ViewRect fit = fitPicture(area.w, area.h);
        *width = fit.w;
        *height = fit.h;
    }
}

WindowInitResult initWindow(bool fullScreen, int windowedWidth, int windowedHeight, bool maximised) {
    gWindow = WindowState{};
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        keepError("");
        return WindowInitResult::noDisplay;
    }
    gWindow.videoStarted = true;
    if (!realDisplay()) {
        SDL_snprintf(gWindow.error, sizeof gWindow.error, "no display found (only SDL's %s video driver)",
                     SDL_GetCurrentVideoDriver());
        shutdownWindow();
        return WindowInitResult::noDisplay;
    }
    startGamepads();
    windowedSizeOnDesktop(&windowedWidth, &windowedHeight, &maximised);
    gWindow.windowedWidth = windowedWidth;
    gWindow.windowedHeight = windowedHeight;
    gWindow.windowedMaximised = maximised;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // No depth buffer: nothing drawn at the screen's pixels is hidden by depths (the one solid mesh is
    // convex and drawn with its far faces culled; sprites only test against depths nothing wrote). A
    // window's depths cost their memory whether used or not: 8 MB at 1920 x 1080.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

    // Resizable and maximisable: the picture keeps its shape, scaled to fit and centred.
    uint32_t flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    gWindow.window = SDL_CreateWindow("Pebblecraft", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                      gWindow.windowedWidth, gWindow.windowedHeight, flags);
    if (!gWindow.window) {
        keepError("");
        shutdownWindow();
        return WindowInitResult::noDisplay;
    }
    SDL_SetWindowMinimumSize(gWindow.window, kScreenWidth / 2, kScreenHeight / 2);
    gWindow.managed = windowManagerPresent(gWindow.window);
    if (fullScreen) setMode(true);

    gWindow.context = SDL_GL_CreateContext(gWindow.window);
    if (!gWindow.context || SDL_GL_MakeCurrent(gWindow.window, gWindow.context) != 0) {
        keepError("");
        shutdownWindow();
        return WindowInitResult::noOpenGL;
    }
    if (epoxy_gl_version() < 33 || epoxy_is_desktop_gl() == 0) {
        SDL_snprintf(gWindow.error, sizeof gWindow.error, "OpenGL 3.3 is not available (got %d.%d)",
                     epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        shutdownWindow();
        return WindowInitResult::noOpenGL;
    }
    gWindow.vsync = SDL_GL_SetSwapInterval(1) == 0;

    // Keys are read as key presses; text only while a name is typed (setTextInput), so that no input
    // method pops up elsewhere.
    SDL_StopTextInput();
    gWindow.textInput = false;
    return WindowInitResult::ok;
}

void setTextInput(bool on) {
    if (!gWindow.window || on == gWindow.textInput) return;
    gWindow.textInput = on;
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

void showWindow() {
    if (!gWindow.window) return;
    SDL_ShowWindow(gWindow.window);
    if (!gWindow.fullScreen && gWindow.windowedMaximised) SDL_MaximizeWindow(gWindow.window);
    SDL_RaiseWindow(gWindow.window);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(gWindow.window);
    gWindow.lastPresentMs = clockMs();
}

const char* windowInitError() {
    return gWindow.error;
}

bool setWindowIcon(const uint8_t* rgba, int width, int height) {
    if (!gWindow.window || !rgba || width <= 0 || height <= 0) return false;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return false;
    SDL_SetWindowIcon(gWindow.window, surface);
    SDL_FreeSurface(surface);
    return true;
}

void shutdownWindow() {
    stopGamepads();
    if (gWindow.context) SDL_GL_DeleteContext(gWindow.context);
    if (gWindow.window) SDL_DestroyWindow(gWindow.window);
    if (gWindow.videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    gWindow.context = nullptr;
    gWindow.window = nullptr;
    gWindow.videoStarted = false;
}

bool windowOpen() {
    return gWindow.context != nullptr;
}

SDL_Window* windowHandle() {
    return gWindow.window;
}

void presentWindow() {
    if (!windowOpen()) return;
    SDL_GL_SwapWindow(gWindow.window);
    if (gWindow.waitless) {
        gWindow.lastPresentMs = clockMs();
    } else {
        pace();
    }
    if (gWindow.switchPending) applyModeSwitch();
}

void setWaitlessPresents(bool waitless) {
    if (!windowOpen() || gWindow.waitless == waitless) return;
    gWindow.waitless = waitless;
    // Swap interval 0 while waitless; the refresh wait comes back only where the driver had it.
    if (waitless || gWindow.vsync) SDL_GL_SetSwapInterval(waitless ? 0 : 1);
}

ViewRect windowViewport() {
    if (!windowOpen()) return headless.picture;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(gWindow.window, &w, &h);
    ViewRect r = fitPicture(w, h);
    r.y = h - r.y - r.h; // OpenGL counts rows from the bottom
    return r;
}

void windowDrawableSize(int* width, int* height) {
    *width = kScreenWidth;
    *height = kScreenHeight;
    if (windowOpen()) SDL_GL_GetDrawableSize(gWindow.window, width, height);
}

ViewRect windowPicture() {
    if (!windowOpen()) return headless.picture;
    int w = 0, h = 0;
    SDL_GetWindowSize(gWindow.window, &w, &h);
    return fitPicture(w, h);
}

void requestFullScreen(bool fullScreen) {
    gWindow.switchPending = true;
    gWindow.switchTo = fullScreen;
}

bool windowFullScreen() {
    return gWindow.fullScreen;
}

bool windowVsync() {
    return gWindow.vsync;
}

void noteWindowResized() {
    if (!gWindow.window || gWindow.fullScreen) return;
    uint32_t flags = SDL_GetWindowFlags(gWindow.window);
    if (flags & SDL_WINDOW_FULLSCREEN) return; // a size of the full screen on its way out
    // A maximised window keeps the size it will return to; only the flag is remembered.
    gWindow.windowedMaximised = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    if (gWindow.windowedMaximised) return;
    SDL_GetWindowSize(gWindow.window, &gWindow.windowedWidth, &gWindow.windowedHeight);
}

void windowedSize(int* width, int* height, bool* maximised) {
    *width = gWindow.windowedWidth;
    *height = gWindow.windowedHeight;
    *maximised = gWindow.windowedMaximised;
}
