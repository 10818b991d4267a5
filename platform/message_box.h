// Message boxes for the few messages the game shows outside its own pages, and the fatal stop.
//
// Every message goes to standard error as well, so it is seen without a display (CI, a terminal).
#pragma once

struct SDL_Window;

struct MessageBoxState {
    SDL_Window* parent = nullptr;    // window that owns the boxes; null before the window exists
    bool useWindow = true;           // false: standard error only (tests, headless runs)
    void (*exitHook)(int) = nullptr; // replaces the process exit in tests; null: exit for real
    int shownCount = 0;              // boxes shown since the last reset
    char lastTitle[64] = {};         // title of the last box (cut to fit)
    char lastText[512] = {};         // text of the last box (cut to fit)
};

extern MessageBoxState messageBoxes;

void resetMessageBoxes();                               // back to launch values (tests)
void showErrorBox(const char* title, const char* text); // error icon; also printed on standard error
void fatalError(const char* title, const char* text, int exitCode); // shows the box, then ends the process
