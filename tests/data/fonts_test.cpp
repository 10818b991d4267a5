// The built fonts: the ".dat" metrics of 516 bytes, the square glyph grid, a glyph for every printable
// character that stays inside its cell, and widths that follow the letters.
#include "pictures_built_data.h"

#include "engine/font.h"

#include <cstring>
#include <filesystem>
#include <set>

namespace {

struct BuiltFont {
    int cellsPerRow = 0;
    uint8_t width[256] = {};
    uint8_t cell[256] = {};
    DecodedPicture sheet;
};

void loadFont(const std::map<std::string, std::vector<uint8_t>>& files, const std::string& base,
              BuiltFont& f) {
    auto dat = files.find(base + ".dat");
    auto tga = files.find(base + ".tga");
    ASSERT_NE(dat, files.end()) << base;
    ASSERT_NE(tga, files.end()) << base;
    ASSERT_EQ(dat->second.size(), 516u) << base;
    std::memcpy(&f.cellsPerRow, dat->second.data(), 4);
    std::memcpy(f.width, dat->second.data() + 4, 256);
    std::memcpy(f.cell, dat->second.data() + 260, 256);
    ASSERT_TRUE(builtdata::decode(tga->second, f.sheet)) << base;
}

// A built font and its detailed sheet, the plain file beside the archives.
void loadFontAndDetailedSheet(const std::map<std::string, std::vector<uint8_t>>& files,
                              const std::filesystem::path& data, const std::string& base, BuiltFont& f,
                              DecodedPicture& detailed) {
    loadFont(files, base, f);
    if (::testing::Test::HasFatalFailure()) return;
    ASSERT_TRUE(builtdata::decode(builtdata::readFile(data / (base + "@2x.tga")), detailed)) << base;
}

// Texels of a glyph's cell that are clearly inked.
int inkOf(const BuiltFont& f, int c) {
    int side = f.sheet.width / f.cellsPerRow;
    int cx = (f.cell[c] % f.cellsPerRow) * side, cy = (f.cell[c] / f.cellsPerRow) * side;
    int ink = 0;
    for (int y = 0; y < side; y++)
        for (int x = 0; x < side; x++)
            ink += f.sheet.rgba[((size_t(cy + y) * f.sheet.width) + cx + x) * 4 + 3] > 128;
    return ink;
}

bool printable(int c) {
    return (c >= 33 && c <= 126) || (c >= 161 && c <= 255 && c != 173);
}

} // namespace

TEST(BuiltFonts, MetricsAndGridMatch) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        loadFont(files, base, f);
        if (HasFatalFailure()) return;
        ASSERT_GT(f.cellsPerRow, 0);
        EXPECT_EQ(f.sheet.width, f.sheet.height) << base;
        EXPECT_EQ(f.sheet.width % f.cellsPerRow, 0) << base;
        for (int c = 0; c < 256; c++) EXPECT_LT(f.cell[c], f.cellsPerRow * f.cellsPerRow) << base << " " << c;
        EXPECT_GT(f.width[' '], 0) << base << ": space has no width";
    }
}

TEST(BuiltFonts, EveryPrintableCharacterHasInkInsideItsCell) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        loadFont(files, base, f);
        if (HasFatalFailure()) return;
        int side = f.sheet.width / f.cellsPerRow;
        for (int c = 32; c < 256; c++) {
            if (!printable(c) && c != ' ') continue;
            int cx = (f.cell[c] % f.cellsPerRow) * side, cy = (f.cell[c] / f.cellsPerRow) * side;
            int ink = 0, edge = 0, minX = side, maxX = -1;
            for (int y = 0; y < side; y++)
                for (int x = 0; x < side; x++) {
                    uint8_t a = f.sheet.rgba[((size_t(cy + y) * f.sheet.width) + cx + x) * 4 + 3];
                    if (a > 128) {
                        ink++;
                        minX = std::min(minX, x);
                        maxX = std::max(maxX, x);
                    }
                    if (a > 40 && (x == 0 || y == 0 || x == side - 1 || y == side - 1)) edge++;
                }
            if (c == ' ') {
                EXPECT_EQ(ink, 0) << base;
                continue;
            }
            EXPECT_GT(ink, 0) << base << ": no glyph for " << c;
            EXPECT_EQ(edge, 0) << base << ": glyph " << c << " touches its cell border and would bleed";
            // The width (in texels of a 512-wide sheet) covers the glyph's ink, give or take its shadow.
            float widthTexels = f.width[c] * f.sheet.width / 512.0f;
            EXPECT_LE(maxX - minX + 1, widthTexels + 6)
                << base << ": glyph " << c << " wider than its advance";
        }
    }
}

TEST(BuiltFonts, WidthsFollowTheLetters) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        loadFont(files, base, f);
        if (HasFatalFailure()) return;
        EXPECT_GT(f.width['W'], f.width['i']) << base;
        EXPECT_GT(f.width['M'], f.width['l']) << base;
        // Score and time digits line up: every digit is as wide as '0'.
        for (char d = '1'; d <= '9'; d++) EXPECT_EQ(f.width[int(d)], f.width['0']) << base << " " << d;
    }
}

// Every letter the texts of any language use draws in both fonts: the accented letters, and the
// Windows-1252 extras (the French "oe", quotes and dashes) that lie apart from Latin-1.
TEST(BuiltFonts, EveryLetterOfEveryLanguageHasAGlyph) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    std::set<int> used;
    for (const auto& language : std::filesystem::directory_iterator(data / "lang"))
        for (const char* table : {"2strings.txt", "2tips.txt", "2menutext.txt"})
            for (uint8_t b : builtdata::readFile(language.path() / table))
                if (b > 32) used.insert(b);
    // The letters players type into names and German, French, Spanish and Italian words need.
    for (unsigned char c :
         std::string("\xE4\xF6\xFC\xDF\xC4\xD6\xDC\xE9\xE8\xE0\xEA\xF1\xE7\xEB\xF9\xEC\xF2\xBF\xA1\x9C"))
        used.insert(c);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        loadFont(files, base, f);
        if (HasFatalFailure()) return;
        for (int c : used) {
            EXPECT_GT(inkOf(f, c), 0) << base << ": no glyph for byte " << c;
            EXPECT_GT(f.width[c], 0) << base << ": no width for byte " << c;
        }
    }
}

// The detailed sheets read on large screens hold the same glyphs in the same cells at twice the texels:
// every printable glyph's ink has about the same amount and the same centre, measured in base texels.
TEST(BuiltFonts, DetailedSheetsAreTheSameGlyphsAtTwiceTheTexels) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        DecodedPicture detailed;
        loadFontAndDetailedSheet(files, data, base, f, detailed);
        if (HasFatalFailure()) return;
        ASSERT_EQ(detailed.width, 2 * f.sheet.width) << base;
        ASSERT_EQ(detailed.height, 2 * f.sheet.height) << base;
        // Ink (alpha) of a cell: its sum and centre in base texels.
        auto ink = [&](const DecodedPicture& sheet, int c, double& sum, double& x, double& y) {
            int side = sheet.width / f.cellsPerRow, scale = sheet.width / f.sheet.width;
            int cx = (f.cell[c] % f.cellsPerRow) * side, cy = (f.cell[c] / f.cellsPerRow) * side;
            sum = x = y = 0;
            for (int j = 0; j < side; j++)
                for (int i = 0; i < side; i++) {
                    double a = sheet.rgba[((size_t(cy + j) * sheet.width) + cx + i) * 4 + 3] / 255.0;
                    sum += a;
                    x += a * (i + 0.5) / scale;
                    y += a * (j + 0.5) / scale;
                }
            if (sum > 0) x /= sum, y /= sum;
            sum /= scale * scale;
        };
        for (int c = 33; c < 256; c++) {
            if (!printable(c) || inkOf(f, c) == 0) continue;
            double s1, x1, y1, s2, x2, y2;
            ink(f.sheet, c, s1, x1, y1);
            ink(detailed, c, s2, x2, y2);
            EXPECT_NEAR(s2 / s1, 1.0, 0.25) << base << ": byte " << c;
            // Hinting may put a small glyph (a superscript) a texel apart at the two sizes; a glyph in
            // another cell or off its baseline is many texels away.
            EXPECT_NEAR(x2, x1, 1.5) << base << ": byte " << c;
            EXPECT_NEAR(y2, y1, 1.5) << base << ": byte " << c;
        }
    }
}

// The game draws a glyph's quad over the inked part of its base cell and a margin: the detailed sheet's
// glyph must lie inside that part too, or large screens would cut letters at its edges.
TEST(BuiltFonts, DetailedGlyphsLieInsideTheInkedPartOfTheirBaseCells) {
    REQUIRE_BUILT_PICTURES(data);
    auto files = builtdata::archiveFiles(data);
    for (const char* base : {"font", "font2"}) {
        BuiltFont f;
        DecodedPicture detailed;
        loadFontAndDetailedSheet(files, data, base, f, detailed);
        if (HasFatalFailure()) return;
        Font game;
        game.cellsPerRow = f.cellsPerRow;
        findGlyphInk(game, f.sheet);
        int side = detailed.width / f.cellsPerRow, outside = 0;
        for (int c = 33; c < 256; c++) {
            if (!printable(c)) continue;
            const GlyphInk& ink = game.ink[f.cell[c]];
            int cx = (f.cell[c] % f.cellsPerRow) * side, cy = (f.cell[c] / f.cellsPerRow) * side;
            for (int y = 0; y < side; y++)
                for (int x = 0; x < side; x++) {
                    const uint8_t* t = &detailed.rgba[((size_t(cy + y) * detailed.width) + cx + x) * 4];
                    if (!(t[0] | t[1] | t[2] | t[3])) continue;
                    bool inside = x >= ink.left * side && x + 1 <= ink.right * side && y >= ink.top * side &&
                                  y + 1 <= ink.bottom * side;
                    if (!inside && outside++ < 5)
                        ADD_FAILURE() << base << ": byte " << c << " has ink at " << x << "," << y
                                      << " of its detailed cell, outside its part";
                }
        }
        EXPECT_EQ(outside, 0) << base;
    }
}
