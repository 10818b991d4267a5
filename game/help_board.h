// The demonstration boards of the help page and the tips' balloons run on the same rules as the game
// board, each on a Rules value of its own.
#pragma once

struct Rules;

bool loadAllLevelFiles(); // start-up: reads every level file once and opens the help files (fatal if missing)
void helpBoardSweep(Rules& demo); // one frame of a demonstration board (the caller halves the frame time)
void helpBoardClick(Rules& demo, int x, int y); // the demonstration cursor clicks a cell of its board
