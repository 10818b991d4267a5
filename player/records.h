// Records: the best result on every level of every mode, the high-score tables, the level times and
// the survival records. Raw little-endian images in the settings folder, built from defaults when a
// file is missing or has the wrong size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/limits.h"

constexpr int kRecordNameBytes = 20;
constexpr int kSurvivalTables = 2;
constexpr int kLevelTimeEntries = 3;

struct LevelRecord {
    char comboName[kRecordNameBytes]; // holder of the best combo
    char scoreName[kRecordNameBytes]; // holder of the best score
    char timeName[kRecordNameBytes];  // holder of the best time
    char movesName[kRecordNameBytes]; // holder of the fewest moves
    int32_t bestScore;                // higher is better
    int32_t bestCombo;                // higher is better
    int32_t bestTimeMs;               // lower is better
    int32_t fewestMoves;              // lower is better
};

struct HiscoreEntry {
    char name[32];
    int32_t score;
};

struct LevelTimeEntry {
    char name[32];
    int32_t timeMs;
};

struct RecordTables {
    LevelRecord levels[kModeCount][kLevelCount];               // "records.dat", 20160 bytes
    HiscoreEntry hiscores[kModeCount][kHiscoreLines];          // "hiscore.dat", 1080 bytes, falling scores
    LevelTimeEntry levelTimes[kLevelCount][kLevelTimeEntries]; // "mode3.dat", 7560 bytes
    LevelRecord survival[kSurvivalTables][kLevelCount];        // "surrecs.dat", 13440 bytes
};

extern RecordTables records;

void resetRecords(); // all zero (tests)
// Start-up: reads the four files from the settings folder; a missing or wrongly sized one is built from
// the default tables "hi_expert.txt", "hi_normal.txt", "hi_zen.txt" and the default names.
void loadRecords();
bool saveRecords(); // writes the four files; false when one could not be written
// Puts the current profile's score of the mode into that mode's table; a player keeps one line.
void enterHighScore(int mode);
// A won level's results against its record: higher score and combo, lower time and moves win, and the
// current profile's name is written beside each new best.
void updateLevelRecord(int mode, int level, int score, int combo, int timeMs, int moves);
