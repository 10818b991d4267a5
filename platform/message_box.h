// Message boxes for the few messages the game shows outside its own pages, and the fatal stop.
//
// Every message goes to standard error as well, so it is seen without a display (CI, a terminal). On a
// display the box is SDL's; where SDL has no way to show one (no zenity or kdialog, no X11 core fonts)
// the message is drawn in a small window of the game's own (platform/message_window.h).
#pragma once

#include <cstdint>

struct SDL_Window;

constexpr uint32_t kOwnMessageWindowMs = 30000; // the game's own message window closes by itself then

struct MessageBoxState {
    SDL_Window* parent = nullptr; // window that owns the boxes; null before the window exists
    bool useWindow = true;        // false: standard error only (tests, headless runs)
    // Replace SDL's box (0 when shown) and the game's own message window (true when shown) in tests.
    int (*systemBox)(const char* title, const char* text, SDL_Window* parent) = nullptr;
    bool (*ownWindow)(const char* title, const char* text, uint32_t waitMs) = nullptr;
    void (*exitHook)(int) = nullptr; // replaces the process exit in tests; null: exit for real
    int shownCount = 0;              // boxes shown since the last reset
    char lastTitle[64] = {};         // title of the last box (cut to fit)
    char lastText[512] = {};         // text of the last box (cut to fit)
};

extern MessageBoxState messageBoxes;

void resetMessageBoxes();                               // back to launch values (tests)
void showErrorBox(const char* title, const char* text); // error icon; also printed on standard error
void fatalError(const char* title, const char* text, int exitCode); // shows the box, then ends the process
