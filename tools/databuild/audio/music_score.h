// The game's music: one module whose song is divided into sections, each starting at a fixed order
// position and repeating within itself.
#pragma once

#include "xm_writer.h"

namespace music {

struct MusicSection {
    const char* name; // for previews: "level1", "menu", ...
    int firstOrder;   // where the game starts it
    int orderCount;   // orders up to the next section; the last jumps back to firstOrder
};

// In order position order; the game asks for the sections by these first orders.
constexpr MusicSection kMusicSections[] = {
    {"level1", 0, 11},   // levels 0, 4, 8, ...
    {"level2", 11, 18},  // levels 1, 5, 9, ...
    {"menu", 29, 15},    // the main menu, the credits, and levels 2, 6, 10, ...
    {"map", 44, 3},      // the level map
    {"level4", 47, 16},  // levels 3, 7, 11, ...
    {"complete", 63, 2}, // the level-complete jingle and its gentle tail
    {"defeat", 65, 2},   // the defeat jingle and its quiet tail
};
constexpr int kMusicOrderCount = 67;

// The whole module: instruments, patterns and the order list.
xm::Module composeMusic();

} // namespace music
