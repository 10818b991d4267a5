// The saved game: the whole board and rule state of a level in progress, one file per profile and mode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSavedGameBytes = 99409;

bool saveGame();   // writes the player's saved game unless the moment forbids it
bool resumeGame(); // restarts the profile's level and reads the saved game over it
void encodeSavedGame(std::vector<uint8_t>& out); // the current state in the file's layout
bool decodeSavedGame(
    const std::vector<uint8_t>& in);          // reads the layout over the state; false if the size is wrong
bool writeSavedGame(const std::string& path); // writes the layout without any refusal
bool readSavedGame(const std::string& path);  // reads a file of exactly the layout's size over the state
