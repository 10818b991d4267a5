// Runs the built classic-drain (it lies beside the unit tests) and holds its curves against the moves
// that pebblecraft-sim's bot really needs: the classic goals are picked from these curves.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/temp_folder.h"

namespace {
std::string besideTests(const char* tool) {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return {};
    std::string path(exe, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1) + tool;
}

// pack1_03: the first level on which every removed piece takes the whole combo off the bar.
constexpr int kLevel = 6;
const char* const kLevelFile = "levels/pack1_03.lvl";

std::string levelText() {
    std::ifstream in(std::string(PC_SOURCE_DIR) + "/data/" + kLevelFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The same level with another classic goal.
std::string withGoal(const std::string& text, int goal) {
    return std::regex_replace(text, std::regex("balls4destroy=[0-9.]+"),
                              "balls4destroy=" + std::to_string(goal));
}

class ClassicDrainTest : public ::testing::Test {
  protected:
    TempFolder folder;

    void SetUp() override {
        if (!std::filesystem::exists(besideTests("classic-drain")) ||
            !std::filesystem::exists(besideTests("pebblecraft-sim")))
            GTEST_SKIP() << "classic-drain or pebblecraft-sim is not built here";
    }
    // Exit code and standard output of a tool run.
    std::pair<int, std::string> run(const char* tool, const std::string& args) {
        std::string command = besideTests(tool) + " " + args + " >" + folder.path + "out.txt 2>/dev/null";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("out.txt")};
    }
};

// The numbers after `key` (a JSON number or an array of them) on every line that has it.
std::vector<std::vector<double>> numbersAfter(const std::string& out, const std::string& key) {
    std::vector<std::vector<double>> all;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        size_t at = line.find("\"" + key + "\":");
        if (at == std::string::npos) continue;
        std::string rest = line.substr(at + key.size() + 3);
        std::vector<double> values;
        const char* p = rest.c_str() + (rest[0] == '[' ? 1 : 0);
        char* end = nullptr;
        for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
            values.push_back(v);
            p = end;
            if (*p != ',' || rest[0] != '[') break;
            ++p;
        }
        all.push_back(values);
    }
    return all;
}

TEST_F(ClassicDrainTest, TheCurveGivesTheMovesTheBotNeedsForAGoal) {
    folder.write(kLevelFile, levelText());
    auto [code, out] =
        run("classic-drain", "--data " + folder.path + " --level 6 --games 3 --seed 5 --moves 40");
    ASSERT_EQ(code, 0);
    std::vector<std::vector<double>> curves = numbersAfter(out, "drain");
    ASSERT_EQ(curves.size(), 3u) << out;
    for (const std::vector<double>& curve : curves) {
        ASSERT_EQ(curve.size(), 41u) << "one entry per move count, none lost in forty moves";
        EXPECT_EQ(curve[0], 0) << "the start forms no line";
        for (size_t m = 1; m < curve.size(); ++m) EXPECT_GE(curve[m], curve[m - 1]) << m;
        EXPECT_GT(curve.back(), 40) << "forty moves of the bot empty some bar";
    }
    // Two goals: one that the opening chain empties, one that takes longer.
    for (int goal : {static_cast<int>(curves[0][4]), static_cast<int>(curves[1][30])}) {
        SCOPED_TRACE(goal);
        std::vector<double> expected;
        for (const std::vector<double>& curve : curves) {
            size_t m = 0;
            while (m < curve.size() && curve[m] < goal) ++m;
            expected.push_back(static_cast<double>(m));
        }
        folder.write(kLevelFile, withGoal(levelText(), goal));
        auto [simCode, games] = run("pebblecraft-sim", "bot --data " + folder.path + " --mode 0 --level " +
                                                           std::to_string(kLevel) + " --games 3 --seed 5");
        ASSERT_EQ(simCode, 0);
        std::vector<std::vector<double>> moves = numbersAfter(games, "movesMade");
        ASSERT_EQ(moves.size(), 3u) << games;
        for (int g = 0; g < 3; ++g) EXPECT_EQ(moves[g][0], expected[g]) << "seed " << 5 + g;
        EXPECT_NE(games.find("\"wins\":3"), std::string::npos) << games;
    }
}

TEST_F(ClassicDrainTest, IncompleteOptionsExitWithTwo) {
    EXPECT_EQ(run("classic-drain", "--data " + folder.path + " --games 3").first, 2);
    EXPECT_EQ(run("classic-drain", "--data " + folder.path + " --level 70 --games 3").first, 2);
    EXPECT_EQ(run("classic-drain", "--level 6 --games 3").first, 2);
    EXPECT_EQ(run("classic-drain", "--data " + folder.path + " --level 6 --games 0").first, 2);
    EXPECT_EQ(run("classic-drain", "--data " + folder.path + " --level 6 --games 1").first, 2)
        << "no level file";
}
} // namespace
