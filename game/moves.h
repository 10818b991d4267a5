// Selecting a ball, starting a move, the travel along the route and the landing.
#pragma once

void deselect();                   // no ball selected
void clickBall(int x, int y);      // a left click on a cell that holds a ball
bool clickEmptyCell(int x, int y); // a left click (or drag release) on an empty cell; true if a move started
void updateMove(int x, int y);     // one frame of travel of the ball moving out of cell (x, y)
// A ball's move is in progress (travelling, or standing still mid-route behind a menu or the pause).
bool travelInProgress();
// Cell (x, y) is the target of the move in progress: it is taken, and nothing may be placed on it.
bool boundForTravel(int x, int y);
