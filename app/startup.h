// The start-up sequence, run once by the main loop after the frame in which the splash asked for it.
#pragma once

constexpr float kCameraDistance = 50; // the camera stands this far before the screen's plane

void loadEverything(); // archives, texts, fonts, player files, menus, game resources, levels, map, effects
void setCamera();      // the camera's view, which the overlay restores after every frame's drawing

struct StartupSteps {
    void (*load)() = loadEverything; // tests of the main loop replace the loading
};
extern StartupSteps startupSteps;

bool runStartup(); // seeds the generators and loads everything the game needs; true when done
