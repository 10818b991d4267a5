#include "app/state_probe.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "app/typed_words.h"
#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "game/rules_fixture.h"
#include "ui/menu_system.h"

namespace {

class StateProbeTest : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        resetMenus();
        resetStateProbe();
    }
    void TearDown() override {
        resetMenus();
        resetStateProbe();
        resetTypedWords();
        unsetenv("PEBBLECRAFT_STATE_FILE");
        RulesTest::TearDown();
    }
    static std::string line() {
        char text[512];
        formatStateProbeLine(text, sizeof text);
        return text;
    }
    static std::string row(int y) {
        char text[32];
        formatStateProbeRow(y, text);
        return text;
    }
};

TEST_F(StateProbeTest, RowsSpellEveryPieceHoleAndEmptyCell) {
    loadPicture("aH#J-T*Q3b");
    EXPECT_EQ(row(kPlayTop), "aH#J.T*Q.b..........");
    EXPECT_EQ(row(kPlayBottom), "....................");
}

// The look flows start their shots of a blast when the removal pass has queued its pops.
TEST_F(StateProbeTest, FirstLineCountsThePopsWaitingToBurst) {
    loadPicture("a");
    EXPECT_NE(line().find(" removals=0"), std::string::npos) << line();
    addRemovalEntry(liveRules, 5, 5, kTripleBomb, false);
    addRemovalEntry(liveRules, 6, 5, 0, false);
    EXPECT_NE(line().find(" removals=2"), std::string::npos) << line();
}

TEST_F(StateProbeTest, FirstLineNamesThePageItsReadinessAndTheProfilesValuesInTheMode) {
    ASSERT_TRUE(buildMenuTree("main=\nsurvival\nmode1\n\ngameplay=\nresume game\nmain\n"));
    game.mode = kModePuzzle;
    game.levelIndex = 7;
    game.defeatCountdownMs = 1234.5f;
    currentProfile().lives[kModePuzzle] = -1;
    currentProfile().score[kModePuzzle] = 4321;
    std::string text = line();
    EXPECT_NE(text.find(" page=- ready=1 item=- "), std::string::npos) << text;
    EXPECT_NE(text.find(" mode=1 level=7 "), std::string::npos) << text;
    EXPECT_NE(text.find(" defeat=1234 "), std::string::npos) << text;
    EXPECT_NE(text.find(" lives=-1 total=4321 player=tester "), std::string::npos) << text;

    openPage(MenuId::Gameplay); // a name with a space stays one word; the opening transition is running
    text = line();
    EXPECT_NE(text.find(" page=gameplay ready=0 item=resume_game "), std::string::npos) << text;
    menus.opening = false;
    menus.fadeAmount = 0;
    EXPECT_NE(line().find(" ready=1 "), std::string::npos);
    menus.fadeAmount = 1; // closed: the page has faded out but stays the current one
    EXPECT_NE(line().find(" page=- ready=1 item=- "), std::string::npos);
    menus.fadeAmount = 0;
    menus.menuHidden = true; // "main" put away with Escape: no page on screen
    EXPECT_NE(line().find(" page=- "), std::string::npos);
    typedWords.allLevelsOpen = true;
    EXPECT_NE(line().find(" cheat=0 allopen=1"), std::string::npos);
}

TEST_F(StateProbeTest, WritesTheFileOnlyWhenAskedAndAtMostTenTimesASecond) {
    std::string path = ::testing::TempDir() + "state_probe_test.state";
    std::remove(path.c_str());
    setFrame(100);
    writeStateProbe();
    EXPECT_FALSE(std::ifstream(path).good()) << "written without the variable";

    setenv("PEBBLECRAFT_STATE_FILE", path.c_str(), 1);
    resetStateProbe();
    loadPicture("ab");
    writeStateProbe();
    std::vector<std::string> lines;
    {
        std::ifstream in(path);
        for (std::string l; std::getline(in, l);) lines.push_back(l);
    }
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0].rfind("scene=", 0), 0u);
    EXPECT_EQ(lines[1], "ab..................");

    loadPicture("cd");
    setFrame(40);
    writeStateProbe(); // 40 ms later: not yet
    std::ifstream early(path);
    std::string first, second;
    std::getline(early, first);
    std::getline(early, second);
    EXPECT_EQ(second, "ab..................");
    setFrame(60);
    writeStateProbe();
    std::ifstream later(path);
    std::getline(later, first);
    std::getline(later, second);
    EXPECT_EQ(second, "cd..................");

    // A new scene is written at once, whatever the interval: the waits of the flows and the start-up
    // benchmark see it in the frame it begins.
    Scene* before = sceneManager.currentScene;
    sceneManager.currentScene = &mapScene;
    setFrame(10);
    writeStateProbe();
    std::ifstream changed(path);
    std::getline(changed, first);
    EXPECT_EQ(first.rfind("scene=map ", 0), 0u) << first;
    sceneManager.currentScene = before;
    std::remove(path.c_str());
}

} // namespace
