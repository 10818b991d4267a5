#include "engine/file_registry.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "engine/archive.h"
#include "engine/temp_folder.h"
#include "platform/folders.h"
#include "platform/message_box.h"

namespace {

int gExitCode = -1;
int gReportedFiles = 0;
long gReportedBytes = 0;

class FileRegistryTest : public ::testing::Test {
  protected:
    TempFolder data;

    void SetUp() override {
        resetFileRegistry();
        fileRegistry.onFileRegistered = nullptr;
        fileRegistry.renameFile = nullptr;
        resetMessageBoxes();
        messageBoxes.useWindow = false;
        messageBoxes.exitHook = [](int code) { gExitCode = code; };
        gExitCode = -1;
        setDataFolder(data.path);
    }
    void TearDown() override {
        resetFileRegistry();
        fileRegistry.renameFile = nullptr;
        resetMessageBoxes();
    }

    // An archive image from (name, plain bytes) pairs.
    std::string archive(const std::vector<std::pair<std::string, std::string>>& files) {
        std::vector<uint8_t> image;
        for (const auto& [name, bytes] : files) {
            EXPECT_TRUE(appendArchiveEntry(image, name, reinterpret_cast<const uint8_t*>(bytes.data()),
                                           bytes.size()));
        }
        return std::string(image.begin(), image.end());
    }

    std::string opened(const char* name) {
        int size = -1;
        uint8_t* bytes = openFile(name, &size, false);
        return bytes ? std::string(reinterpret_cast<char*>(bytes), size) : std::string("<missing>");
    }
};

TEST_F(FileRegistryTest, FiveCharacterNameScramblesSevenBytesCyclically) {
    // Seven zero bytes stored under "abcde" are the name's characters 1,2,3,4,5,1,2.
    std::string image = std::string("abcde\0", 6) + std::string("\x07\0\0\0", 4) + "abcdeab";
    EXPECT_EQ(archive({{"abcde", std::string(7, '\0')}}), image);
    data.write("texts.dat", image);
    loadArchive("texts.dat");
    EXPECT_EQ(opened("abcde"), std::string(7, '\0'));
}

TEST_F(FileRegistryTest, LookupUpperCasesLatinAndHighBytesOnly) {
    static uint8_t a[1], b[1], c[1], d[1];
    ASSERT_TRUE(registerFile("2strings.txt", 1, a, false));
    ASSERT_TRUE(registerFile("\xE0\xEF\xFF.txt", 1, b, false));
    ASSERT_TRUE(registerFile("levels\\a{", 1, c, false));
    ASSERT_TRUE(registerFile("\xA0", 1, d, false));
    EXPECT_STREQ(fileRegistry.entries[0].name, "2STRINGS.TXT");
    ASSERT_NE(findFile("2Strings.TXT"), nullptr);
    EXPECT_EQ(findFile("2Strings.TXT")->data, a);
    ASSERT_NE(findFile("\xC0\xCF\xDF.TxT"), nullptr);
    EXPECT_EQ(findFile("\xC0\xCF\xDF.TxT")->data, b);
    EXPECT_NE(findFile("LEVELS\\A{"), nullptr);
    EXPECT_EQ(findFile("LEVELS/A{"), nullptr);  // the backslash is compared unchanged
    EXPECT_EQ(findFile("levels\\a["), nullptr); // '{' is not a letter
    EXPECT_EQ(findFile("\x80"), nullptr);       // 0xA0 stays itself; only 0xE0-0xFF shift
    EXPECT_EQ(findFile("\xC0"), nullptr);
}

TEST_F(FileRegistryTest, PackedFileShadowsTheFileOnDisk) {
    data.write("menu.txt", "on disk");
    data.write("texts.dat", archive({{"menu.txt", "packed"}, {"other.txt", "x"}}));
    loadArchive("texts.dat");
    EXPECT_EQ(opened("MENU.TXT"), "packed");
    EXPECT_EQ(fileRegistry.diskReads, 0);
    // The first registration of a name wins.
    data.write("jpeg.dat", archive({{"menu.txt", "second"}}));
    loadArchive("jpeg.dat");
    EXPECT_EQ(opened("menu.txt"), "packed");
}

TEST_F(FileRegistryTest, DiskFileIsReadOnceUntilReleased) {
    data.write("levels/tut1_01.lvl", "first");
    uint8_t* a = openFile("levels/tut1_01.lvl", nullptr, true);
    data.write("levels/tut1_01.lvl", "second");
    uint8_t* b = openFile("LEVELS/TUT1_01.LVL", nullptr, true);
    EXPECT_EQ(a, b);
    EXPECT_EQ(fileRegistry.diskReads, 1);
    EXPECT_EQ(opened("levels/tut1_01.lvl"), "first");
    EXPECT_TRUE(releaseFile(a));
    EXPECT_FALSE(releaseFile(a));
    EXPECT_EQ(opened("levels\\tut1_01.lvl"), "second"); // folder prefixes may use backslashes
    EXPECT_EQ(fileRegistry.diskReads, 2);
    EXPECT_TRUE(releaseFileByName("levels\\tut1_01.lvl"));
    EXPECT_EQ(fileRegistry.entries.size(), 0);
}

TEST_F(FileRegistryTest, ZeroLengthEntryRegistersWithAValidPointer) {
    data.write("texts.dat", archive({{"a.txt", "12"}, {"empty.txt", ""}, {"b.txt", "345"}, {"last", ""}}));
    loadArchive("texts.dat");
    ASSERT_EQ(fileRegistry.entries.size(), 5); // the archive itself and its four files
    EXPECT_EQ(fileRegistry.entries[0].size, 0);
    FileEntry* empty = findFile("empty.txt");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size, 0);
    EXPECT_NE(empty->data, nullptr);
    EXPECT_EQ(opened("b.txt"), "345");
    EXPECT_NE(findFile("last")->data, nullptr);
}

TEST_F(FileRegistryTest, TruncatedArchiveKeepsTheEntriesBeforeTheFault) {
    std::string image = archive({{"a.txt", "hello"}, {"b.txt", "0123456789"}});
    data.write("cut.dat", image.substr(0, image.size() - 3));
    data.write("noname.dat", archive({{"a.txt", "hello"}}) + "dangling");
    loadArchive("cut.dat");
    EXPECT_EQ(opened("a.txt"), "hello");
    EXPECT_EQ(findFile("b.txt"), nullptr);
    EXPECT_EQ(fileRegistry.entries.size(), 2);
    loadArchive("noname.dat");
    EXPECT_EQ(fileRegistry.entries.size(), 4);
    loadArchive("missing.dat"); // silently skipped
    EXPECT_EQ(fileRegistry.entries.size(), 4);
}

TEST_F(FileRegistryTest, ReleasedArchiveNeverServesFreedData) {
    data.write("texts.dat", archive({{"a.txt", "alpha"}, {"b.txt", "beta"}}));
    loadArchive("texts.dat");
    ASSERT_TRUE(releaseFileByName("texts.dat"));
    EXPECT_EQ(findFile("texts.dat"), nullptr);
    // The buffer stays alive while packed files remain registered: they still read correctly.
    EXPECT_EQ(opened("a.txt"), "alpha");
    EXPECT_TRUE(releaseFile(findFile("a.txt")->data));
    EXPECT_EQ(fileRegistry.keptArchives.size(), 1);

    // With no room left to keep a buffer, its packed files leave the registry with it.
    for (int i = 0; i < kMaxKeptArchives; ++i) {
        std::string name = std::string("arch").append(std::to_string(i)).append(".dat");
        data.write(name, archive({{std::string("f").append(std::to_string(i)), "data"}}));
        loadArchive(name.c_str());
        ASSERT_TRUE(releaseFileByName(name.c_str()));
    }
    EXPECT_EQ(fileRegistry.keptArchives.size(), kMaxKeptArchives);
    EXPECT_NE(findFile("f6"), nullptr);
    EXPECT_EQ(findFile("f7"), nullptr);
    EXPECT_EQ(opened("b.txt"), "beta");
}

TEST_F(FileRegistryTest, FatalMissShowsTheLoadingErrorAndExitsWithOne) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(openFile("nothing.txt", nullptr, false), nullptr);
    EXPECT_EQ(messageBoxes.shownCount, 0);
    EXPECT_EQ(openFile("nothing.txt", nullptr, true), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gExitCode, 1);
    EXPECT_STREQ(messageBoxes.lastTitle, "Loading Error");
    EXPECT_STREQ(messageBoxes.lastText, "Can't load nothing.txt...\nProgram will now stop.");
    EXPECT_NE(err.find("Can't load nothing.txt..."), std::string::npos);
}

TEST_F(FileRegistryTest, RegistrationReportsToTheLoadingBarAndStopsWhenFull) {
    gReportedFiles = 0;
    gReportedBytes = 0;
    fileRegistry.onFileRegistered = [](int size) {
        gReportedFiles++;
        gReportedBytes += size;
    };
    data.write("texts.dat", archive({{"a", "12345"}, {"b", "678"}}));
    loadArchive("texts.dat");
    EXPECT_EQ(gReportedFiles, 3);
    EXPECT_EQ(gReportedBytes, 8);
    static uint8_t byte;
    while (fileRegistry.entries.size() < kMaxFiles) ASSERT_TRUE(registerFile("x", 1, &byte, false));
    EXPECT_FALSE(registerFile("one too many", 1, &byte, false));
    data.write("late.txt", "late");
    EXPECT_EQ(openFile("late.txt", nullptr, false), nullptr);
    EXPECT_FALSE(registerFile(std::string(128, 'n').c_str(), 1, &byte, false));
}

TEST_F(FileRegistryTest, FailedRenameLeavesThePreviousFile) {
    std::string path = data.write("profiles.dat", "old contents");
    fileRegistry.renameFile = [](const char*, const char*) { return -1; };
    EXPECT_FALSE(writeWholeFile(path, "new", 3));
    EXPECT_EQ(data.read("profiles.dat"), "old contents");
    EXPECT_FALSE(data.exists("profiles.dat.new"));
    fileRegistry.renameFile = nullptr;
    EXPECT_TRUE(writeWholeFile(path, "new", 3));
    EXPECT_EQ(data.read("profiles.dat"), "new");
    EXPECT_FALSE(writeWholeFile(data.path + "no/such/folder/x", "y", 1));
}

TEST_F(FileRegistryTest, WriteCutShortLeavesThePreviousFile) {
    // A file-size limit makes the write stop part-way, as a full disk would.
    std::string path = data.write("records.dat", "old records");
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string big(5000, 'n');
    bool written = writeWholeFile(path, big.data(), big.size());
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(data.read("records.dat"), "old records");
    EXPECT_FALSE(data.exists("records.dat.new"));
}

} // namespace
