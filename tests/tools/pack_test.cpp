// Runs the built pebblecraft-pack (it lies beside the unit tests) on real files.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

#include "engine/archive.h"
#include "engine/temp_folder.h"

namespace {

std::string packTool() {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return {};
    std::string path(exe, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1) + "pebblecraft-pack";
}

struct ToolRun {
    int code;
    std::string out, err;
};

ToolRun run(const TempFolder& folder, const std::string& args) {
    std::string command =
        packTool() + " " + args + " >" + folder.path + "out.txt 2>" + folder.path + "err.txt";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("out.txt"), folder.read("err.txt")};
}

class PackTool : public ::testing::Test {
  protected:
    TempFolder folder;
    void SetUp() override {
        if (!std::filesystem::exists(packTool())) GTEST_SKIP() << "pebblecraft-pack is not built here";
    }
};

TEST_F(PackTool, RoundTripsFilesByteForByte) {
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    folder.write("in/picture.tga", binary);
    folder.write("in/2strings.txt", "quit=Quit\r\n");
    folder.write("in/sub/empty.lvl", "");
    ToolRun created = run(folder, "create " + folder.path + "a.dat " + folder.path + "in/picture.tga " +
                                      folder.path + "in/2strings.txt " + folder.path + "in/sub/empty.lvl");
    ASSERT_EQ(created.code, 0) << created.err;
    ToolRun listed = run(folder, "list " + folder.path + "a.dat");
    EXPECT_EQ(listed.code, 0);
    EXPECT_EQ(listed.out, "picture.tga 3000\n2strings.txt 11\nempty.lvl 0\n");
    ToolRun extracted = run(folder, "extract " + folder.path + "a.dat " + folder.path + "out");
    ASSERT_EQ(extracted.code, 0) << extracted.err;
    EXPECT_EQ(folder.read("out/picture.tga"), binary);
    EXPECT_EQ(folder.read("out/2strings.txt"), "quit=Quit\r\n");
    EXPECT_TRUE(folder.exists("out/empty.lvl"));
    // Stored scrambled: the plain text does not appear in the archive.
    EXPECT_EQ(folder.read("a.dat").find("quit=Quit"), std::string::npos);
}

TEST_F(PackTool, MalformedArchiveListsWhatCameBeforeAndExitsWithTwo) {
    std::vector<uint8_t> image;
    const uint8_t data[] = {1, 2, 3};
    appendArchiveEntry(image, "one.txt", data, 3); // 16 bytes
    appendArchiveEntry(image, "two.txt", data, 3);
    folder.write("cut.dat", std::string(image.begin(), image.end() - 1));
    ToolRun listed = run(folder, "list " + folder.path + "cut.dat");
    EXPECT_EQ(listed.code, 2);
    EXPECT_EQ(listed.out, "one.txt 3\n");
    EXPECT_NE(listed.err.find("offset 15"), std::string::npos) << listed.err;
    folder.write("noname.dat", std::string(image.begin(), image.end()) + "abc");
    ToolRun extracted = run(folder, "extract " + folder.path + "noname.dat " + folder.path + "x");
    EXPECT_EQ(extracted.code, 2);
    EXPECT_NE(extracted.err.find("offset 30"), std::string::npos) << extracted.err;
    EXPECT_EQ(folder.read("x/two.txt"), "\x01\x02\x03");
}

TEST_F(PackTool, ExtractNeverLeavesItsFolder) {
    std::vector<uint8_t> image;
    const uint8_t data[] = {'x'};
    appendArchiveEntry(image, "../escaped.txt", data, 1);
    appendArchiveEntry(image, "levels\\inside.lvl", data, 1);
    folder.write("evil.dat", std::string(image.begin(), image.end()));
    ToolRun extracted = run(folder, "extract " + folder.path + "evil.dat " + folder.path + "x");
    EXPECT_EQ(extracted.code, 1);
    EXPECT_FALSE(folder.exists("escaped.txt"));
    EXPECT_EQ(folder.read("x/levels/inside.lvl"), "x");
    EXPECT_EQ(run(folder, "list").code, 1);
    EXPECT_EQ(run(folder, "list " + folder.path + "missing.dat").code, 1);
}

} // namespace
