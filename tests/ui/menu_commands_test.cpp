#include <gtest/gtest.h>

#include <cstring>

#include "tests/ui/menu_fixture.h"

class MenuCommands : public MenuFixture {
  protected:
    void SetUp() override {
        MenuFixture::SetUp();
        ASSERT_TRUE(createProfile("ANNA"));
        selectProfile(0);
        setProfileMode(0);
    }
};

TEST_F(MenuCommands, StartOnTheCurrentLevelPlaysIt) {
    open("main");
    choose("mode1");
    ASSERT_EQ(page(), "mode1");
    EXPECT_EQ(menus.selectedLevel, 0);
    choose("start");
    EXPECT_EQ(hostLog.playedLevel, 0);
}

TEST_F(MenuCommands, StartingAnotherLevelWithPointsAsksAndYesClearsTheScore) {
    setProfileMode(0);
    Profile& p = currentProfile();
    p.openZone[0] = 1;
    p.openLevelInZone[0] = 2; // level 7 opened
    setProfileScore(1200);
    open("main");
    choose("mode1");
    menus.selectedLevel = 7;
    choose("start");
    ASSERT_EQ(page(), "messageboxyn");
    EXPECT_EQ(hostLog.playedLevel, -1);
    choose("yes");
    EXPECT_EQ(profileScore(), 0);
    EXPECT_EQ(profileLevel(), 7);
    EXPECT_EQ(hostLog.playedLevel, 7);
}

TEST_F(MenuCommands, AModeWhoseGameWasOverRestartsBeforeItsPageOpens) {
    setProfileMode(1);
    Profile& p = currentProfile();
    p.lives[1] = -1;
    p.score[1] = 900;
    open("main");
    choose("mode2");
    EXPECT_EQ(p.lives[1], 3);
    EXPECT_EQ(p.score[1], 0);
    EXPECT_EQ(page(), "mode2");
}

TEST_F(MenuCommands, ASavedGameIsOfferedAndYesResumesIt) {
    currentProfile().savedGame[2] = 1;
    open("main");
    choose("mode3");
    ASSERT_EQ(page(), "loadgamequest");
    choose("yes");
    EXPECT_EQ(hostLog.resumed, 1);
}

TEST_F(MenuCommands, NoToTheSavedGameForgetsItAndOpensTheMap) {
    currentProfile().savedGame[0] = 1;
    open("main");
    choose("mode1");
    choose("no");
    EXPECT_EQ(currentProfile().savedGame[0], 0);
    EXPECT_EQ(page(), "mode1");
}

TEST_F(MenuCommands, MainFromTheInGameMenuSavesAndNotesIt) {
    hostLog.inGame = true;
    hostLog.saveAllowed = true;
    game.menuOpen = true;
    open("gameplay");
    choose("main");
    ASSERT_EQ(page(), "messageboxok");
    EXPECT_EQ(hostLog.mapShown, 0);
    choose("ok");
    EXPECT_EQ(hostLog.mapShown, 1);
    EXPECT_EQ(page(), "main");
}

TEST_F(MenuCommands, SkipTakesALifeAndGoesOnWhileNoSkipNoteReturnsToPlay) {
    hostLog.inGame = true;
    game.menuOpen = true;
    currentProfile().lives[0] = 2;
    open("gameplay");
    choose("skip level");
    ASSERT_EQ(page(), "messageboxyn");
    choose("yes");
    EXPECT_EQ(profileLives(), 1);
    EXPECT_EQ(profileLevel(), 1);
    EXPECT_EQ(hostLog.playedLevel, 1);

    currentProfile().lives[0] = 0;
    game.menuOpen = true;
    open("gameplay");
    choose("skip level");
    ASSERT_EQ(page(), "messageboxok");
    choose("ok");
    EXPECT_FALSE(game.menuOpen); // back to play, not to the map
    EXPECT_EQ(hostLog.mapShown, 0);
}

TEST_F(MenuCommands, RemovingTheLastProfileAsksForANewOne) {
    open("profiles");
    menus.hoveredWidget = 0;
    choose("remove");
    choose("yes");
    EXPECT_EQ(settings.profileCount, 0);
    EXPECT_EQ(page(), "newprofile");
}

TEST_F(MenuCommands, ANewProfileIsCreatedFromTheTypedNameAndATakenNameKeepsTheText) {
    open("newprofile");
    for (unsigned k : {65u, 78u, 78u, 65u}) press(k); // "ANNA" is taken
    press(13);
    EXPECT_EQ(page(), "newprofile");
    EXPECT_STREQ(menus.nameBuffer, "ANNA");
    press(66);
    press(13);
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(settings.profileCount, 2);
    EXPECT_STREQ(currentProfile().name, "ANNAB");
}

TEST_F(MenuCommands, ExitAsksAndYesEndsTheProgram) {
    open("main");
    choose("exit");
    choose("yes");
    EXPECT_TRUE(app.quitRequested);
}
