// Board input: the mouse buttons of the game scene, tested in a fixed order (result sequences, the
// pause, the help cursor, the panel's buttons, an open menu or tip, the help button, the hammer, and
// finally the board), the cursor modes, and the keyboard's cursor cell (the arrows move it over the
// board's existing cells, Return clicks it; the next mouse move hides it).
#pragma once

constexpr float kDragMs = 200; // a left button held longer than this drops the ball where it is released

struct BoardInput {
    bool helpArmed = false;      // the next click asks for a tip (cursor mode 2)
    bool leftHeld = false;       // the left button is down
    float leftHeldMs = 0;        // how long it has been down (advanced by the frame)
    int appliedCursor = 0;       // the system cursor last set for this cursor mode
    bool keyCursorShown = false; // the keyboard's cursor cell is shown (and is the board's hover cell)
    int keyCursorX = -1;         // the keyboard's cursor cell
    int keyCursorY = -1;
    int keyMouseX = 0; // the mouse in window pixels when the cursor cell appeared: a real move hides it
    int keyMouseY = 0;
    // The last left press reached the board (not the pause, a sequence, a menu, a button or a tip), on this
    // cell (one off the field too): only a second press on the same cell makes a double click with it.
    bool pressOnBoard = false;
    int pressX = -1;
    int pressY = -1;
    // The window's cursor for a mode (0 arrow, 1 hammer, 2 help); set by the app, null in tests.
    void (*applySystemCursor)(int mode) = nullptr;
};

extern BoardInput boardInput;

void resetBoardInput();

void setCursorMode(int mode); // 0 normal, 1 hammer armed, 2 help armed; also the window's cursor
void syncCursor();            // the window's cursor follows a mode the rules changed themselves

void boardLeftDown();                 // slot 6
void boardDoubleClick();              // slot 7 (the scene calls it only while no menu is open)
void boardLeftUp();                   // slot 8, before the menu's button-up handling
void boardRightDown();                // slot 9
void boardRightUp();                  // slot 10
void boardMiddleDown(bool cheatKeys); // slot 11: the hammer charge grows in the cheat-key mode
void advanceHeldTime(float frameMs);  // frame step 1: the left button's held time

bool boardTakesKey(int key); // arrows and Return while the game runs: the keyboard cursor's keys
void boardKey(int key);      // arrows show and move the cursor cell, Return clicks the cell under it
void boardMouseMoved();      // the mouse moved: the keyboard's cursor cell hides
