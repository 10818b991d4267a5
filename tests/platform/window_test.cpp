#include "platform/window.h"

#include <gtest/gtest.h>

#include "platform/headless.h"

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

// The size a window opens with, judged against the desktop of the headless stand-in.
struct OpeningSize {
    int width, height;
    bool maximised;
};

OpeningSize openOn(ViewRect desktop, int width, int height, bool maximised) {
    installHeadlessPlatform();
    headless.desktop = desktop;
    windowedSizeOnDesktop(&width, &height, &maximised);
    removeHeadlessPlatform();
    return {width, height, maximised};
}

void expectOpening(const OpeningSize& s, int width, int height, bool maximised) {
    EXPECT_EQ(s.width, width);
    EXPECT_EQ(s.height, height);
    EXPECT_EQ(s.maximised, maximised);
}

TEST(WindowOnDesktop, ASizeThatFitsTheDesktopIsKept) {
    ViewRect laptop{0, 0, 1280, 800};
    expectOpening(openOn(laptop, 1000, 700, false), 1000, 700, false);
    expectOpening(openOn(laptop, 1280, 800, true), 1280, 800, true);
    expectOpening(openOn(ViewRect{}, 3000, 2000, false), 3000, 2000, false); // the desktop is not known
}

TEST(WindowOnDesktop, ASizeBeyondTheDesktopOrOfNoPixelsGivesThePlainWindow) {
    ViewRect laptop{0, 0, 1280, 800};
    expectOpening(openOn(laptop, 16384, 16384, true), 800, 600, false);
    expectOpening(openOn(laptop, 1281, 700, false), 800, 600, false);
    expectOpening(openOn(laptop, 1000, 801, false), 800, 600, false);
    expectOpening(openOn(laptop, 0, 600, false), 800, 600, false);
    expectOpening(openOn(ViewRect{}, -800, 600, false), 800, 600, false);
    // On a desktop too small for the plain window, the largest picture of its shape.
    expectOpening(openOn(ViewRect{0, 0, 1024, 552}, 2000, 1500, false), 736, 552, false);
}

} // namespace
