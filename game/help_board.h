// The demonstration board of the help pages runs on the same rules as the game board.
#pragma once

#include "game/board.h"
#include "game/game_state.h"

bool loadAllLevelFiles(); // start-up: reads every level file once and opens the help files (fatal if missing)
void helpBoardSweep();    // one frame of the demonstration board (the caller halves the frame time)
void helpBoardClick(int x, int y); // the demonstration cursor clicks a cell of the demonstration board
void resetHelpPlay();              // the demonstration's selection and route start empty (a new help board)

// While one lives, the rules work on the demonstration board with the demonstration's own selection,
// route, travel and free-cell count. When it ends the game board is current again and the rule state of
// the level being played is exactly what it was: a demonstration never changes the game.
class HelpBoardScope {
  public:
    HelpBoardScope();
    ~HelpBoardScope();
    HelpBoardScope(const HelpBoardScope&) = delete;
    HelpBoardScope& operator=(const HelpBoardScope&) = delete;

  private:
    Board* previousBoard;
    bool previousActive;
    GameState gameState; // the game's, put back at the end
};
