// The game's one window: SDL2 with an OpenGL 3.3 core context (libepoxy), 800 x 600 client pixels,
// windowed or on the desktop's full screen with the 800 x 600 picture scaled to fit and centred.
//
// Without a window (unit tests, tools) every drawing call here does nothing and the picture rectangles
// come from the headless stand-in (platform/headless.h), so code above this layer runs unchanged.
#pragma once

#include <cstdint>

struct SDL_Window;

struct ViewRect {
    int x = 0; // left, from the left edge of the surface
    int y = 0; // top, from the top edge of the surface
    int w = 0;
    int h = 0;
};

enum class WindowInitResult {
    ok,
    noDisplay, // no video driver or display: nothing can be shown
    noOpenGL,  // the window exists but no OpenGL 3.3 core context could be made
};

// The 800 x 600 picture scaled by the largest factor that fits an outer area and centred in it; the rest
// of the area is black bars. An outer area of exactly 800 x 600 gives the picture itself.
ViewRect fitPicture(int outerWidth, int outerHeight);

// The usable area (without panels and docks) of the desktop the window opens on; the headless stand-in's
// when it is installed; empty when it cannot be told.
ViewRect desktopUsableArea();
// The client size a window opens with: the asked one when it fits the usable area, else the plain
// 800 x 600 (not maximised), or the largest 4:3 size the area holds when even that does not fit. An
// empty area only refuses sizes of no pixels.
void windowedSizeOnDesktop(int* width, int* height, bool* maximised);

// Creates window and context, the window still hidden; on failure nothing is left open. The windowed size is
// the client size the window has (and returns to from full screen), as windowedSizeOnDesktop lets it; the
// window can be resized and maximised.
WindowInitResult initWindow(bool fullScreen, int windowedWidth = 800, int windowedHeight = 600,
                            bool maximised = false);
const char* windowInitError(); // SDL's reason for the last failed initWindow
bool realDisplay(); // SDL's video (started) shows windows to a person, not an offscreen or dummy driver
// Gives the window its icon: width x height RGBA texels, rows from the top; false when SDL refuses.
// Given before showWindow, the window appears with it (task bars read it once, when it is mapped).
bool setWindowIcon(const uint8_t* rgba, int width, int height);
void showWindow();          // shows the window made by initWindow (maximised when so kept), black, raised
void shutdownWindow();      // destroys context and window, quits SDL's video
bool windowOpen();          // a window with a context exists
SDL_Window* windowHandle(); // the SDL window, null when none

void presentWindow(); // swaps buffers, paces to ~60 fps without vsync, then applies a pending mode switch
// Text input (typed characters as text events, an input method where the desktop has one) runs only
// while on; nothing without a window.
void setTextInput(bool on);
void setWaitlessPresents(bool waitless); // true: presents return at once (no refresh wait, no pacing)
ViewRect windowViewport(); // the picture's rectangle in drawable pixels, y from the bottom (glViewport)
void windowDrawableSize(int* width, int* height); // the whole drawable in pixels (800 x 600 headless)
ViewRect windowPicture(); // the picture's rectangle in window coordinates, as mouse positions come
void requestFullScreen(bool fullScreen); // switches between window and full screen after the next present
bool windowFullScreen();                 // the mode in effect
bool windowVsync();                      // presentation waits for the display's refresh
void noteWindowResized(); // after a resize: a window's new size (or its maximised state) is kept
void windowedSize(int* width, int* height, bool* maximised); // the size the window has when not full screen
