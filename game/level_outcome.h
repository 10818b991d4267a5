// Level start, the level bar, winning and losing, lives and the scoring operation.
#pragma once

#include "game/presentation_events.h"

struct Rules;

void startLevel(Rules& r, int levelIndex); // sets up a level of the current mode from its level file
void updateLevelBar(Rules& r,
                    bool tipOnScreen); // once per frame: the puzzle clock or the action bar growing back
void checkLevelState(Rules& r); // once per frame after the board sweep: starts the win or defeat sequence
void updateSequences(Rules& r); // once per frame: the level-complete and defeat sequences
void loseLife(Rules& r);        // the player gives up the level (restart or skip)
// The one scoring operation, with an extra life every 150 000; the points are shown at the cell, or for the
// board as a whole without one.
void addPoints(Rules& r, int points, int cellX = -1, int cellY = -1);
void checkEmptyBoard(Rules& r); // the board sweep found no piece on the playing area
void openResultPage(Rules& r,
                    ResultPage page); // a page opens over the board: the rules stop, the selection drops

constexpr int kPointsPerLife = 150000;

// The result sequences' clocks run from 8500 (level complete) or 5000 (defeat) down, and stay at -1 once a
// sequence has ended and its page waits. An ended sequence stands at its last moment: what it has taken
// away (the board, the panel, a shake held back) stays away.
bool completeSequenceStarted(Rules& r); // the level-complete sequence runs or has ended
bool defeatSequenceStarted(Rules& r);   // the defeat sequence runs or has ended
bool levelDecided(Rules& r);            // either: the level is won or lost, and no move may start
