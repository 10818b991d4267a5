// The pointer in screen units: 800 x 600 units, origin at the centre of the picture, x to the right,
// y upward. In full screen the picture is scaled and centred; a pointer on a black bar (or outside the
// window) maps beyond -400..400 / -300..300, so nothing laid out on the screen is hit from there.
#pragma once

#include "platform/window.h"

struct ScreenPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Pure mapping of a position in window coordinates through the picture's rectangle in the same units.
ScreenPoint screenUnitsFromWindow(int windowX, int windowY, const ViewRect& picture);
ScreenPoint mouseInScreenUnits(); // the system cursor now, in screen units
