// The saved game: the whole board and rule state of a level in progress, one file per profile and mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rules;

constexpr int kSavedGameBytes = 99409;

bool saveAllowedNow(
    Rules& r, bool resultPageShown); // a level in play with a move made, not ending, and the game scene shown
bool saveGame(Rules& r, bool resultPageShown); // writes the player's saved game unless the moment forbids it
// Restarts the profile's level and reads the saved game over it; false when there is none. A file that
// would not give a playable level is renamed "<name>.damaged", no longer offered, and the fresh level
// stays.
bool resumeGame(Rules& r);
void discardSavedGame(Rules& r); // a won level: the player's saved game of the mode is gone
void encodeSavedGame(Rules& r, std::vector<uint8_t>& out); // the current state in the file's layout
// Reads the layout over the state and mends what a level cannot hold; false, with the state untouched,
// when the size or the opening words are wrong or the level would end before a move.
bool decodeSavedGame(Rules& r, const std::vector<uint8_t>& in);
bool writeSavedGame(Rules& r, const std::string& path); // writes the layout without any refusal
bool readSavedGame(Rules& r,
                   const std::string& path); // reads a file of exactly the layout's size over the state
