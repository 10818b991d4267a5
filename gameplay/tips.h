// In-game tips: speech balloons that explain pieces, squares and buttons, each shown once per player
// profile (its "seen" flag), or on demand with the help cursor; and the help button's tooltip.
#pragma once

constexpr int kTipRows = 14;

// One row of the tip table: the key decides the row.
struct TipRow {
    const char* key;
    const char* title;  // text keys shown
    const char* body;   // null: the title only
    int picture;        // -1 none; 0 ball, 1 joker, 2 triple bomb, 3 diamond, 4 quadro bomb
    bool seenWhenShown; // marked as seen as soon as it is offered (else when the player closes it)
};

extern const TipRow kTipTable[kTipRows];

constexpr int kTipTextLength = 127;

struct TipState {
    bool active = false;                 // a balloon is pending or shown
    float x = 0, y = 0;                  // where it is drawn
    char title[kTipTextLength + 1] = {}; // text keys, or a finished text when literal is set
    char body[kTipTextLength + 1] = {};
    bool literalTitle = false; // the title is a finished text (the progress bar's percentage)
    int picture = -1;
    float delayMs = 0;          // shows below 0; a click counts from -250 on
    int cellX = -1, cellY = -1; // the cell the tip is about
    int pieceKind = -1;         // the piece it is about
    int heldKind = -1;          // the cell's piece when the tip was raised (-1: none)
    bool heldAnnounced = false; // the cell held an announced ball then
    int row = -1;               // row of the tip table, -1 when not remembered
    bool hasButton = true;      // "continue" button; the tooltip has none
    // Balloon geometry of the last drawing (the click test uses the button's rectangle).
    float buttonLeft = 0, buttonTop = 0, buttonRight = 0, buttonBottom = 0;
};

extern TipState tips;

void resetTips();
int tipRow(const char* key); // row of a key, -1 when the table has none
// Offers a tip unless the player has seen its row; rows 0, 3 and 4 count as seen at once.
void showTip(float x, float y, const char* key, int cellX, int cellY, float delayMs, int pieceKind);
void drawTip(int click); // every frame with 0 (draws it), and with 1 for a left click on the board
void helpTipAtMouse();   // the help cursor's click: the tip for what is under the mouse, shown at once
void helpTipForCell(int cx, int cy); // the help cursor's tip for a cell of the board (also from the keys)
bool tipShownNow();                  // a balloon is on screen (the level bar and idle timer wait)
void drawTooltip();                  // the help button's tooltip balloon, for this frame
