// Level files: the rule parameters and the board layout of a level, and the demonstration boards of the
// help pages.
#pragma once

#include <string_view>

#include "game/board.h"

struct Rules;

// What a level can give; the saved game holds its values to the same bounds.
constexpr int kDefaultJokerFrequency = 20; // one new ball in this many is a joker when the level says nothing
constexpr int kMaxBallsPerTurn =
    kPlayCells;                     // more previews per turn than the area has cells deal nothing more
constexpr int kMaxSquareLayers = 9; // a level file writes the layers of a busy square as one digit
int levelBallsPerTurn(int value);   // the level's balls per turn brought into 0..kMaxBallsPerTurn
int levelJokerFrequency(int value); // the level's joker frequency; the default when not positive

struct LevelFiles {
    bool missingIsFatal = true; // a missing or unusable level file stops the program (tools turn this off)
    Point demoPoints[5] = {};   // help board: screen centres of the demonstration points U, V, X, Y, Z
    bool demoPointSet[5] = {};  // which of them the help file placed
};
extern LevelFiles levelFiles;

void levelFileName(int levelIndex, char* name, int capacity); // "levels/tut1_01.lvl" .. "levels/pack1_66.lvl"
// Reads the level file onto the current board. A file that cannot be read, or whose layout has no cell,
// gives false, or with missingIsFatal the "Loading Error" box and exit code 1.
bool loadLevel(Rules& r, int levelIndex);
bool readLevelText(Rules& r, std::string_view text); // the same from a level file's text; false when no cell
bool loadHelpBoard(Rules& r, int page, int variant,
                   int colourShift); // reads "help%i.lvl" onto the help board
void readHelpText(Rules& r, std::string_view text, int variant, int colourShift); // the same from the text
float parseTimeLimit(float minutes); // "2.5" minutes -> 150 seconds
