// The pointer in screen units: 800 x 600 units, origin at the centre of the picture, x to the right,
// y upward. The window hands on mouse positions in its own pixels (app.mouseX, app.mouseY); this is the
// one place where they are mapped through the picture's rectangle, for every reader: the board, the
// panel, the tips, the drawn cursor, the menus and the map. In full screen and in a resized window the
// picture is scaled and centred; a pointer on a black bar maps beyond -400..400 / -300..300, so nothing
// laid out on the screen is hit from there.
#pragma once

#include "platform/window.h"

struct ScreenPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Pure mapping of a position in window coordinates through the picture's rectangle in the same units.
ScreenPoint screenUnitsFromWindow(int windowX, int windowY, const ViewRect& picture);
ScreenPoint mouseInScreenUnits(); // the last mouse position, through the picture's rectangle now
