// The board view: squares, pieces and their animations, previews, the path and blast previews, the
// board's fades and the level-complete break-up. Drawn once per game frame after the rules' board sweep
// has advanced the cells' clocks and scales; it writes nothing that the rules read.
//
// Sprites of one pass are drawn in groups of one picture each (all clean squares, then all busy ones,
// ...; all shadows, then the balls colour by colour), keeping the board order inside a group. Pieces
// never overlap one another and squares only at their thin rims, so the picture is the one that
// cell-by-cell drawing gives, with a few dozen draw calls instead of one or two per cell.
#pragma once

#include "engine/limits.h"
#include "game/board.h"

struct Rules;

constexpr float kSquareHalfSize = 23.1f;
constexpr float kAnnouncedHalfSize =
    8; // an announced ball, half the size of a ball: easy to spot, clearly not one
constexpr float kPieceHalfSize = 16.0f;

struct BoardView {
    float trailMs = 0; // time towards the next spark of the travel trail
    int hoverX = -1;   // the cell under the mouse this frame
    int hoverY = -1;
};

extern BoardView boardView;

void resetBoardView();
// The whole board of one frame (its clocks advanced by the board's frameMs), including its fades and the
// break-up. The board the player plays follows the pointer and the keyboard's cursor and raises its
// pieces' sparks and trails; a board drawn elsewhere (the help demonstration) does neither: the pointer
// is not over it, and its effects would stand on the live board.
void drawBoard(Rules& r, bool played = true);

// Sprites of one piece (centre, half-size h, clock t = ballClockMs), shadows and bodies separately.
void drawPieceShadow(int kind, float x, float y, float h);
void drawPieceBody(int kind, float x, float y, float h, float t);
void drawPieceSparks(int kind, float x, float y, float h, float t,
                     float frameMs); // fuse sparks, diamond sparkles
void drawRemovalAnimations();        // the pieces of the removal queue vanishing

// Helpers shared with the input and the tests.
bool cellUnderPoint(float x, float y, int* cellX, int* cellY); // false when the point maps off the field
float appearFactor(float appearMs);                            // grow-in of a new piece, with its overshoot
int busySquareCount(Rules& r);                                 // drawn cells with square above 0

// The level-complete break-up.
struct BreakUpTile {
    float x, y;    // position
    float vx, vy;  // velocity
    float clockMs; // time since the tile started moving
    float delayMs; // style 0: when it starts falling
    float radius;  // style 1: distance from the centre and its speed
    float radiusSpeed;
    float angle; // style 1: direction from the centre and its speed
    float angleSpeed;
    float sparkMs; // towards the next spark
};

struct BreakUp {
    BreakUpTile tiles[kBoardCells]; // one per cell of the 30 x 30 field, column by column
    int style = 0;                  // level index modulo 3: fall, spiral, drift
    int pattern = 0;                // style 0: row by row, from the centre, from the edge
};

extern BreakUp breakUp;

void prepareBreakUp(int levelIndex); // at level start
void drawBreakUp(const Rules& r);    // the tiles at this point of the board's level-complete sequence
