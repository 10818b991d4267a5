#include "engine/file_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
struct Sample {
    int32_t count = 0;
    float speed = 0;
    bool on = false;
    bool big = false;
    char name[6] = {};
    int32_t shownOnly = 0;
};

constexpr auto sampleFields = [](auto& f, auto& s) {
    f.word(77);
    f.i32(s.count);
    f.f32(s.speed);
    f.flag8(s.on);
    f.pad(2, 9);
    f.flag32(s.big);
    f.text(s.name);
    f.writtenOnly32(s.shownOnly);
};
constexpr size_t kSampleBytes = 4 + 4 + 4 + 1 + 2 + 4 + 6 + 4;
static_assert(recordBytes<Sample>(sampleFields) == kSampleBytes);

Sample filled() {
    Sample s;
    s.count = -3;
    s.speed = 1.5f;
    s.on = true;
    s.big = true;
    s.name[0] = 'a';
    s.shownOnly = 640;
    return s;
}

TEST(FileRecordTest, WrittenFieldsReadBackAndConstantsLandWhereTheListPutsThem) {
    std::vector<uint8_t> bytes(kSampleBytes);
    ASSERT_TRUE(writeRecord(sampleFields, filled(), bytes.data(), bytes.size()));
    EXPECT_EQ(bytes[0], 77);
    EXPECT_EQ(bytes[12], 1);                        // the flag as one byte
    EXPECT_EQ(bytes[13], 9);                        // the padding's value
    EXPECT_EQ(bytes[15], 1);                        // the word flag, low byte first
    EXPECT_EQ(bytes[kSampleBytes - 4], 640 & 0xFF); // written even though never read back
    Sample back;
    back.shownOnly = 5;
    ASSERT_TRUE(readRecord(sampleFields, back, bytes.data(), bytes.size()));
    EXPECT_EQ(back.count, -3);
    EXPECT_EQ(back.speed, 1.5f);
    EXPECT_TRUE(back.on && back.big);
    EXPECT_STREQ(back.name, "a");
    EXPECT_EQ(back.shownOnly, 5);
}

TEST(FileRecordTest, ShortBufferOrWrongWordFailsWithoutReadingPastTheEnd) {
    std::vector<uint8_t> bytes(kSampleBytes);
    writeRecord(sampleFields, filled(), bytes.data(), bytes.size());
    // Cut inside the name: the fields before it are read, the name and what follows are left alone.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 20);
    Sample back;
    back.name[0] = 'z';
    back.shownOnly = 5;
    EXPECT_FALSE(readRecord(sampleFields, back, cut.data(), cut.size()));
    EXPECT_EQ(back.count, -3);
    EXPECT_EQ(back.name[0], 'z');
    EXPECT_EQ(back.shownOnly, 5);
    // A buffer longer than the layout is read but reported incomplete.
    bytes.push_back(0);
    EXPECT_FALSE(readRecord(sampleFields, back, bytes.data(), bytes.size()));
    bytes.pop_back();
    bytes[0] = 78;
    EXPECT_FALSE(readRecord(sampleFields, back, bytes.data(), bytes.size()));
}

TEST(FileRecordTest, WriterDropsWhatDoesNotFitAndSaysSo) {
    std::vector<uint8_t> bytes(kSampleBytes + 4, 0xEE);
    EXPECT_FALSE(writeRecord(sampleFields, filled(), bytes.data(), kSampleBytes - 1));
    EXPECT_EQ(bytes[kSampleBytes - 1], 0xEE); // nothing past the capacity given
    EXPECT_FALSE(writeRecord(sampleFields, filled(), bytes.data(), kSampleBytes + 4)); // not filled exactly
}
} // namespace
