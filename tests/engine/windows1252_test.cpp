// What the window's text input (UTF-8) becomes in the game's 8-bit code page, and back.
#include <gtest/gtest.h>

#include <clocale>
#include <cwctype>
#include <string>

#include "engine/windows1252.h"

namespace {

std::string to1252(const char* utf8, size_t capacity = 64) {
    char out[64];
    size_t n = utf8ToWindows1252(utf8, out, capacity);
    EXPECT_EQ(n, std::string(out).size());
    return out;
}

std::string toUtf8(const char* text, size_t capacity = 64) {
    char out[64];
    windows1252ToUtf8(text, out, capacity);
    return out;
}

TEST(Windows1252, LettersOfTheWesternLanguagesBecomeTheirBytes) {
    EXPECT_EQ(to1252("J\xC3\xBCrgen"), "J\xFCrgen");   // ü
    EXPECT_EQ(to1252("Zo\xC3\xAB"), "Zo\xEB");         // ë
    EXPECT_EQ(to1252("\xC3\x80\xC3\xBF"), "\xC0\xFF"); // À and ÿ, the ends of the Latin-1 block
    // The letters and signs that sit in 0x80..0x9F: €, Š, Œ, ž, Ÿ, the dash and the quotes.
    EXPECT_EQ(to1252("\xE2\x82\xAC\xC5\xA0\xC5\x92\xC5\xBE\xC5\xB8\xE2\x80\x93\xE2\x80\x9C"),
              "\x80\x8A\x8C\x9E\x9F\x96\x93");
}

TEST(Windows1252, WhatHasNoPrintableByteIsDropped) {
    EXPECT_EQ(to1252("a\xC4\x9B"
                     "b"),
              "ab"); // ě: a letter beyond the code page
    EXPECT_EQ(to1252("a\xE2\x82\xB9"
                     "b"),
              "ab"); // ₹
    EXPECT_EQ(to1252("a\xF0\x9F\x99\x82"
                     "b"),
              "ab"); // an emoji, four bytes
    EXPECT_EQ(to1252("a\xC2\x81\xC2\x9D\xC2\x80"
                     "b"),
              "ab"); // C1 controls: not the bytes 0x81, 0x9D, 0x80
    EXPECT_EQ(to1252("a\t\x7F"
                     "b"),
              "ab"); // controls
}

TEST(Windows1252, MalformedUtf8IsSkippedWithoutLosingWhatFollows) {
    EXPECT_EQ(to1252("a\xFC"
                     "b"),
              "ab");                 // a Latin-1 byte, not UTF-8
    EXPECT_EQ(to1252("a\xC3"), "a"); // cut at the end
    EXPECT_EQ(to1252("a\xC3"
                     "b"),
              "ab"); // a lead byte without its continuation
    EXPECT_EQ(to1252("a\xBC"
                     "b"),
              "ab"); // a lone continuation byte
    EXPECT_EQ(to1252("a\xC1\xBC"
                     "b"),
              "ab"); // overlong "|"
    EXPECT_EQ(to1252("a\xE0\x81\xBC"
                     "b"),
              "ab"); // overlong in three bytes
    EXPECT_EQ(to1252("a\xED\xA0\x80"
                     "b"),
              "ab"); // a surrogate half
    EXPECT_EQ(to1252("a\xF4\x90\x80\x80"
                     "b"),
              "ab"); // beyond U+10FFFF
    EXPECT_EQ(to1252("\xE2\x82"
                     "\xC3\xBC"),
              "\xFC"); // a cut sequence does not swallow the next one
}

TEST(Windows1252, OutputStopsAtItsCapacity) {
    EXPECT_EQ(to1252("\xC3\xBC\xC3\xBC\xC3\xBC", 3), "\xFC\xFC");
    EXPECT_EQ(toUtf8("\xFC\xFC\xFC", 6), "\xC3\xBC\xC3\xBC"); // whole characters only
    EXPECT_EQ(toUtf8("\x80", 3), "");                         // € needs three bytes and the 0
    EXPECT_EQ(toUtf8("\x80", 4), "\xE2\x82\xAC");
}

TEST(Windows1252, BackToUtf8EveryPrintableByteComesHome) {
    for (int b = 0x20; b < 0x100; ++b) {
        const char text[2] = {static_cast<char>(b), 0};
        std::string utf8 = toUtf8(text);
        if (b == 0x7F || windows1252CodePoint(static_cast<uint8_t>(b)) == 0) {
            EXPECT_TRUE(utf8 == "?" || b == 0x7F) << b;
            continue;
        }
        EXPECT_EQ(to1252(utf8.c_str()), text) << b;
    }
}

} // namespace

TEST(Windows1252, CapitalsAreTheLettersOwnCapitalsWithinTheCodePage) {
    // The C library's own case table is the judge: a small letter becomes its capital when the code page
    // has it ("ß" has none), and every other byte stays as it is.
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    int changed = 0;
    for (int b = 0; b < 256; ++b) {
        auto byte = static_cast<uint8_t>(b);
        uint32_t cp = windows1252CodePoint(byte);
        uint8_t expected = byte;
        if (cp != 0 && std::iswlower(static_cast<wint_t>(cp))) {
            uint8_t capital = windows1252Byte(static_cast<uint32_t>(std::towupper(static_cast<wint_t>(cp))));
            if (capital != 0) expected = capital;
        }
        EXPECT_EQ(windows1252Upper(byte), expected) << "byte " << b;
        changed += windows1252Upper(byte) != byte;
    }
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(changed, 26 + 30 + 4); // a-z, à-þ but ÷, and š œ ž ÿ
}
