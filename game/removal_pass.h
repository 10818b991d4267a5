// Line detection, explosions, the removal of marked pieces, combos, hammer charge, earned pieces and awards.
#pragma once

struct Rules;

bool matchAt(Rules& r, int x, int y, int kind); // cell holds a finished ball of that kind or a wild piece
// Length of the run of that kind through (x, y) in line direction d; (sx, sy) receives its first cell.
int runThrough(Rules& r, int x, int y, int d, int kind, int& sx, int& sy);
int markLinesFrom(Rules& r, int x, int y); // marks the runs through (x, y); length of the longest, 0 if none
int removalPass(Rules& r, bool fromMove);  // the whole pass; number of marked cells that held a piece
void resetPassCounters(Rules& r);          // the counts of one pass (pieces, balls, squares) back to zero
void removeBall(Rules& r, int x, int y);   // removes one piece into the removal queue
void unchain(Rules& r, int x, int y);      // removes one chain of a chained ball
void hitSquare(Rules& r, int x, int y);    // removes one layer of a busy square
void clearAllBalls(Rules& r);   // removes every piece of the playing area, then deals the next balls
void stripAllSquares(Rules& r); // removes one layer of every busy square

struct AwardState {
    bool nextIsPerfect = false; // "excellent" and "perfect" alternate for the whole run of the program
    int lastSweeps = 0;         // explosion sweeps of the last pass (diagnostics and tests)
};
