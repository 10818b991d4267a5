// What the rules read and change in the current player's profile, in the current mode.
#pragma once

int profileLives();                 // lives left in the mode
void profileSetLives(int lives);    // cheat key and defeat bookkeeping
int profileScore();                 // the mode's running total
void profileAddScore(int points);   // adds to the mode's running total
int profileHighestLevelAnyMode();   // the highest opened level over the three modes
int profileCurrentLevel();          // the profile's current level in the mode
bool profileTipShown(const char* tip);  // the player has seen this in-game tip
void profileSetSavedGame(bool exists);  // the mode's saved-game flag
const char* profileName();          // the player's name (saved-game file names)
// After a won level: records of the level, the high-score table, the progress (stage complete, mode
// passed), and the player files written.
void profileLevelWon(int levelIndex, int score, int maxCombo, int levelTimeMs, int movesMade, bool* stageComplete,
                     bool* gamePassed);
void profileSave();                 // writes the player files
