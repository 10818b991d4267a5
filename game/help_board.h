// The demonstration board of the help pages runs on the same rules as the game board.
#pragma once

bool loadAllLevelFiles(); // start-up: reads every level file once and opens the help files (fatal if missing)
void helpBoardSweep();    // one frame of the demonstration board (the caller halves the frame time)
void helpBoardClick(int x, int y); // the demonstration cursor clicks a cell of the demonstration board
