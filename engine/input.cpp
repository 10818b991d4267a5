#include "engine/input.h"

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
    int x = 0, y = 0;
    cursorInWindow(&x, &y);
    return screenUnitsFromWindow(x, y, windowPicture());
}
