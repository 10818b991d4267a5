// Keys on the game board: skipping the result sequences, pause, the in-game menu, the time of day and,
// in the cheat-key mode, testing shortcuts.
#pragma once

struct Rules;

// Windows virtual-key codes the board compares.
constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyLeft = 37;
constexpr int kKeyDown = 40;

void onGameKey(Rules& r, int key,
               bool cheatKeysOn); // a key-down on the board while no menu page takes the input
