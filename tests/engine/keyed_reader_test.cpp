#include "engine/keyed_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(KeyedReader, ValuesRunToTheNextCarriageReturnAndTheFirstMatchWins) {
    std::string file =
        "maxballs=9\r\nballs=4\r\ncolors=5\r\nname=Some text\r\na=  2.75xyz\r\nb=-2.9\r\nd=1e12\r\nf=nan\r\n";
    char value[32];
    EXPECT_EQ(readValueText(file, "colors=", value, sizeof(value)), 1);
    EXPECT_STREQ(value, "5");
    EXPECT_EQ(readInt(file, "colors="), 5);
    EXPECT_EQ(readValueText(file, "missing=", value, sizeof(value)), 0);
    EXPECT_FLOAT_EQ(readFloat(file, "missing="), 0.0f);
    readValueText(file, "name=", value, 5); // cut to the destination
    EXPECT_STREQ(value, "Some");
    EXPECT_EQ(readInt(file, "balls="), 9); // found inside "maxballs="
    EXPECT_FLOAT_EQ(readFloat(file, "a="), 2.75f);
    EXPECT_EQ(readInt(file, "a="), 2);
    EXPECT_EQ(readInt(file, "b="), -2);
    EXPECT_EQ(readInt(file, "d="), 2147483647);
    EXPECT_FLOAT_EQ(readFloat(file, "f="), 0.0f);
}

TEST(KeyedReader, FloatListsNeedTheirClosingBracket) {
    std::string file = "r=(1,2.5,3)\r\nc={1,2.5,3}\r\ntwo=(4,5)\r\nbare=4,5\r\n";
    for (const char* key : {"r=", "c="}) {
        float v[4] = {-1, -1, -1, -1};
        EXPECT_EQ(readFloatList(file, key, v, 4), 3);
        EXPECT_FLOAT_EQ(v[0], 1.0f);
        EXPECT_FLOAT_EQ(v[1], 2.5f);
        EXPECT_FLOAT_EQ(v[2], 3.0f);
        EXPECT_FLOAT_EQ(v[3], -1.0f);
    }
    float two[2] = {-1, -1};
    EXPECT_EQ(readFloatList(file, "two=", two, 2), 2);
    EXPECT_FLOAT_EQ(two[1], 5.0f);
    EXPECT_EQ(readFloatList(file, "r=", two, 1), 1); // never more than the array holds
    float bare[2] = {-1, -1};
    EXPECT_EQ(readFloatList(file, "bare=", bare, 2), 0);
    EXPECT_FLOAT_EQ(bare[0], -1.0f);
}

TEST(KeyedReader, VectorsNeedBothCommasAndTheClosingBracket) {
    std::string file = "pos=(1.5,-2,3)\r\nbad=(1,2\r\nshort=(1,2)\r\n";
    float v[3] = {};
    ASSERT_TRUE(readVector3(file, "pos=", v));
    EXPECT_FLOAT_EQ(v[0], 1.5f);
    EXPECT_FLOAT_EQ(v[1], -2.0f);
    EXPECT_FLOAT_EQ(v[2], 3.0f);
    float w[3] = {7, 7, 7};
    EXPECT_FALSE(readVector3(file, "bad=", w));
    EXPECT_FALSE(readVector3(file, "short=", w));
    EXPECT_FALSE(readVector3(file, "none=", w));
    EXPECT_FLOAT_EQ(w[0], 7.0f);
}

TEST(KeyedReader, ScansStopAtTheEndOfTheBuffer) {
    // Exact-size heap buffers without CR or 0 at their end: a read past them shows under ASan.
    auto exact = [](const std::string& s) { return std::vector<char>(s.begin(), s.end()); };
    std::vector<char> a = exact("colors=12");
    EXPECT_EQ(readInt(std::string_view(a.data(), a.size()), "colors="), 12);
    EXPECT_EQ(readInt(std::string_view(a.data(), 3), "colors="), 0); // the key itself cut off
    std::vector<char> b = exact("v=(1,2,3");
    float v[3];
    EXPECT_FALSE(readVector3(std::string_view(b.data(), b.size()), "v=", v));
    EXPECT_EQ(readFloatList(std::string_view(b.data(), b.size()), "v=", v, 3), 0);
    char text[8];
    EXPECT_EQ(readValueText(std::string_view(b.data(), b.size()), "v=", text, sizeof(text)), 6);
    EXPECT_EQ(readInt(keyedText(nullptr, 0), "t="), 0);
}

} // namespace
