// Letters typed on the level map or in the game, kept newest first and compared with a few fixed words
// that switch testing aids: every level open on the map, the board's cheat keys, the diagnostic overlay.
#pragma once

#include <cstdint>

struct TypedWords {
    uint8_t typedLetters[16] = {}; // bytes 0..14: the last 15 letters, byte 0 the newest; byte 15 stays 0
    bool allLevelsOpen = false;    // the level map treats every level as reached
    bool cheatKeyMode = false;     // the board's testing shortcuts and the middle button's hammer charge
    bool overlayEnabled = false;   // the frame-rate and triangle overlay, from the next frame
};

extern TypedWords typedWords;

void feedTypedLetter(int virtualKey); // only 'A'..'Z' (65..90) count; compares on the current scene
void resetTypedWords();               // launch state (tests)
