#include "engine/input.h"

#include "engine/app_state.h"
#include "engine/limits.h"

ScreenPoint screenUnitsFromWindow(int windowX, int windowY, const ViewRect& picture) {
    ScreenPoint p;
    if (picture.w <= 0 || picture.h <= 0) return p;
    p.x = static_cast<float>(windowX - picture.x) * kScreenWidth / static_cast<float>(picture.w) -
          kScreenWidth / 2;
    p.y = kScreenHeight / 2 -
          static_cast<float>(windowY - picture.y) * kScreenHeight / static_cast<float>(picture.h);
    return p;
}

ScreenPoint mouseInScreenUnits() {
    // The picture's rectangle of this moment: after a resize the pointer maps through the new one.
    return screenUnitsFromWindow(app.mouseX, app.mouseY, windowPicture());
}
