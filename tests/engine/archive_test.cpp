#include "engine/archive.h"

#include <gtest/gtest.h>

#include "engine/random.h"
#include "engine/temp_folder.h"

namespace {

std::vector<uint8_t> image(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<uint8_t> out;
    for (const auto& [name, bytes] : files) {
        EXPECT_TRUE(
            appendArchiveEntry(out, name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    return out;
}

TEST(Archive, WrittenFilesReadBackByteForByte) {
    TempFolder folder;
    std::vector<ArchiveFile> files = {{"a.tga", {0, 1, 2, 255, 254}},
                                      {"empty", {}},
                                      {std::string(67, 'n'), std::vector<uint8_t>(1000, 0x5A)}};
    std::string error;
    ASSERT_TRUE(writeArchiveFile(folder.path + "x.dat", files, &error)) << error;
    std::vector<uint8_t> bytes = bytesOf(folder.read("x.dat"));
    std::vector<ArchiveFile> back;
    ArchiveScan scan;
    ASSERT_TRUE(readArchiveFiles(bytes.data(), bytes.size(), back, &scan));
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(back[i].name, files[i].name);
        EXPECT_EQ(back[i].bytes, files[i].bytes);
    }
    std::vector<uint8_t> refused;
    EXPECT_FALSE(appendArchiveEntry(refused, std::string(68, 'n'), bytes.data(), 1));
    EXPECT_FALSE(appendArchiveEntry(refused, "", bytes.data(), 1));
    // Stored data is scrambled, not plain.
    EXPECT_EQ(bytes[6 + 4], 'a' ^ 0);
    EXPECT_EQ(bytes[6 + 4 + 3], 'g' ^ 255);
}

TEST(Archive, FaultsNameTheOffsetOfTheBadEntry) {
    std::vector<uint8_t> good = image({{"one", "111"}, {"two", "22"}}); // 11 + 10 bytes
    ASSERT_EQ(good.size(), 21u);
    struct Case {
        std::vector<uint8_t> bytes;
        int entries;
        size_t offset;
    };
    std::vector<uint8_t> pastEnd = good;
    pastEnd.resize(good.size() - 1);
    std::vector<uint8_t> noZero = good;
    noZero.insert(noZero.end(), {'a', 'b'});
    std::vector<uint8_t> cutSize = good;
    cutSize.insert(cutSize.end(), {'a', 0, 1, 0});
    std::vector<uint8_t> emptyName = good;
    emptyName.insert(emptyName.end(), {0, 0, 0, 0, 0});
    std::vector<uint8_t> longName = good;
    longName.insert(longName.end(), 80, 'x');
    std::vector<uint8_t> hugeSize = image({{"one", "111"}});
    hugeSize.insert(hugeSize.end(), {'b', 0, 0xFF, 0xFF, 0xFF, 0xFF, 1});
    for (const Case& c : {Case{pastEnd, 1, 11}, Case{noZero, 2, 21}, Case{cutSize, 2, 21},
                          Case{emptyName, 2, 21}, Case{longName, 2, 21}, Case{hugeSize, 1, 11}}) {
        std::vector<std::string> names;
        ArchiveScan scan = scanArchive(c.bytes.data(), c.bytes.size(),
                                       [&](const ArchiveEntry& e) { names.emplace_back(e.name); });
        EXPECT_FALSE(scan.ok);
        EXPECT_EQ(scan.entryCount, c.entries);
        EXPECT_EQ(static_cast<int>(names.size()), c.entries);
        EXPECT_EQ(scan.faultOffset, c.offset);
    }
    ArchiveScan empty = scanArchive(nullptr, 0, nullptr);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.entryCount, 0);
}

} // namespace

namespace {

TEST(Archive, RandomBytesNeverReadPastTheBuffer) {
    // Bytes biased towards zeros and small sizes make many near-valid entries; ASan checks the reads.
    RandomGenerator g{12345};
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes(static_cast<size_t>(randomInt(g, 64)));
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(randomInt(g, 3) == 0 ? 0 : randomInt(g, 256) % 12);
        size_t end = 0;
        ArchiveScan scan = scanArchive(bytes.data(), bytes.size(), [&](const ArchiveEntry& e) {
            EXPECT_LE(e.dataOffset + e.size, bytes.size());
            end = e.dataOffset + e.size;
        });
        EXPECT_TRUE(scan.ok ? end == bytes.size() : scan.faultOffset == end);
    }
}

} // namespace
