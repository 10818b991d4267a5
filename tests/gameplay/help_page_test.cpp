#include "gameplay/help_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Lines of 22 units, 9 units a character, as a stand-in for the font at size 12.
float fakeHeight(const char* text, float width) {
    return 22 * std::ceil(static_cast<float>(std::strlen(text)) * 9 / width);
}

bool onScreen(const HelpLayout& l) {
    return l.height / 2 + 32 <= 300 && l.panelWidth / 2 + 32 <= 400;
}

} // namespace

TEST(HelpPage, KeepsItsWidthWhileItFitsAndWidensItsTextsOnlyAsFarAsNeeded) {
    HelpLayout small = helpLayout(fakeHeight, "Click a ball.", "Clear the balls.");
    EXPECT_EQ(small.textWidth, 330);
    EXPECT_EQ(small.panelWidth, 390);
    EXPECT_EQ(small.height, 404 + 22 + 22);

    // Texts of the authored length: five lines each at 330 would run the page off the screen.
    std::string tip(170, 'x'), help(165, 'y');
    ASSERT_GT(404 + fakeHeight(tip.c_str(), 330) + fakeHeight(help.c_str(), 330) + 64, 600);
    HelpLayout wide = helpLayout(fakeHeight, tip.c_str(), help.c_str());
    EXPECT_TRUE(onScreen(wide));
    EXPECT_EQ(wide.panelWidth, wide.textWidth + 60);
    EXPECT_EQ(wide.tipHeight, fakeHeight(tip.c_str(), wide.textWidth));
    float narrower = wide.textWidth - 40; // the step before did not fit
    EXPECT_GT(404 + fakeHeight(tip.c_str(), narrower) + fakeHeight(help.c_str(), narrower) + 64, 600);

    // Texts too long for any width stop at the widest panel the screen holds.
    std::string endless(2000, 'z');
    HelpLayout widest = helpLayout(fakeHeight, endless.c_str(), endless.c_str());
    EXPECT_LE(widest.panelWidth / 2 + 32, 400);
    EXPECT_GT(widest.panelWidth + 40 + 64, 800);
}

TEST(HelpPage, DividerLinesEndInsideThePanelAtEveryWidth) {
    // 390 is the page's own width; the wider ones come from longer texts.
    for (float width : {390.0f, 430.0f, 470.0f, 510.0f, 733.0f}) {
        DividerPieces pieces = helpDividerPieces(width / 2);
        int n = pieces.size();
        ASSERT_GT(n, 0);
        float left = pieces[0].x - pieces[0].width / 2;
        float right = pieces[n - 1].x + pieces[n - 1].width / 2;
        EXPECT_NEAR(left, -width / 2 + 6.5f, 0.01f) << width;
        EXPECT_NEAR(right, width / 2 - 4.5f, 0.01f) << width; // not past the frame on the right
        for (int i = 1; i < n; ++i)                           // no gaps and no overlaps between the pieces
            EXPECT_NEAR(pieces[i].x - pieces[i].width / 2, pieces[i - 1].x + pieces[i - 1].width / 2, 0.01f);
        for (int i = 0; i < n; ++i)
            EXPECT_LE(pieces[i].width, 32.01f); // half-size tiles, never stretched long
    }
}
