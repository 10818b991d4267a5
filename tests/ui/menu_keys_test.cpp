#include <gtest/gtest.h>

#include "game/live_rules.h"
#include "tests/ui/menu_fixture.h"

using MenuKeys = MenuFixture;

TEST_F(MenuKeys, ArrowsWrapAndEnterRunsTheSelectedItemAfterTheClosing) {
    open("main");
    press(38);
    EXPECT_EQ(menus.selectedItem, 6); // up from the first wraps to the last
    press(40);
    EXPECT_EQ(menus.selectedItem, 0);
    press(39);
    press(13); // "mode2"
    EXPECT_EQ(page(), "mode2");
    EXPECT_EQ(findPage("mode2")->parent, findPage("main"));
    EXPECT_EQ(game.mode, 1);
}

TEST_F(MenuKeys, EscapeOnMainHidesItAndAnyKeyBringsItBack) {
    open("main");
    press(27);
    EXPECT_TRUE(menus.menuHidden);
    EXPECT_FALSE(menuShown());
    press(65);
    EXPECT_FALSE(menus.menuHidden);
    EXPECT_EQ(page(), "main");
    EXPECT_TRUE(menuShown());
}

TEST_F(MenuKeys, EscapeIsDroppedWhereThePlayerMustAnswer) {
    for (const char* name : {"newprofile", "loadgamequest", "messageboxok"}) {
        resetMenus();
        ASSERT_TRUE(buildMenuTree(kMenuText));
        open(name);
        press(27);
        EXPECT_EQ(page(), name);
        EXPECT_EQ(menus.fadeAmount, 0) << name;
    }
}

TEST_F(MenuKeys, EscapeGoesBackToTheParentWithThePageSelected) {
    open("main");
    choose("options");
    ASSERT_EQ(page(), "options");
    press(27);
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(menus.selectedItem, 3);
}

TEST_F(MenuKeys, CreditsTurnEveryKeyIntoBack) {
    open("main");
    choose("credits");
    ASSERT_EQ(page(), "credits");
    press(65);
    EXPECT_EQ(page(), "main");
}

TEST_F(MenuKeys, NewProfileIsRefusedWithEightProfiles) {
    for (int i = 0; i < kMaxProfiles; ++i) ASSERT_TRUE(createProfile(std::string(1, char('A' + i)).c_str()));
    open("profiles");
    menus.selectedItem = 1;
    press(13);
    EXPECT_EQ(page(), "profiles");
    EXPECT_FALSE(menus.closing);
}

TEST_F(MenuKeys, HiscoreTablesWrapBothWays) {
    open("hiscore");
    press(37);
    EXPECT_EQ(menus.hiscoreTable, 2);
    press(39);
    press(39);
    EXPECT_EQ(menus.hiscoreTable, 1);
}

TEST_F(MenuKeys, KeysDuringATransitionAreIgnored) {
    openPage(MenuId::Main);
    menuKey(40);
    EXPECT_EQ(menus.menuKeyCode, 0u);
    settle();
    EXPECT_EQ(menus.selectedItem, 0);
}

TEST_F(MenuKeys, EscapeOnTheInGameMenuReturnsToPlay) {
    hostLog.inGame = true;
    game.menuOpen = true;
    open("gameplay");
    press(27);
    EXPECT_FALSE(game.menuOpen);
}

TEST_F(MenuKeys, KeysArrivingBetweenTwoFramesAreHandledInTurn) {
    open("main");
    menuKey(40);
    menuKey(40);
    menuKey(40);
    settle();
    EXPECT_EQ(menus.selectedItem, 3);
}

TEST_F(MenuKeys, KeysPressedWithTheOneThatClosesAPageDoNotReachTheNextPage) {
    // Two quick Returns on "exit": the first asks the question, the second must not answer it.
    open("main");
    menus.selectedItem = itemIndexOf(menus.currentPage, "exit");
    menuKey(13);
    menuKey(13);
    settle();
    settle();
    EXPECT_EQ(page(), "messageboxyn");
    EXPECT_FALSE(app.quitRequested);
    EXPECT_EQ(menus.fadeAmount, 0);
    EXPECT_EQ(menus.menuKeyCode, 0u);

    // Return and two Downs together on "back": "main" opens with the mode's item selected, not moved on.
    open("main");
    choose("mode1");
    ASSERT_EQ(page(), "mode1");
    menus.selectedItem = itemIndexOf(menus.currentPage, "back");
    menuKey(13);
    menuKey(40);
    menuKey(40);
    settle();
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(menus.selectedItem, itemIndexOf(findPage("main"), "mode1"));
}
