// Level start, the level bar, winning and losing, lives and the scoring operation.
#pragma once

void startLevel(int levelIndex); // sets up a level of the current mode from its level file
void updateLevelBar();           // once per frame: the puzzle clock or the action bar growing back
void checkLevelState();          // once per frame after the board sweep: starts the win or defeat sequence
void updateSequences();          // once per frame: the level-complete and defeat sequences
void loseLife();                 // the player gives up the level (restart or skip)
void addPoints(float x, float y, int points); // the one scoring operation, with an extra life every 150 000
void checkEmptyBoard();                       // the board sweep found no piece on the playing area
void openResultPage(const char* page); // a page opens over the board: the rules stop, the selection drops

constexpr int kPointsPerLife = 150000;
