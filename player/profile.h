// Player profiles: up to eight named players with their progress, lives and score in each mode.
//
// "profiles.dat" holds the profiles in order, 156 bytes each, as many as the settings say.
// Modes: 0 classic, 1 puzzle, 2 action; 70 levels each in 14 zones of 5 (level L is zone L / 5,
// place L % 5). The accessors work on the current profile in the mode given by its profileMode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/limits.h"

constexpr int kProfileNameBytes = 32;
constexpr int kTipCount = 14;

// The in-game tips, in the order of their flags.
extern const char* const kTipNames[kTipCount];
int tipIndex(const char* key); // index of a tip by its text key, or -1

struct Profile {
    char name[kProfileNameBytes];        // zero-terminated; at most 12 characters are ever typed
    uint8_t showHelp[kModeCount];        // show the help page before the first game of the mode
    int32_t levelInZone[kModeCount];     // place of the current level in its zone, 0..4
    int32_t zone[kModeCount];            // zone of the current level, 0..13
    int32_t openLevelInZone[kModeCount]; // place of the highest opened level
    int32_t openZone[kModeCount];        // zone of the highest opened level
    int32_t score[kModeCount];           // running score of the mode's game
    int32_t lives[kModeCount];           // lives left; below 0: the mode's game is over
    uint8_t tipShown[kTipCount];         // one flag per in-game tip (kTipNames)
    int32_t profileMode;                 // mode last chosen, 0..2
    uint8_t classicChosen;               // 1 when profileMode is 0
    uint8_t savedGame[kModeCount];       // a saved game of this profile exists, per mode
    int32_t survivalScore;               // score of a saved survival game
    int32_t survivalTime;                // time of a saved survival game, ms
    int32_t survivalLevel;               // level of a saved survival game
};

constexpr int kProfileBytes = 156; // one profile in "profiles.dat" (its layout is in profile.cpp)

struct ProfileTable {
    Profile list[kMaxProfiles]; // the first settings.profileCount are in use
};

extern ProfileTable profiles;

struct LevelAdvance {
    bool zoneCompleted = false; // the won level was the fifth of its zone
    bool modeCompleted = false; // ... and the zone was the last; the zone went back to 0
};

void resetProfiles();      // no profiles (tests)
Profile& currentProfile(); // the profile at settings.currentProfileIndex (a zeroed one when there is none)
void loadProfiles();       // start-up: "profiles.dat" from the settings folder, or no profiles
bool saveProfiles();       // writes "profiles.dat"; false on a write error
bool createProfile(const char* name);            // false when empty or blank, taken or the table is full
bool renameProfile(int index, const char* name); // false when empty or blank, or no such profile
void removeProfile(int index);
void selectProfile(int index);
void sanitizeProfileName(char* name, size_t bytes); // always terminated; no separators or control bytes
std::string savedGamePath(const Profile& profile, int mode); // "<settings folder><name>_<mode>.sav"

// The current profile in its profileMode.
int profileLevel();              // current level, zone * 5 + levelInZone
int profileHighestLevel();       // highest opened level
void setProfileLevel(int level); // zone = level / 5, levelInZone = level % 5
int profileScore();
void setProfileScore(int score);
void addProfileScore(int points);
int profileLives();
void addProfileLife();
void takeProfileLife();
void restartProfileMode();     // score 0, lives 3, levelInZone 0
void setProfileMode(int mode); // also classicChosen
LevelAdvance advanceLevel();   // after a won level: opens the next level and steps the progress
