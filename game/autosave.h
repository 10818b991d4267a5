// Autosave: a level in play is written to the player's saved game after every completed move, once the
// board has come to rest (the removal pass has popped every piece, the new balls have appeared, no star
// is on its way to the bar), exactly as on leaving the level, with the profiles beside it so that the
// next start offers it back. A crash, a kill or a power cut then loses at most the last move.
//
// At most one save a second: a quick player's moves wait for the next second and are saved together.
// The save's own refusals hold (no moves, a level ending, a result page): nothing is written then.
#pragma once

#include <cstdint>

struct Rules;

constexpr float kAutosaveIntervalMs = 1000;

struct Autosave {
    int32_t savedMoves = 0;      // moves of the level at the last save
    float sinceAttemptMs = 1e9f; // time since the last attempt to write
    int saves = 0;               // saves written since launch (tests, the state file)
    int failures = 0;            // attempts whose files could not be written
    float lastSaveMs = 0;        // what the last save took, in milliseconds (frame cost)
    float longestSaveMs = 0;     // the longest of them
};

bool boardAtRest(Rules& r); // no ball travels or appears, no piece waits to pop, no star flies to the bar
void autosaveFrame(
    Rules& r,
    bool resultPageShown); // once per game frame after the rules: saves when a move has completed since
