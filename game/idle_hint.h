// The idle hint: after a while without a selection the game suggests a move.
#pragma once

#include <cstdint>

#include "game/board.h"

struct Rules;

struct HintScratch {
    uint8_t runMarks[kBoardCells];   // cells of the runs found while testing targets
    uint8_t reachMarks[kBoardCells]; // cells reached by the mover search
};

// Once per frame; shows a hint past the level's threshold. An in-game tip on screen holds the timer.
void updateIdleTimer(Rules& r, bool tipOnScreen);
int idleThresholdMs(int levelIndex);    // waiting time before a hint
bool showHint(Rules& r);                // searches and shows a suggestion; false if none
int bestKindAt(Rules& r, int x, int y); // kind completing the longest lines at an empty cell, -1 if none
bool findMover(Rules& r, int kind, int x, int y, int* moverX,
               int* moverY); // a free ball of that kind reaching (x, y)
void updateHint(Rules& r);   // once per frame while a hint is shown
