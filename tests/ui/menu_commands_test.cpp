#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/layout_probe.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/live_rules.h"
#include "game/player_link.h"
#include "gameplay/game_flow.h"
#include "player/records.h"

#include "tests/engine/test_font.h"
#include "tests/player/player_folders.h"
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

TEST_F(MenuCommands, ArrowsOnTheMapChooseAmongTheOpenLevelsAndReturnStartsTheChosenOne) {
    Profile& p = currentProfile();
    p.openZone[0] = 1;
    p.openLevelInZone[0] = 2; // levels 0..7 opened
    open("main");
    choose("mode1");
    ASSERT_EQ(menus.selectedLevel, 0);
    press(37); // nothing before the first level
    EXPECT_EQ(menus.selectedLevel, 0);
    press(39);
    press(39);
    EXPECT_EQ(menus.selectedLevel, 2);
    EXPECT_EQ(menus.hoveredWidget, 2); // the pulsing mark follows the choice
    menus.selectedLevel = 6;
    press(39);
    press(39); // level 8 is locked: the choice stays on the last open one
    EXPECT_EQ(menus.selectedLevel, 7);
    press(40); // down to "back"; a level chosen afterwards is started by Return, not left
    press(37);
    EXPECT_EQ(menus.selectedLevel, 6);
    EXPECT_EQ(page(), "mode1");
    press(13);
    EXPECT_EQ(hostLog.playedLevel, 6);
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

// The high scores after a game over end the game: Escape (also the panel's menu button) and "back" both
// lead to "main" over the level map, never over the finished board.
TEST_F(MenuCommands, LeavingTheHighScoresOfAGameOverReturnsToTheMap) {
    for (bool escape : {true, false}) {
        hostLog = HostLog{};
        hostLog.inGame = true;
        levelMap.mapView = 2;
        open("hiscore");
        ASSERT_EQ(page(), "hiscore");
        if (escape)
            press(27);
        else
            choose("back");
        EXPECT_EQ(hostLog.mapShown, 1) << (escape ? "Escape" : "back");
        EXPECT_EQ(levelMap.mapView, 0);
        EXPECT_EQ(page(), "main");
    }
    // Opened from the map, the page simply goes back without another switch.
    hostLog = HostLog{};
    open("hiscore");
    press(27);
    EXPECT_EQ(hostLog.mapShown, 0);
    EXPECT_EQ(page(), "main");
}

TEST_F(MenuCommands, SkipTakesALifeAndGoesOnWhileNoSkipNoteReturnsToPlay) {
    hostLog.inGame = true;
    game.menuOpen = true;
    currentProfile().lives[0] = 2;
    currentProfile().savedGame[0] = 1; // the level's moves were saved as they were made
    open("gameplay");
    choose("skip level");
    ASSERT_EQ(page(), "messageboxyn");
    choose("yes");
    EXPECT_EQ(profileLives(), 1);
    EXPECT_EQ(profileLevel(), 1);
    EXPECT_EQ(hostLog.playedLevel, 1);
    EXPECT_EQ(currentProfile().savedGame[0], 0) << "the skipped level must not be offered again";

    currentProfile().lives[0] = 0;
    game.menuOpen = true;
    open("gameplay");
    choose("skip level");
    ASSERT_EQ(page(), "messageboxok");
    choose("ok");
    EXPECT_FALSE(game.menuOpen); // back to play, not to the map
    EXPECT_EQ(hostLog.mapShown, 0);
}

// Lives are written as soon as one is spent: a restart bought in the game's menu is on disk at once.
TEST_F(MenuCommands, ARestartBoughtInTheGameMenuIsSavedAtOnce) {
    PlayerFolders folders;
    ASSERT_TRUE(createProfile("Ann"));
    app.startupDone = true;
    game.mode = 0;
    currentProfile().lives[0] = 3;
    hostLog.inGame = true;
    game.menuOpen = true;
    open("gameplay");
    choose("restart level");
    ASSERT_EQ(page(), "messageboxyn");
    choose("yes");
    EXPECT_EQ(profileLives(), 2);
    resetProfiles();
    loadProfiles();
    ASSERT_EQ(settings.profileCount, 1);
    EXPECT_EQ(profileLives(), 2) << "the life spent is on disk";
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
    type("  ");
    press(13); // spaces only: no name
    EXPECT_EQ(page(), "newprofile");
    EXPECT_EQ(settings.profileCount, 1);
    for (unsigned k : {8u, 8u}) press(k);
    type("ANNA"); // taken
    press(13);
    EXPECT_EQ(page(), "newprofile");
    EXPECT_STREQ(menus.nameBuffer, "ANNA");
    type("B");
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

namespace {
int screenSwitches = 0;
} // namespace

TEST_F(MenuCommands, ApplySwitchesTheDisplayOnlyWhenTheChoiceChanged) {
    screenSwitches = 0;
    menuHost.applyScreenMode = [] { ++screenSwitches; };
    settings.fullScreen = false;
    open("main");
    choose("options");
    choose("apply");
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(screenSwitches, 0) << "nothing changed: the window stays as it is";
    choose("options");
    for (int i = 0; i < menus.widgets.size(); ++i) { // the full-screen box is the page's first check box
        if (menus.widgets[i].type != WIDGET_CHECKBOX) continue;
        menus.widgets[i].flag = 1;
        break;
    }
    choose("apply");
    EXPECT_EQ(screenSwitches, 1);
    EXPECT_TRUE(settings.fullScreen);
}

namespace {
int announcements = 0;
int sceneryLevel = -1;

// The rules' side of a won level: records, progress and the flags the level-complete sequence leaves.
void winLevel(int level) {
    game.mode = 0;
    game.levelIndex = level;
    bool stageComplete = false, gamePassed = false;
    playerLevelWon(liveRules, level, 0, 0, 60000, 50, &stageComplete, &gamePassed);
    game.stageComplete = stageComplete;
    game.gamePassed = gamePassed;
    game.completeCountdownMs = -1;
    game.running = true;
    game.menuOpen = true;
}
} // namespace

class StageEnd : public MenuCommands {
  protected:
    void SetUp() override {
        MenuCommands::SetUp();
        announcements = 0;
        sceneryLevel = -1;
        menuHost.announceStage = [] { ++announcements; };
        menuHost.stageScenery = [](int level) { sceneryLevel = level; };
        hostLog.inGame = true;
        resetRecords();
    }
    void TearDown() override {
        resetRecords();
        MenuCommands::TearDown();
    }
};

TEST_F(StageEnd, OkAfterALevelInsideAStageReturnsToTheMapWithTheNextLevelChosen) {
    setProfileLevel(3);
    winLevel(3);
    open("levelcomplete");
    choose("oknextlevel");
    EXPECT_EQ(hostLog.mapShown, 1);
    EXPECT_EQ(page(), "mode1");
    EXPECT_EQ(menus.selectedLevel, 4);
    EXPECT_EQ(hostLog.playedLevel, -1);
    EXPECT_EQ(announcements, 0);
    EXPECT_EQ(sceneryLevel, -1);
}

TEST_F(StageEnd, OkAfterTheFifthLevelRestsOnTheBoardWithTheNextStageAnnounced) {
    setProfileLevel(4);
    winLevel(4);
    ASSERT_TRUE(game.stageComplete);
    LetterText flying{};
    flying.remainingMs = 3000;
    textEffects.letters.push(flying); // a letter of the closing text still flying
    open("levelcomplete");
    choose("oknextlevel");
    EXPECT_TRUE(textEffects.letters.empty());
    // No level starts here: the board waits, paused, for the key that leaves for the map.
    EXPECT_EQ(hostLog.playedLevel, -1);
    EXPECT_EQ(hostLog.mapShown, 0);
    EXPECT_FALSE(game.menuOpen);
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.completeCountdownMs, -1);
    EXPECT_EQ(announcements, 1);
    EXPECT_EQ(sceneryLevel, 5); // the landscape of the stage just opened comes in behind the board
    EXPECT_EQ(profileLevel(), 5);
}

TEST_F(StageEnd, TheLastStageOfTheModeRestsWithoutAnAnnouncement) {
    setProfileLevel(69);
    winLevel(69);
    ASSERT_TRUE(game.gamePassed);
    open("levelcomplete");
    choose("oknextlevel");
    EXPECT_EQ(hostLog.playedLevel, -1);
    EXPECT_FALSE(game.running);
    EXPECT_EQ(announcements, 0);
    EXPECT_EQ(sceneryLevel, -1);
}

TEST_F(StageEnd, TheKeyOutOfTheRestGoesToTheModesMap) {
    setProfileLevel(4);
    winLevel(4);
    open("levelcomplete");
    choose("oknextlevel");
    leaveToMap(); // the key or click that ends the rest
    EXPECT_EQ(page(), "mode1");
}

TEST_F(StageEnd, TheKeyOutOfTheLastStageOffersTheNextModeOnMain) {
    setProfileLevel(69);
    winLevel(69);
    open("levelcomplete");
    choose("oknextlevel");
    leaveToMap();
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(menus.selectedItem, 1); // the puzzle mode, after the classic one
}

TEST_F(StageEnd, TheAnnouncementNamesTheStageJustOpened) {
    freeTextTable();
    const char table[] =
        "nextstage=Next stage\r\nstagename1=Beach\r\nstagename2=Steps\r\nstagename3=Hollow\r\n";
    parseTextTable(table, static_cast<int>(sizeof table));
    clearTextEffects();
    setProfileLevel(5); // the first level of the second stage
    announceNextStage();
    std::vector<std::string> shown;
    for (const PopupText& p : textEffects.popups)
        if (p.remainingMs > 0) shown.emplace_back(p.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Next stage", "Steps"}));
    clearTextEffects();
    freeTextTable();
}

TEST_F(StageEnd, TheStatisticsCompareWithTheRecordsOfTheLevelOnTheBoard) {
    // Level 5 has records this game does not beat; level 0, the map's stale choice, has none.
    LevelRecord& beaten = records.levels[0][5];
    beaten.bestScore = 900;
    beaten.bestCombo = 9;
    beaten.bestTimeMs = 1000;
    beaten.fewestMoves = 3;
    records.levels[0][0] = LevelRecord{};
    menus.selectedLevel = 0;
    game.mode = 0;
    game.levelIndex = 5;
    game.score = 0; // the count-up ends on the first frame
    game.maxCombo = 0;
    game.levelTimeMs = 60000;
    game.movesMade = 50;
    freeTextTable();
    const char table[] = "scorewow=New record!\r\n";
    parseTextTable(table, static_cast<int>(sizeof table));
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    open("levelcomplete");
    menuDraw();
    ASSERT_EQ(menus.stats.stage, 4);
    // "scorewow" stands in the record block of every row that equals or beats its record.
    static int cheers;
    cheers = 0;
    layoutProbe.text = [](const char* s, float, float, float, float, float) {
        cheers += std::strcmp(s, "New record!") == 0;
    };
    menuDraw();
    EXPECT_EQ(cheers, 0);
    records.levels[0][5] = LevelRecord{}; // nothing to beat: all four rows are records
    menuDraw();
    EXPECT_EQ(cheers, 4);
    layoutProbe = LayoutProbe{};
    resetText();
    resetFileRegistry();
    freeTextTable();
}

// A player file that could not be written (a full disk, a read-only folder): the main page says so once,
// in the game's words, and "ok" leaves the main page as it was.
TEST_F(MenuCommands, ProgressThatCannotBeSavedIsSaidOnceOnTheMainPage) {
    freeTextTable();
    const char table[] = "nosavemsg=Nothing can be kept\r\n";
    parseTextTable(table, static_cast<int>(sizeof table));
    fileRegistry.failedWrites = 0;
    open("main");
    EXPECT_EQ(page(), "main") << "nothing to say while the files are written";
    fileRegistry.failedWrites = 1;
    open("main");
    ASSERT_EQ(page(), "messageboxok");
    EXPECT_STREQ(menus.messageText, "Nothing can be kept");
    choose("ok");
    EXPECT_EQ(page(), "main");
    EXPECT_EQ(hostLog.mapShown, 0);
    open("options");
    open("main");
    EXPECT_EQ(page(), "main") << "said once a run";
    fileRegistry.failedWrites = 0;
    freeTextTable();
}
