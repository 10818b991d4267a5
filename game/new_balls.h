// New balls: previews announced on free cells, placed after a move that removes nothing, then appearing.
#pragma once

struct Rules;

int rulesDraw(Rules& r, int n); // one draw of the rules' generator modulo n (0 when n <= 0)
void drawPreview(Rules& r);     // announces one preview on a random free cell
void placePreviews(Rules& r);   // turns every announced preview into an appearing ball
bool advanceAppearance(Rules& r, int x,
                       int y);      // one frame of a cell's appearing ball; true when it has just finished
void computeBallsPerTurn(Rules& r); // balls per turn from the board size, the level and the mode
void fillBoardAtStart(Rules& r);    // the first balls and previews of a level
int wouldFormLine(Rules& r, int x,
                  int y); // longest run a preview would complete with its neighbours, 0 if none
