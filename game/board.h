// The playing field: 30 x 30 cells stored column by column, with a five-cell margin of non-existent cells
// around the 20 x 15 playing area so that scans and blasts can run off the edge without bounds checks.
// The saved game's layout of these records is its own (game/saved_game_record.h).
#pragma once

#include <cstdint>

struct Rules;

// Piece kinds held in `Ball::kind` and `Cell::pendingKind`.
constexpr int32_t kNoPiece = -1;
constexpr int32_t kColourCount = 8; // colours 0..7
constexpr int32_t kJoker = 10;
constexpr int32_t kTripleBomb = 11;
constexpr int32_t kDiamond = 12;
constexpr int32_t kQuadroBomb = 13;
constexpr int32_t kFirstWild = 10; // every kind from here on matches every colour in a line

constexpr int kBoardSize = 30; // cells per side of the stored field
constexpr int kBoardCells = kBoardSize * kBoardSize;
constexpr int kPlayLeft = 5; // playing area: x 5..24, y 5..19
constexpr int kPlayRight = 24;
constexpr int kPlayTop = 5;
constexpr int kPlayBottom = 19;
constexpr int kPlayCells = (kPlayRight - kPlayLeft + 1) * (kPlayBottom - kPlayTop + 1);
constexpr float kCellPixels = 40.0f; // side of a cell in screen units

// The ball that sits on a cell; moved as one block when a ball travels.
struct Ball {
    float offsetX; // drawing offset from the cell centre while travelling; 0 at rest
    float offsetY;
    int32_t kind;        // kNoPiece, a colour 0..7, or a wild piece 10..13
    float ballClockMs;   // age of the ball (animation phase)
    int32_t moveTargetX; // target cell of a move in progress; -1 = not moving
    int32_t moveTargetY;
    float moveTimeLeftMs; // remaining time of the move in progress; 0 at rest
    float appearMs;       // 500 when created, counts down; the ball joins lines only at <= 0
    float vanishDelayMs;  // set to -1 by newBall; no rule reads it
    float phase;          // random animation phase in [0, 1]
    int32_t chains;       // chains still to break; a chained ball cannot be moved
};
constexpr int32_t kMaxBallChains = 9; // more than any level puts on a ball

// One cell of the field.
struct Cell {
    int32_t square;       // -1 = no cell (hole or margin); 0 = clean; n > 0 = busy square with n layers
    int32_t pathDistance; // steps from the selected ball; -1 = unreached
    Ball ball;            // the piece on the cell
    int32_t pendingKind;  // piece announced for this cell (preview or earned piece); -1 = none
    float pendingMs;      // 500 when announced, 0 when placed
    float cellClockMs;    // grows every frame (animation phase)
    float pulseMs;        // glow clock of busy squares
    float scale;          // highlight scale of the square, eased back to 1 every frame
    uint8_t marked;       // 1 = taking part in the current removal pass
};

struct Board {
    Cell cells[kBoardCells]; // column-major: cell (x, y) is cells[x * 30 + y]
};

struct Point {
    float x;
    float y;
};

inline bool isPlayCell(int x, int y) { // inside the 20 x 15 area
    return x >= kPlayLeft && x <= kPlayRight && y >= kPlayTop && y <= kPlayBottom;
}
inline bool isWild(int32_t kind) {
    return kind >= kFirstWild;
}

Point cellCentre(int x, int y); // screen centre of a cell
void cellFromPoint(float px, float py, int* x,
                   int* y);              // the cell under a screen point (may be off the field)
bool cellExists(Rules& r, int x, int y); // on the 30 x 30 field and square != -1
void clearBoard(Rules& r);               // every cell of the current board becomes "no cell"
void countFreeCells(Rules& r);           // recomputes game.freeCells on the current board
int freeCellsOn(const Board& board);     // existing cells of a board without a ball
bool freeCellsAgree(Rules& r); // the rules' invariant: game.freeCells is the current board's count (checked
                               // by assert)
int countExistingCells(Rules& r);   // cells of the current board with square >= 0
void newBall(Rules& r, Cell& cell); // a fresh appearing ball record; the caller sets kind
