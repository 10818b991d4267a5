// What the rules read and change in the current player's profile, always in the mode being played.
#pragma once

struct Rules;

int playerLives(Rules& r);                      // lives left in the mode
void setPlayerLives(Rules& r, int lives);       // cheat key and the end of a defeat
int playerScore(Rules& r);                      // the mode's running total
void addPlayerScore(Rules& r, int points);      // adds to the mode's running total
int playerHighestLevelAnyMode();                // the highest opened level over the three modes
int playerCurrentLevel(Rules& r);               // the profile's current level in the mode
bool playerTipShown(const char* tip);           // the player has seen this in-game tip
void setPlayerSavedGame(Rules& r, bool exists); // the mode's saved-game flag
const char* playerName();                       // the player's name
// After a won level: the level's records, the high-score table, the progress (stage complete, mode
// passed) and the player files written.
void playerLevelWon(Rules& r, int levelIndex, int score, int maxCombo, int levelTimeMs, int movesMade,
                    bool* stageComplete, bool* gamePassed);
void savePlayerFiles(); // writes the settings and the player files
