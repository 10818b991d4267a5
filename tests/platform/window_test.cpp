#include "platform/window.h"

#include <gtest/gtest.h>

namespace {

void expectRect(const ViewRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(FitPicture, TheWindowIsThePicture) {
    expectRect(fitPicture(800, 600), 0, 0, 800, 600);
}

TEST(FitPicture, AWideScreenGetsBarsLeftAndRight) {
    expectRect(fitPicture(1920, 1080), 240, 0, 1440, 1080);
}

TEST(FitPicture, ATallScreenGetsBarsAboveAndBelow) {
    expectRect(fitPicture(1280, 1024), 0, 32, 1280, 960);
}

TEST(FitPicture, AFourToThreeScreenIsFilled) {
    expectRect(fitPicture(1600, 1200), 0, 0, 1600, 1200);
}

TEST(FitPicture, AnEmptyAreaGivesAnEmptyPicture) {
    expectRect(fitPicture(0, 600), 0, 0, 0, 0);
    expectRect(fitPicture(800, -1), 0, 0, 0, 0);
}

} // namespace
