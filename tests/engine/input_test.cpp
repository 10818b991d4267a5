#include "engine/input.h"

#include <gtest/gtest.h>

#include "platform/headless.h"

namespace {

void expectPoint(const ScreenPoint& p, float x, float y) {
    EXPECT_FLOAT_EQ(p.x, x);
    EXPECT_FLOAT_EQ(p.y, y);
}

TEST(ScreenUnits, TheWindowsCornersAndCentre) {
    const ViewRect window{0, 0, 800, 600};
    expectPoint(screenUnitsFromWindow(0, 0, window), -400, 300);
    expectPoint(screenUnitsFromWindow(400, 300, window), 0, 0);
    expectPoint(screenUnitsFromWindow(800, 600, window), 400, -300);
}

TEST(ScreenUnits, ScaledFullScreenMapsThroughThePicture) {
    const ViewRect picture{240, 0, 1440, 1080}; // 1920 x 1080 desktop
    expectPoint(screenUnitsFromWindow(240, 0, picture), -400, 300);
    expectPoint(screenUnitsFromWindow(960, 540, picture), 0, 0);
    expectPoint(screenUnitsFromWindow(1680, 1080, picture), 400, -300);
    expectPoint(screenUnitsFromWindow(600, 270, picture), -200, 150);
}

TEST(ScreenUnits, APointOnABlackBarLiesOutsideTheScreen) {
    const ViewRect wide{240, 0, 1440, 1080};
    EXPECT_LT(screenUnitsFromWindow(100, 540, wide).x, -400);
    EXPECT_GT(screenUnitsFromWindow(1800, 540, wide).x, 400);
    const ViewRect tall{0, 32, 1280, 960}; // 1280 x 1024 desktop
    EXPECT_GT(screenUnitsFromWindow(640, 10, tall).y, 300);
    EXPECT_LT(screenUnitsFromWindow(640, 1010, tall).y, -300);
}

} // namespace
