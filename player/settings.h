// The program's own settings: volumes, screen mode, drawn cursor, ball speed, current profile.
//
// Stored as one 48-byte little-endian value, the file "settings" in the per-user config folder. A
// missing value, or one not exactly 48 bytes long, means defaults. The comfort options live beside it
// in a file of their own (player/comfort.h), read and written with it. savePlayerData writes the value
// and every player file, each beside the old one and renamed over it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kSettingsBytes = 48;

struct Settings {
    int musicVolume = 50;          // 0..99, the options slider
    int soundVolume = 50;          // 0..99
    int screenWidth = 800;         // written, not read back
    int screenHeight = 600;        // written, not read back
    int displayModeIndex = 1;      // written, not read back (the display settings)
    int trueColour = 1;            // written, not read back
    uint8_t spareFlag = 1;         // read and written back; used by nothing else
    bool customCursor = false;     // draw the mouse cursor as a sprite
    int32_t reserved = 0;          // read and written back unchanged
    int currentProfileIndex = 0;   // index of the current profile
    int profileCount = 0;          // profiles in "profiles.dat"
    bool fullScreen = true;        // full screen (the desktop's mode) or a window
    bool pendingFullScreen = true; // the options page's check box until "apply"
    float ballSpeed = 70.0f;       // speed factor of ball moves, 21..150
};

extern Settings settings;

void resetSettings(); // launch values, before the value is read (tests)
// The stored form. settingsFromBytes applies defaults and returns false unless size is exactly 48.
void settingsToBytes(const Settings& s, uint8_t out[kSettingsBytes]);
bool settingsFromBytes(const uint8_t* data, size_t size, Settings& s);
void readSettings();   // at launch, before the window exists
void savePlayerData(); // the value and the five player files; nothing before the start-up sequence ran
void audioDefaults();  // both volumes 50
