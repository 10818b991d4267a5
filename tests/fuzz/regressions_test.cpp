// Every input the fuzzers found a fault with, and every seed of their corpora, replayed through the
// same reader the fuzz target feeds. The sanitizer build of the unit tests turns a fault back into a
// failure; the plain build checks that the readers end on each of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class FuzzReplayTest : public ::testing::Test {
  protected:
    void SetUp() override { fuzzSetUp(); }
    void TearDown() override { fuzzTearDown(); }

    // Replays every file under tests/fuzz/<folder>/<target>/; returns how many ran.
    int replay(const char* folder) {
        fs::path root = fs::path(PC_SOURCE_DIR) / "tests" / "fuzz" / folder;
        int replayed = 0;
        if (!fs::is_directory(root)) return 0;
        std::vector<fs::path> dirs;
        for (const auto& entry : fs::directory_iterator(root)) {
            if (entry.is_directory()) dirs.push_back(entry.path());
        }
        std::sort(dirs.begin(), dirs.end());
        for (const fs::path& dir : dirs) {
            std::string name = dir.filename().string();
            const FuzzTarget* target = findFuzzTarget(name.c_str());
            EXPECT_NE(target, nullptr) << "a folder for an unknown target: " << dir;
            if (!target) continue;
            std::vector<fs::path> inputs;
            for (const auto& entry : fs::directory_iterator(dir)) {
                if (entry.is_regular_file()) inputs.push_back(entry.path());
            }
            std::sort(inputs.begin(), inputs.end());
            for (const fs::path& input : inputs) {
                SCOPED_TRACE(input.string());
                std::vector<uint8_t> bytes = fileBytes(input);
                target->run(bytes.data(), bytes.size());
                ++replayed;
            }
        }
        return replayed;
    }
};

TEST_F(FuzzReplayTest, FoundFaultsStayFixed) {
    EXPECT_GT(replay("regressions"), 0);
}

TEST_F(FuzzReplayTest, EverySeedIsRead) {
    int count = 0;
    const FuzzTarget* targets = fuzzTargets(&count);
    // Every target has seeds to start from.
    for (int i = 0; i < count; ++i) {
        fs::path dir = fs::path(PC_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / targets[i].name;
        EXPECT_TRUE(fs::is_directory(dir) && !fs::is_empty(dir)) << "no seeds for " << targets[i].name;
    }
    EXPECT_GT(replay("corpus"), count);
}

} // namespace
