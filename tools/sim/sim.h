// The simulator's commands, shared by its main and its script runner.
#pragma once

#include <cstdio>
#include <string>

#include "game/rules.h"

extern Rules simRules; // the simulator's board: its own Rules value

void simSetup(const std::string& dataDir); // data folder, a fresh profile, the rules' defaults
int runScript(const std::string& path);    // 0, or 2 with a message naming the line
void printState(FILE* out);                // the state as one JSON line
bool levelFileExists(int levelIndex);      // the level's file is in the data folder
// Plays games games of the bot, or of the hasty player, over every mode and level (seeds from firstSeed,
// printed first), checking the rules after every frame and act; prints each broken invariant; 0 when none
// broke, 1 otherwise, 2 without level files. A broken invariant of the rules' own stops the program.
int runSoak(const std::string& data, long games, long firstSeed, bool hasty);
