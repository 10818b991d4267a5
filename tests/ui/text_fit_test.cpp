// Every text of the menu pages fits its box, measured with the built fonts and the authored texts.

#include <cstring>
#include <string>
#include <vector>

#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "game/live_rules.h"
#include "gameplay/help_page.h"
#include "menu_fixture.h"
#include "player/language_choice.h"
#include "player/records.h"
#include "ui/text_fit.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"

namespace {

// The longest names a player can type: twelve of the widest letter.
constexpr const char* kWideName = "WWWWWWWWWWWW";

class MenuTextFit : public MenuFixture, public testing::WithParamInterface<std::string> {
  protected:
    RecordingBackend backend;
    bool haveData = false;

    void SetUp() override {
        MenuFixture::SetUp();
        resetRender();
        createDisplay(&backend);
        resetTextures();
        menuTextures = MenuTextures{}; // no pictures of earlier tests' backends
        resetParticleSystem();
        resetFileRegistry();
        haveData = textfit::loadRealTextsAndFonts(GetParam());
        if (!haveData) GTEST_SKIP() << "no built Data folder (run the data builder: make build)";
        ASSERT_TRUE(buildAuthoredMenus());
        giveDrawRoutines();
        resetRecords();
        for (int i = 0; i < kMaxProfiles; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "%.11s%i", kWideName, i);
            ASSERT_TRUE(createProfile(name));
        }
        selectProfile(0);
        std::snprintf(currentProfile().name, sizeof currentProfile().name, "%s", kWideName);
    }
    void TearDown() override {
        textfit::unwatch();
        resetText();
        freeTextTable();
        resetFileRegistry();
        resetTextures();
        resetRender();
        MenuFixture::TearDown();
    }

    // Opens the page, lets it settle, then checks one more frame of it.
    void checkPage(const char* name, const std::string& what) {
        open(name);
        ASSERT_EQ(page(), name);
        frame(what);
    }
    void frame(const std::string& what) {
        textfit::watch();
        menuUpdate();
        menuDraw();
        textfit::unwatch();
        std::vector<std::string> words = {kWideName, currentProfile().name};
        for (const LanguageChoice& c : kLanguageChoices) words.push_back(c.name); // each in its own words
        textfit::checkFrame(what, words);
    }
};

TEST_P(MenuTextFit, MainPageAndItsModeTips) {
    checkPage("main", "main page");
    for (int item = 0; item < 5; ++item) {
        menus.selectedItem = item;
        menus.mouseOnSelected = true;
        menuDraw(); // the buttons of this frame place the tip
        textfit::watch();
        menuDraw();
        textfit::unwatch();
        textfit::checkFrame("main page, tip of item " + std::to_string(item), {kWideName});
    }
}

TEST_P(MenuTextFit, TheLevelMapsButtonsAndModeNameKeepClearOfTheMarks) {
    int size = 0;
    uint8_t* path = openFile((builtdata::folder() / "trajectory1.spl").c_str(), &size, false);
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(readMapPath(path, static_cast<size_t>(size)));
    releaseFile(path);
    computeMapPositions();
    const char* pages[] = {"mode1", "mode2", "mode3"};
    for (int mode = 0; mode < 3; ++mode) {
        game.mode = mode;
        checkPage(pages[mode], pages[mode]);
        ASSERT_EQ(menus.buttons.size(), 2) << "start and back";
        for (int b = 0; b < menus.buttons.size(); ++b) {
            const ButtonRect& r = menus.buttons[b];
            for (int e = 0; e < kLevelCount; ++e) {
                const Widget& m = menus.widgets[e];
                bool apart = r.right < m.left || m.right < r.left || r.top < m.bottom || m.top < r.bottom;
                EXPECT_TRUE(apart) << "button " << b << " covers the mark of level " << e + 1;
            }
            // The start button's place is fixed beside a picture of the path; the back button is ours.
            for (int a = 0; b == 1 && a < kArtefactCount; ++a) {
                const MapPoint& p = levelMap.artefactAt[a];
                bool apart =
                    r.right < p.x - 32 || p.x + 32 < r.left || r.top < p.y - 32 || p.y + 32 < r.bottom;
                EXPECT_TRUE(apart) << "button " << b << " covers artefact " << a;
            }
        }
        open("main");
    }
}

TEST_P(MenuTextFit, OptionsScoresProfilesAndNamePages) {
    for (int choice = 0; choice < kLanguageChoiceCount; ++choice) {
        languageChoice = choice;
        checkPage("options", "options, language choice " + std::to_string(choice));
        open("main");
    }
    languageChoice = 0;
    for (int i = 0; i < kHiscoreLines; ++i)
        for (int t = 0; t < 3; ++t) {
            std::snprintf(records.hiscores[t][i].name, sizeof records.hiscores[t][i].name, "%s", kWideName);
            records.hiscores[t][i].score = 99999999;
        }
    for (int t = 0; t < 3; ++t) {
        menus.hiscoreTable = t;
        checkPage("hiscore", "high scores " + std::to_string(t));
        open("main");
    }
    checkPage("profiles", "profiles");
    open("main");
    std::snprintf(menus.nameBuffer, sizeof menus.nameBuffer, "%s", kWideName);
    checkPage("newprofile", "new player");
}

TEST_P(MenuTextFit, EveryLineOfTheCredits) {
    splitCreditLines(findText("credititems"));
    ASSERT_GT(menus.creditLines.size(), 0);
    open("credits");
    // The roll moves 0.03 units a millisecond: every line passes the middle once.
    for (float ms = 0; 0.03f * ms - 200 < 40.0f * menus.creditLines.size() + 200; ms += 2000) {
        menus.creditsTimerMs = ms;
        textfit::watch();
        menuDraw();
        textfit::unwatch();
        textfit::checkFrame("credits at " + std::to_string(static_cast<int>(ms)) + " ms");
    }
}

TEST_P(MenuTextFit, LoadQuestionInEveryMode) {
    for (int mode = 0; mode < 3; ++mode) {
        game.mode = mode;
        setProfileMode(mode);
        setProfileLevel(69);
        setProfileScore(99999999);
        checkPage("loadgamequest", "load question, mode " + std::to_string(mode));
        open("main");
    }
}

TEST_P(MenuTextFit, EveryQuestionAndNote) {
    for (const char* key : {"skipquest", "noskiplevel", "removeplayer", "savemsg", "quit", "zeroscore"}) {
        const char* t = findText(key);
        ASSERT_NE(t, nullptr) << key;
        bool okOnly = std::strcmp(key, "noskiplevel") == 0 || std::strcmp(key, "savemsg") == 0;
        open("main");
        showMessageBox(t, okOnly);
        settle();
        frame(std::string("message ") + key);
    }
}

TEST_P(MenuTextFit, GamePagesAndResults) {
    hostLog.inGame = true;
    for (bool noMoves : {true, false}) {
        game.noMoves = noMoves;
        checkPage("defeat", noMoves ? "defeat, no moves" : "defeat, time out");
    }
    checkPage("gameover", "game over");
    checkPage("gameplay", "in-game menu");
    std::vector<std::vector<std::string>> shown; // the results' words, mode by mode
    for (int mode = 0; mode < 3; ++mode) {
        game.mode = mode;
        game.levelIndex = 3;
        game.score = 9999999;
        game.maxCombo = 99;
        game.levelTimeMs = 5999000;
        game.movesMade = 9999;
        LevelRecord& r = records.levels[mode][3];
        r = LevelRecord{};
        std::snprintf(r.scoreName, sizeof r.scoreName, "%s", kWideName);
        std::snprintf(r.comboName, sizeof r.comboName, "%s", kWideName);
        std::snprintf(r.timeName, sizeof r.timeName, "%s", kWideName);
        std::snprintf(r.movesName, sizeof r.movesName, "%s", kWideName);
        r.bestScore = 9999999;
        r.bestCombo = 99;
        r.bestTimeMs = 5999000;
        r.fewestMoves = 9999;
        open("levelcomplete");
        press(13); // the count-up ends: every row and its record shown
        frame("results, mode " + std::to_string(mode));
        shown.emplace_back();
        for (const textfit::DrawnText& t : textfit::texts) shown.back().push_back(t.str);
        // The same page while a record falls: the new values in the record block.
        r.bestScore = 1;
        r.bestCombo = 1;
        r.bestTimeMs = 5999999;
        r.fewestMoves = 99999;
        menus.stats = StatsCountUp{};
        press(13);
        frame("results with records, mode " + std::to_string(mode));
        open("main");
    }
    // One name for one thing: the same results read the same in every mode.
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], shown[0]);
}

TEST_P(MenuTextFit, HelpPageInEveryMode) {
    // The help levels of the demonstration, registered as the archives' files are.
    std::vector<std::vector<uint8_t>> levels(8);
    for (int i = 0; i < 8; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "levels/help%i.lvl", i + 1);
        levels[i] = builtdata::readFile(builtdata::folder() / name);
        ASSERT_FALSE(levels[i].empty()) << name;
        ASSERT_TRUE(registerFile(name, static_cast<int>(levels[i].size()), levels[i].data(), false));
    }
    menuHost.drawHelpPage = drawHelpPage;
    menuHost.helpStop = helpPageStop;
    giveDrawRoutines();
    for (int mode = 0; mode < 3; ++mode) {
        game.mode = mode;
        checkPage("helpscreen", "help page, mode " + std::to_string(mode));
        helpPageStop();
        open("main");
    }
    resetFileRegistry(); // before the levels' bytes go
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Languages, MenuTextFit, testing::ValuesIn(textfit::languages()),
                         textfit::languageName);
