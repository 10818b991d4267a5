// The live game: the one Rules value the player plays on. The game scene, the menus, the HUD and the
// state file drive and read it (the rules themselves never include this: they take the value they work on);
// every other board (a demonstration, the map's preview, the simulator, a
// test of the rules alone) owns a Rules value of its own.
#pragma once

#include "game/rules.h"

extern Rules liveRules;

inline GameState& game = liveRules.game; // the live game's counters, as the presentation reads them
