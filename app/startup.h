// The start-up sequence, run once by the main loop after the frame in which the splash asked for it.
#pragma once

void loadEverything(); // archives, texts, fonts, player files, menus, game resources, levels, map, effects

struct StartupSteps {
    void (*load)() = loadEverything; // tests of the main loop replace the loading
};
extern StartupSteps startupSteps;

bool runStartup(); // seeds the generators and loads everything the game needs; true when done
