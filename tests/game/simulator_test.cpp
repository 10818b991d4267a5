// Runs the built pebblecraft-sim (it lies beside the unit tests) on the small levels of the fixtures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/game_scene.h"
#include "app/scene_manager.h"
#include "engine/temp_folder.h"
#include "game/bot.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/saved_game.h"
#include "gameplay/game_frame.h"
#include "gameplay/game_presentation.h"
#include "gameplay/gameplay_fixture.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "ui/menu_system.h"

namespace {
std::string simTool() {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return {};
    std::string path(exe, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1) + "pebblecraft-sim";
}

const std::string kData = std::string(PC_SOURCE_DIR) + "/tests/game/fixtures";

struct ToolRun {
    int code;
    std::string out;
    std::string err;
};

class SimulatorTest : public ::testing::Test {
  protected:
    TempFolder folder;

    void SetUp() override {
        if (!std::filesystem::exists(simTool())) GTEST_SKIP() << "pebblecraft-sim is not built here";
    }
    ToolRun run(const std::string& args) {
        std::string command =
            simTool() + " " + args + " >" + folder.path + "out.txt 2>" + folder.path + "err.txt";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("out.txt"), folder.read("err.txt")};
    }
    ToolRun script(const std::string& text) {
        return run("run --data " + kData + " " + folder.write("s.txt", text));
    }
};

TEST_F(SimulatorTest, DumpLevelShowsWhatTheLevelFileSays) {
    ToolRun r = run("dump-level --data " + kData + " --level 0");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"hammerEnabled\":false"), std::string::npos);
    EXPECT_NE(r.out.find("\"colourCount\":3"), std::string::npos);
    EXPECT_NE(r.out.find("\"barValue\":6"), std::string::npos);
    EXPECT_NE(r.out.find("\"jokerFrequency\":1000000"), std::string::npos);
    EXPECT_NE(r.out.find("\"bonusFigure\":[1,-1,-1,-1,-1,-1,2,-1,3]"), std::string::npos);
    EXPECT_NE(r.out.find("[11,9,0,0,0]"), std::string::npos);  // a ball of colour 0
    EXPECT_NE(r.out.find("[11,11,2,0,1]"), std::string::npos); // chained, square not yet cleared
    EXPECT_EQ(r.out.find("[5,5,"), std::string::npos);         // holes are not listed
}

TEST_F(SimulatorTest, ScriptPlaysAMoveAndPrintsTheState) {
    ToolRun r =
        script("# a line of three\n"
               "seed 5\nmode 0\nlevel 0\nframes 60 16\n\nclick 15 10\nclick 13 9\nframes 300 16\nprint\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\"score\":30,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"movesMade\":1,"), std::string::npos);
    EXPECT_NE(r.out.find("\"barValue\":3,"), std::string::npos);
    EXPECT_NE(r.out.find("\"lives\":3"), std::string::npos);
}

TEST_F(SimulatorTest, SavedGameWrittenAndLoadedGivesTheSameState) {
    std::string file = folder.path + "game.sav";
    // Saved while the ball travels: the loaded game finishes the move and scores its line.
    ToolRun r = script("seed 5\nlevel 0\nframes 60 16\nclick 15 10\nclick 13 9\nframes 5 16\nsave " + file +
                       "\nprint\nseed 77\nlevel 0\nload " + file + "\nprint\nframes 300 16\nprint\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(std::filesystem::file_size(file), 99409u);
    size_t first = r.out.find('\n');
    size_t second = r.out.find('\n', first + 1);
    // The saved state comes back, apart from the selection, which a saved game does not keep.
    std::string before = r.out.substr(0, first);
    std::string after = r.out.substr(first + 1, second - first - 1);
    EXPECT_EQ(before.substr(0, before.find("\"selectedX\"")), after.substr(0, after.find("\"selectedX\"")));
    EXPECT_NE(r.out.substr(second).find("\"movesMade\":1,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.substr(second).find("\"score\":30,"), std::string::npos);
}

// The same scripted play writes the same bytes as the saved games kept from before the layout was a
// field list (tests/game/fixtures/saved).
TEST_F(SimulatorTest, ScriptedPlaySavesTheSameBytesAsBefore) {
    auto kept = [](const std::string& name) {
        std::ifstream in(std::string(PC_SOURCE_DIR) + "/tests/game/fixtures/saved/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    ToolRun r = script("seed 5\nmode 0\nlevel 0\nframes 60 16\nclick 15 10\nclick 13 9\nframes 5 16\nsave " +
                       folder.path + "moving.sav\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(folder.read("moving.sav") == kept("classic-moving.sav"));
    r = script("seed 9\nmode 1\nlevel 4\nframes 60 16\nclick 12 10\nclick 11 12\nframes 200 16\nclick 9 10\n"
               "click 11 10\nframes 200 16\nclick 13 10\nclick 12 10\nframes 200 16\nclick 15 10\n"
               "click 16 14\nframes 200 16\nsave " +
               folder.path + "puzzle.sav\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(folder.read("puzzle.sav") == kept("puzzle-settled.sav"));
}

TEST_F(SimulatorTest, BadInputNamesTheLineAndExitsWithTwo) {
    ToolRun r = script("seed 1\n\njump 3\n");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(":3:"), std::string::npos) << r.err;
    r = script("level 0\nclick 2 2\n");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find(":2:"), std::string::npos);
    r = script("load /nonexistent/file.sav\n");
    EXPECT_EQ(r.code, 2);
    r = script("level 9\n"); // no such level file in the fixtures
    EXPECT_EQ(r.code, 2);
    r = run("dump-level --data " + kData + " --level 12");
    EXPECT_EQ(r.code, 2);
    r = run("bot --data " + kData + " --level 0");
    EXPECT_EQ(r.code, 2);
}

TEST_F(SimulatorTest, BotPlaysGamesAndSumsThemUp) {
    ToolRun r = run("bot --data " + kData + " --mode 0 --level 0 --games 3 --seed 7");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("{\"seed\":7,"), std::string::npos);
    EXPECT_NE(r.out.find("{\"seed\":9,"), std::string::npos);
    EXPECT_NE(r.out.find("{\"games\":3,\"wins\":3,"), std::string::npos) << r.out;
    ToolRun again = run("bot --data " + kData + " --mode 0 --level 0 --games 3 --seed 7");
    EXPECT_EQ(r.out, again.out); // the same seeds replay the same games
}

TEST_F(SimulatorTest, TheHastySoakPrintsItsSeedAndASeedRepeatsARunExactly) {
    ToolRun r = run("soak --hasty --data " + kData + " --games 8 --seed 40");
    ASSERT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out.rfind("{\"player\":\"hasty\",\"games\":8,\"seed\":40}\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("{\"games\":3,\"wins\":"), std::string::npos)
        << "three of the eight have a level file";
    ToolRun again = run("soak --hasty --data " + kData + " --games 8 --seed 40");
    EXPECT_EQ(r.out, again.out);
    ToolRun other = run("soak --hasty --data " + kData + " --games 8 --seed 41");
    EXPECT_NE(r.out.substr(r.out.find('\n')), other.out.substr(other.out.find('\n'))) << "another run";
}
} // namespace

namespace {
// The game scene's frame with a recording backend, beside the simulator: the same level, seed and clicks
// must leave the same saved game. Only the HUD's lives field is the presentation's own (the simulator has
// no HUD) and is left out of the comparison.
class GameAndSimulatorTest : public GameplayTest {
  protected:
    TempFolder folder;
    std::string script;

    void SetUp() override {
        GameplayTest::SetUp();
        setDataFolder(kData);
        levelFiles.missingIsFatal = false;
        liveRules.presentation = &gamePresentation;
        installGameLinks();
        sceneManager.currentScene = &gameScene;
        Profile& profile = currentProfile();
        for (uint8_t& seen : profile.tipShown) seen = 1; // the simulator shows no tips
        for (uint8_t& help : profile.showHelp) help = 0;
    }
    void TearDown() override {
        sceneManager.currentScene = nullptr;
        levelFiles.missingIsFatal = true;
        GameplayTest::TearDown();
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            setFrame(16);
            backend.clearFrame();
            runGameFrame();
            flushBatch();
            ASSERT_FALSE(tips.active) << "a tip would hold the game where the simulator runs on";
            ASSERT_FALSE(game.menuOpen) << currentPageName();
        }
        script += "frames " + std::to_string(count) + " 16\n";
    }
    void click(int x, int y) {
        Point c = cellCentre(x, y);
        app.mouseX = static_cast<int>(c.x) + 400; // the 800 x 600 window's pixels
        app.mouseY = 300 - static_cast<int>(c.y);
        gameScene.leftDown();
        gameScene.leftUp();
        script += "click " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }
};

TEST_F(GameAndSimulatorTest, TheSameClicksLeaveTheSameSavedGameInTheGameAndInTheSimulator) {
    if (!std::filesystem::exists(simTool())) GTEST_SKIP() << "pebblecraft-sim is not built here";
    liveRules.random.seed(11);
    game.mode = kModeClassic;
    setProfileMode(game.mode);
    setProfileLevel(4);
    startLevel(liveRules, 4);
    script = "seed 11\nmode 0\nlevel 4\n";
    int moves = 0;
    // Moves until the bar nears its goal (of 20): a won level would open its page, which the simulator has
    // not.
    for (int round = 0; round < 400 && moves < 8 && game.barValue > 10; ++round) {
        frames(7);
        BotMove move;
        if (!botReady(liveRules) || !botChooseMove(liveRules, &move)) continue;
        click(move.fromX, move.fromY);
        frames(3); // a few frames with the ball selected and hopping
        click(move.toX, move.toY);
        ++moves;
    }
    frames(30);
    ASSERT_GE(moves, 2);
    ASSERT_GT(game.score, 0) << "the moves cleared lines";
    // Saved while a selected ball has hopped and then travels: the dips of the squares are in the file.
    BotMove last;
    for (int i = 0; i < 100 && !(botReady(liveRules) && botChooseMove(liveRules, &last)); ++i) frames(1);
    click(last.fromX, last.fromY);
    frames(40);
    click(last.toX, last.toY);
    frames(4);
    ASSERT_NE(liveRules.at(last.fromX, last.fromY).ball.moveTargetX, -1) << "still travelling";
    std::vector<uint8_t> inGame;
    encodeSavedGame(liveRules, inGame);

    std::string file = folder.path + "sim.sav";
    script += "save " + file + "\n";
    std::string command = simTool() + " run --data " + kData + " " + folder.write("s.txt", script) + " 2>" +
                          folder.path + "err.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << folder.read("err.txt");
    std::vector<uint8_t> inSimulator = bytesOf(folder.read("sim.sav"));
    ASSERT_EQ(inSimulator.size(), inGame.size());
    constexpr size_t kHudLives = 99368;
    std::fill_n(inGame.begin() + kHudLives, 4, 0);
    std::fill_n(inSimulator.begin() + kHudLives, 4, 0);
    size_t first = 0;
    while (first < inGame.size() && inGame[first] == inSimulator[first]) ++first;
    EXPECT_EQ(first, inGame.size()) << "the first differing byte";
}
} // namespace
