// Whether a window manager looks after the game's window. On a bare X server (no window manager, as in
// the end-to-end tests) nobody honours a full-screen request, so the window covers the desktop itself.
#pragma once

struct SDL_Window;

bool windowManagerPresent(SDL_Window* window); // true as well where it cannot be told (not X11)
