// The board part of the mouse buttons: what a click on a cell, a right click or the hammer icon does to
// the rules. The game scene's input handling calls these after its own buttons and menus.
#pragma once

void leftClickCell(int x, int y); // left button down over cell (x, y) (any cell of the 30 x 30 field)
void rightClickBoard();           // right button down on the board
void clickHammerIcon();           // left button down inside the hammer icon
