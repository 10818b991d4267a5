#include "ui/help_page.h"

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
