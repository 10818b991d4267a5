// The game's window procedure: what each window event does to the application and the current scene.
#pragma once

#include "platform/events.h"

void handleAppEvent(const AppEvent& event); // runs between frames, never during one
