// Game controllers (SDL's game controller API): the pad's buttons and left stick become the keys the
// game already knows. The d-pad and the stick are the arrows, A is Return, B and Start are Escape (back
// in the menus, the in-game menu during play), X is Space. Pads plugged in while the game runs are
// opened when SDL reports them.
#pragma once

#include "platform/events.h"

// The left stick's state between events: a push past the threshold is one arrow press, and the stick
// must come back near the centre before that direction presses again.
struct PadStick {
    int x = 0; // -1 left, 0 centred, 1 right
    int y = 0; // -1 up, 0 centred, 1 down
};

constexpr int kStickPress = 20000;   // axis value (of 32767) that counts as a push
constexpr int kStickRelease = 10000; // back inside this, the direction is free again

// Pure translation of one controller event; none for events that are not a pad's or mean nothing.
AppEvent translatePadEvent(const SDL_Event& event, PadStick& stick);

void startGamepads();                          // the controller subsystem; without pads nothing happens
void stopGamepads();                           // closes the opened pads and the subsystem
AppEvent gamepadEvent(const SDL_Event& event); // opens and closes pads as they come and go, then translates
