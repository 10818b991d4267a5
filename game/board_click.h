// The board's part of the mouse buttons, cell by cell: what a left click, a double click or a right click
// on the board and a click on the hammer icon do to the rules. The game scene's board input maps the mouse
// to a cell and calls these between its own buttons and menus; the simulator, the bot and the tests call
// them with a cell, so every player of the rules goes through the same functions.
#pragma once

struct Rules;

// The result sequences, the guards after the last level and a finished stage, and the pause: the checks of
// every left click before anything else; true when the click is used up. A ball standing still mid-route
// (behind the pause) does not stop a click from resuming.
bool flowClickTaken(Rules& r);
bool leftClickTaken(Rules& r); // flowClickTaken, then a ball moving takes the click too; true when used up
void clickCell(Rules& r, int x,
               int y);        // a left click on cell (x, y); any x, y (a point off the field deselects)
bool useHammerIcon(Rules& r); // a click on the hammer icon: arms or puts down a full hammer; true if it did
void doubleClickCell(Rules& r, int x, int y); // a double click on a real cell: selects its ball, silently
void rightClickBoard(Rules& r);               // right button down on the board

// A whole left click as the board input makes it when no menu is open (simulator, bot, tests).
void leftClickCell(Rules& r, int x, int y); // leftClickTaken, then clickCell
void clickHammerIcon(Rules& r);             // leftClickTaken, then useHammerIcon
