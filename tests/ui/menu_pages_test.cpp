#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "engine/text_table.h"
#include "game/live_rules.h"
#include "tests/ui/menu_fixture.h"

using MenuPages = MenuFixture;

TEST_F(MenuPages, AWonLevelWithScoreZeroFillsEveryStatisticsRowAtOnce) {
    game.score = 0;
    open("levelcomplete");
    app.frameTimeMs = 20;
    menuUpdate();
    menuDraw();
    EXPECT_EQ(menus.stats.stage, 4);
}

TEST_F(MenuPages, EnterEndsTheCountUpBeforeItActivatesTheItem) {
    game.score = 2000;
    open("levelcomplete");
    press(13);
    EXPECT_EQ(menus.stats.stage, 4);
    EXPECT_EQ(page(), "levelcomplete");
    EXPECT_FALSE(menus.closing);
}

TEST_F(MenuPages, CreditsStopWhenTheLastLineReachesTheBottom) {
    splitCreditLines(
        "line 0\r\nline 1\r\nline 2\r\nline 3\r\nline 4\r\nline 5\r\nline 6\r\nline 7\r\nline 8\r\nline 9");
    ASSERT_EQ(menus.creditLines.size(), 10);
    open("credits");
    app.frameTimeMs = 1000;
    for (int i = 0; i < 30; ++i) menuDraw();
    EXPECT_NEAR(0.03f * menus.creditsTimerMs - 200, 350, 30); // stops at the first frame past 40 * 10 - 50
    float stopped = menus.creditsTimerMs;
    menuDraw();
    EXPECT_EQ(menus.creditsTimerMs, stopped);
}

TEST_F(MenuPages, ALockedLevelMarkCanBeChosenOnlyWhileAllLevelsAreOpen) {
    createProfile("ZED");
    open("mode1");
    menuDraw();
    ASSERT_EQ(menus.widgets.size(), kLevelCount);
    // Every mark sits on the same point without a path; put mark 5 somewhere of its own.
    menus.widgets[5] = Widget{100, 112, 124, 88, WIDGET_LEVELMARK, 0, 0, 0};
    app.mouseX = 400 + 112;
    app.mouseY = 300 - 100;
    menuClick();
    EXPECT_EQ(menus.selectedLevel, 0);
    menuHost.allLevelsOpen = [] { return true; }; // the typed word that opens every level
    menuClick();
    EXPECT_EQ(menus.selectedLevel, 5);
}

TEST_F(MenuPages, TheProfileListRegistersOneLinePerProfileWithTheFirstChosen) {
    for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H"}) createProfile(name);
    open("profiles");
    menuDraw();
    int profileWidgets = 0;
    for (int i = 0; i < menus.widgets.size(); ++i) profileWidgets += menus.widgets[i].type == WIDGET_PROFILE;
    EXPECT_EQ(profileWidgets, 8);
    EXPECT_EQ(menus.hoveredWidget, 0);
}

TEST_F(MenuPages, TheMainPanelKeepsItsPlaceWhenItFitsAndStaysOnTheScreenOtherwise) {
    EXPECT_FLOAT_EQ(mainPanelCentreY(5), 100); // 308 high: its frame ends at y 286
    for (int items = 1; items <= 11; ++items) {
        float top = mainPanelCentreY(items) + mainPanelHeight(items) / 2;
        float bottom = mainPanelCentreY(items) - mainPanelHeight(items) / 2;
        EXPECT_LE(top + 32, 300) << items;
        EXPECT_GE(bottom - 32, -300) << items;
    }

    // The authored main page, drawn: every line of its list on the screen, the modes above the centre.
    ASSERT_TRUE(buildAuthoredMenus());
    giveDrawRoutines();
    open("main");
    menuDraw();
    int items = menus.currentPage->items.size();
    ASSERT_EQ(menus.buttons.size(), items);
    float centre = mainPanelCentreY(items);
    EXPECT_LE(centre + mainPanelHeight(items) / 2 + 32, 300);
    for (int i = 0; i < items; ++i) {
        EXPECT_LE(menus.buttons[i].top, 300) << i;
        EXPECT_EQ(menus.buttons[i].bottom > centre, i < 3) << i;
    }
}

TEST_F(MenuPages, TheLoadQuestionsLineComesFromTheTextTable) {
    createProfile("ZED");
    setProfileLevel(12);
    setProfileScore(40);
    char line[128];
    freeTextTable();
    zoneLevelScoreLine(line, sizeof line);
    EXPECT_STREQ(line, "") << "no text of the program's own stands in for the table's";
    const char texts[] = "zonelevscore=Stage %i, level %i, score %i\r\n";
    parseTextTable(texts, sizeof texts - 1);
    zoneLevelScoreLine(line, sizeof line);
    EXPECT_STREQ(line, "Stage 3, level 3, score 40");
    const char other[] = "zonelevscore=Stage %s at %i\r\n";
    freeTextTable();
    parseTextTable(other, sizeof other - 1);
    zoneLevelScoreLine(line, sizeof line);
    EXPECT_STREQ(line, "Stage %s at %i") << "a format that wants other values is shown as it stands";
    freeTextTable();
}
