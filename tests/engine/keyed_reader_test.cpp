#include "engine/keyed_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(KeyedReader, ValueRunsToTheNextCarriageReturn) {
    std::string file = "speed=2\r\ncolors=5\r\nname=Some text here\r\n";
    char value[32];
    EXPECT_EQ(readValueText(file, "colors=", value, sizeof(value)), 1);
    EXPECT_STREQ(value, "5");
    EXPECT_EQ(readInt(file, "colors="), 5);
    EXPECT_FLOAT_EQ(readFloat(file, "missing="), 0.0f);
    EXPECT_EQ(readValueText(file, "missing=", value, sizeof(value)), 0);
    EXPECT_STREQ(value, "");
    readValueText(file, "name=", value, 5); // cut to the destination
    EXPECT_STREQ(value, "Some");
}

TEST(KeyedReader, FirstOccurrenceAnywhereWinsEvenInsideALongerKey) {
    std::string file = "maxballs=9\r\nballs=4\r\n";
    EXPECT_EQ(readInt(file, "balls="), 9);
    EXPECT_EQ(readInt(file, "maxballs="), 9);
}

TEST(KeyedReader, NumbersConvertLikeTheGameExpects) {
    std::string file = "a=  2.75xyz\r\nb=-2.9\r\nc=\r\nd=1e12\r\ne=abc\r\nf=nan\r\n";
    EXPECT_FLOAT_EQ(readFloat(file, "a="), 2.75f);
    EXPECT_EQ(readInt(file, "a="), 2);
    EXPECT_EQ(readInt(file, "b="), -2);
    EXPECT_EQ(readInt(file, "c="), 0);
    EXPECT_EQ(readInt(file, "d="), 2147483647);
    EXPECT_EQ(readInt(file, "e="), 0);
    EXPECT_FLOAT_EQ(readFloat(file, "f="), 0.0f);
}

TEST(KeyedReader, FloatListsNeedTheirClosingBracket) {
    std::string file = "r=(1,2.5,3)\r\nc={1,2.5,3}\r\ntwo=(4,5)\r\nbare=4,5\r\n";
    float v[4] = {-1, -1, -1, -1};
    EXPECT_EQ(readFloatList(file, "r=", v, 4), 3);
    EXPECT_FLOAT_EQ(v[0], 1.0f);
    EXPECT_FLOAT_EQ(v[1], 2.5f);
    EXPECT_FLOAT_EQ(v[2], 3.0f);
    float w[4] = {-1, -1, -1, -1};
    EXPECT_EQ(readFloatList(file, "c=", w, 4), 3);
    EXPECT_FLOAT_EQ(w[2], 3.0f);
    float two[2] = {};
    EXPECT_EQ(readFloatList(file, "two=", two, 2), 2);
    EXPECT_FLOAT_EQ(two[1], 5.0f);
    float bare[2] = {-1, -1};
    EXPECT_EQ(readFloatList(file, "bare=", bare, 2), 0);
    EXPECT_FLOAT_EQ(bare[0], -1.0f);
    float one[1] = {};
    EXPECT_EQ(readFloatList(file, "r=", one, 1), 1); // never more than the array holds
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
    std::vector<char> b = exact("v=(1,2,3");
    float v[3];
    EXPECT_FALSE(readVector3(std::string_view(b.data(), b.size()), "v=", v));
    std::vector<char> c = exact("l=(1,2,3");
    EXPECT_EQ(readFloatList(std::string_view(c.data(), c.size()), "l=", v, 3), 0);
    std::vector<char> d = exact("t=abc");
    char text[8];
    EXPECT_EQ(readValueText(std::string_view(d.data(), d.size()), "t=", text, sizeof(text)), 3);
    EXPECT_EQ(readInt(std::string_view(d.data(), 1), "t="), 0); // the key itself cut off
    EXPECT_EQ(readInt(keyedText(nullptr, 0), "t="), 0);
}

} // namespace
