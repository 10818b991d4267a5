// Window events translated into what the game's window procedure handles: key presses as Windows
// virtual-key codes, the mouse buttons with the double-click rule, focus, close and quit.
#pragma once

union SDL_Event;

enum class EventKind {
    none,      // nothing the game handles (key releases, wheel, ...)
    keyDown,   // key holds the virtual-key code; auto-repeat included
    textInput, // text holds what the keys typed, UTF-8 as the window's text input gives it
    mouseMove, // x, y: position in window coordinates (client pixels), not yet mapped to the picture
    leftDown,
    leftDoubleClick, // a quick second left press, reported instead of leftDown
    leftUp,
    rightDown,
    rightUp,
    middleDown,
    activate,   // the window gained the focus
    deactivate, // the window lost the focus
    resize,     // the window's size changed
    close,      // the window's close request (as a window manager sends it)
    quit,       // the process is asked to end (signal, session end)
};

struct AppEvent {
    EventKind kind = EventKind::none;
    int key = 0; // virtual-key code for keyDown
    int x = 0;   // mouseMove position
    int y = 0;
    char text[32] = {}; // textInput: 0-terminated, as SDL's text input event holds it
};

// Virtual-key codes the game compares.
constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKey0 = 48; // '0'..'9' follow
constexpr int kKeyA = 65; // 'A'..'Z' follow
constexpr int kKeyNumpad0 = 96;
constexpr int kKeyF1 = 112; // F1..F12 follow

int virtualKeyCode(int sdlKeycode); // 0 for keys the game has no code for
// Pure translation of one SDL event. Mouse positions stay in window coordinates: the one mapping to the
// screen is mouseInScreenUnits (engine/input.h), done when a reader asks.
AppEvent translateEvent(const SDL_Event& event);
bool pollAppEvent(AppEvent* event); // the next waiting event (headless: the scripted queue); false if none
