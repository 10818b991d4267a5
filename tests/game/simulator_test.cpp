// Runs the built pebblecraft-sim (it lies beside the unit tests) on the small levels of the fixtures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

#include "engine/temp_folder.h"

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
} // namespace
