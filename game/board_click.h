// The board's part of the mouse buttons, cell by cell: what a left click, a double click or a right click
// on the board and a click on the hammer icon do to the rules. The game scene's board input maps the mouse
// to a cell and calls these between its own buttons and menus; the simulator, the bot and the tests call
// them with a cell, so every player of the rules goes through the same functions.
#pragma once

// The result sequences, the guards after the last level and a finished stage, and the pause: the checks of
// every left click before anything else; true when the click is used up. A ball standing still mid-route
// (behind the pause) does not stop a click from resuming.
bool flowClickTaken();
bool leftClickTaken();        // flowClickTaken, then a ball moving takes the click too; true when used up
void clickCell(int x, int y); // a left click on cell (x, y); any x, y (a point off the field deselects)
bool useHammerIcon();         // a click on the hammer icon: arms or puts down a full hammer; true if it did
void doubleClickCell(int x, int y); // a double click on a real cell: selects its ball, silently
void rightClickBoard();             // right button down on the board

// A whole left click as the board input makes it when no menu is open (simulator, bot, tests).
void leftClickCell(int x, int y); // leftClickTaken, then clickCell
void clickHammerIcon();           // leftClickTaken, then useHammerIcon
