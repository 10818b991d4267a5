// Selecting a ball, starting a move, the travel along the route and the landing.
#pragma once

struct Rules;

void deselect(Rules& r);                // no ball selected
void clickBall(Rules& r, int x, int y); // a left click on a cell that holds a ball
bool clickEmptyCell(Rules& r, int x,
                    int y); // a left click (or drag release) on an empty cell; true if a move started
void updateMove(Rules& r, int x, int y); // one frame of travel of the ball moving out of cell (x, y)
// A ball's move is in progress (travelling, or standing still mid-route behind a menu or the pause).
bool travelInProgress(Rules& r);
// Cell (x, y) is the target of the move in progress: it is taken, and nothing may be placed on it.
bool boundForTravel(Rules& r, int x, int y);
