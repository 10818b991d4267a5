#include "engine/font.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/file_registry.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/message_box.h"
#include "test_font.h"

namespace {

int exitCode;
void recordExit(int code) {
    exitCode = code;
}

class FontTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        resetText();
        messageBoxes.useWindow = false;
        messageBoxes.exitHook = recordExit;
        exitCode = -1;
        begin2D();
    }
    void TearDown() override {
        resetText();
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        resetRender();
    }
    // Centre of the n-th glyph quad drawn this frame.
    glm::vec2 glyphCentre(int n) {
        endScene();
        const RecordedDraw& d = backend.draws.at(0);
        const ColoredVertex& tr = backend.coloredVertex(d, n * 4);
        const ColoredVertex& bl = backend.coloredVertex(d, n * 4 + 3);
        return {(tr.x + bl.x) / 2, (tr.y + bl.y) / 2};
    }
    int glyphCount() {
        endScene();
        int quads = 0;
        for (const RecordedDraw& d : backend.draws) quads += d.vertexCount / 4;
        return quads;
    }
};

TEST_F(FontTest, AdvanceComesFromTheWidthByteAndScale) {
    test_font::load("font", 16, 16, 1.0f, 0.9f);
    test_font::load("font2", 16, 8, 1.2f, 0.75f);
    ASSERT_EQ(text.fonts.size(), 2);
    EXPECT_FLOAT_EQ(text.fonts[0].advance['A'], 1.0f);
    EXPECT_FLOAT_EQ(text.fonts[1].advance['A'], 0.5f * 1.2f);
    EXPECT_FLOAT_EQ(text.fonts[1].cellSize, 1.0f / 16);
    EXPECT_EQ(text.color, 0xFFFFFFFFu);
    EXPECT_NE(text.highlight, nullptr);
    EXPECT_EQ(findFile("font.dat"), nullptr) << "the metrics file is released once parsed";
    selectFont(3);
    EXPECT_EQ(text.current, 1);
    selectFont(-1);
    EXPECT_EQ(text.current, 1);
}

TEST_F(FontTest, ShortOrEmptyMetricsStopWithTheLoadingMessage) {
    test_pictures::registerBytes("cut.tga", test_pictures::tga(4, 4, test_pictures::gradient(4, 4)));
    test_pictures::registerBytes("cut.dat", test_font::datBytes(16, 16, kFontFileBytes - 1));
    loadFont("cut", 1.0f, 1.0f);
    EXPECT_EQ(exitCode, 1);
    EXPECT_STREQ(messageBoxes.lastTitle, "Loading Error");
    EXPECT_STREQ(messageBoxes.lastText, "Can't load cut.dat...\nProgram will now stop.");
    EXPECT_EQ(text.fonts.size(), 0);
    exitCode = -1;
    test_pictures::registerBytes("zero.tga", test_pictures::tga(4, 4, test_pictures::gradient(4, 4)));
    test_pictures::registerBytes("zero.dat", test_font::datBytes(0, 16));
    loadFont("zero", 1.0f, 1.0f);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(text.fonts.size(), 0);
}

TEST_F(FontTest, LeftAlignedGlyphsAreSpacedByTheMeanOfNeighbouringAdvances) {
    test_font::load("font", 16, 16, 1.0f, 0.9f);
    Font& f = text.fonts[0];
    f.advance['A'] = 0.6f;
    f.advance['B'] = 1.0f;
    f.cellOf['A'] = 17;
    drawText(0, 50, 20, "AB");
    EXPECT_EQ(render.triangleCount, 4);
    glm::vec2 a = glyphCentre(0), b = glyphCentre(1);
    EXPECT_FLOAT_EQ(a.x, 0);
    EXPECT_FLOAT_EQ(a.y, 50);
    EXPECT_FLOAT_EQ(b.x, 20 * (0.6f + 1.0f) / 2);
    const RecordedDraw& d = backend.draws[0];
    // Glyph A: half-width size * scaleX, half-height size * scaleX * scaleY, cell 17 = row 1, column 1.
    const ColoredVertex& topRight = backend.coloredVertex(d, 0);
    EXPECT_FLOAT_EQ(topRight.x, 20);
    EXPECT_FLOAT_EQ(topRight.y, 50 + 20 * 0.9f);
    EXPECT_FLOAT_EQ(topRight.z, 45);
    EXPECT_FLOAT_EQ(topRight.u, 2.0f / 16);
    EXPECT_FLOAT_EQ(topRight.v, 1.0f / 16);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 3).u, 1.0f / 16);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 3).v, 2.0f / 16);
    EXPECT_EQ(d.states.texture, f.texture->handle);
}

TEST_F(FontTest, LettersMuchLargerThanTheirCellsComeFromTheDetailedSheetWhenItFits) {
    // The test font's cells are 4 texels; a full-HD screen draws 1.8 pixels a unit, so a glyph of size s
    // (a cell 2 s units wide) covers 3.6 s pixels: 1.5 times its texels from s = 1.67 on.
    render.drawableSize = [](int* w, int* h) { *w = 1920, *h = 1080; };
    render.pictureAreaPending = true;
    auto sheetOf = [&](float size) {
        backend.clearFrame();
        drawText(0, 0, size, "A");
        endScene();
        return backend.draws.back().states.texture;
    };
    struct Case {
        const char* name;
        int detailedSide; // 0: no detailed sheet
        bool used;
    } cases[] = {{"twice the texels", 128, true}, {"another grid", 96, false}, {"none", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetText();
        resetTextures();
        resetFileRegistry();
        if (c.detailedSide)
            test_pictures::registerBytes(
                "font@2x.tga", test_pictures::tga(c.detailedSide, c.detailedSide,
                                                  test_pictures::gradient(c.detailedSide, c.detailedSide)));
        test_font::load("font", 16, 16, 1.0f, 0.9f);
        Font& f = text.fonts[0];
        EXPECT_EQ(sheetOf(1.5f), f.texture->handle);
        EXPECT_FALSE(f.detailedTried) << "read before a glyph needs it";
        uint32_t large = sheetOf(20);
        EXPECT_TRUE(f.detailedTried);
        if (c.used) {
            ASSERT_NE(f.detailed, nullptr);
            EXPECT_EQ(large, f.detailed->handle);
            EXPECT_EQ(sheetOf(1.5f), f.texture->handle) << "small letters keep the base sheet";
        } else {
            EXPECT_EQ(f.detailed, nullptr);
            EXPECT_EQ(large, f.texture->handle);
            EXPECT_EQ(findTexture("font@2x.tga"), nullptr) << "a sheet that cannot be used is let go";
        }
    }
    render.drawableSize = nullptr;
}

// A glyph's quad covers only the inked part of its cell (and a margin for filtering), each corner with
// the texel the whole cell's quad would give it there; a cell without ink draws nothing.
TEST_F(FontTest, GlyphQuadsCoverOnlyTheInkedPartOfTheirCells) {
    // Two cells a row of 32 texels: '@' is cell 0, 'A' 1 (top right), 'B' 2, 'C' 3.
    std::vector<uint8_t> sheet(64 * 64 * 4, 0);
    auto ink = [&](int x, int y, uint8_t alpha) {
        uint8_t* t = &sheet[(static_cast<size_t>(y) * 64 + x) * 4];
        t[0] = t[1] = t[2] = 255;
        t[3] = alpha;
    };
    for (int x = 10; x <= 13; x++) ink(x, 20, 255), ink(x, 21, 128);
    ink(32 + 16, 16, 0);       // colour without alpha still adds light under additive blending
    ink(32 + 0, 32 + 31, 255); // at the edges of its cell: the margin stops there
    ink(32 + 31, 32 + 0, 255);
    test_pictures::registerBytes("ink.tga", test_pictures::tga(64, 64, sheet));
    test_pictures::registerBytes("ink.dat", test_font::datBytes(2, 16));
    test_pictures::registerBytes("podsvet.jpg", test_pictures::jpeg(8, 8, test_pictures::gradient(8, 8)));
    loadFont("ink", 1.0f, 1.0f);
    struct Case {
        char glyph;
        float left, top, right, bottom; // the quad's part of the cell, in texels from its top left
    } cases[] = {{'@', 6, 16, 18, 26}, {'A', 12, 12, 21, 21}, {'C', 0, 0, 32, 32}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.glyph);
        backend.clearFrame();
        drawGlyph(static_cast<uint8_t>(c.glyph), 0, 0, 10, 0xFFFFFFFF); // the whole cell: (-10, 10)-(10, -10)
        endScene();
        ASSERT_EQ(backend.draws.size(), 1u);
        const RecordedDraw& d = backend.draws[0];
        ASSERT_EQ(d.vertexCount, 4);
        TexRect cell = glyphRect(text.fonts[0], static_cast<uint8_t>(c.glyph));
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (int i = 0; i < 4; i++) {
            const ColoredVertex& v = backend.coloredVertex(d, i);
            minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
            EXPECT_NEAR(v.u, cell.left + (v.x + 10) / 20 * 0.5f, 1e-5f) << "vertex " << i;
            EXPECT_NEAR(v.v, cell.top + (10 - v.y) / 20 * 0.5f, 1e-5f) << "vertex " << i;
        }
        EXPECT_NEAR(minX, -10 + 20 * c.left / 32, 1e-4f);
        EXPECT_NEAR(maxX, -10 + 20 * c.right / 32, 1e-4f);
        EXPECT_NEAR(maxY, 10 - 20 * c.top / 32, 1e-4f);
        EXPECT_NEAR(minY, 10 - 20 * c.bottom / 32, 1e-4f);
    }
    backend.clearFrame();
    drawGlyph('B', 0, 0, 10, 0xFFFFFFFF);
    endScene();
    EXPECT_TRUE(backend.draws.empty()) << "a cell without ink";
}

TEST_F(FontTest, LineBreaksStartTheNextLineCentredOnXOneStepDown) {
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    text.fonts[0].advance['C'] = 0.4f;
    drawText(10, 0, 10, "AB\r\nC\nA");
    EXPECT_EQ(glyphCount(), 4);
    glm::vec2 c = glyphCentre(2), a = glyphCentre(3);
    EXPECT_FLOAT_EQ(c.x, 10);
    EXPECT_FLOAT_EQ(c.y, -18);
    EXPECT_FLOAT_EQ(a.x, 10);
    EXPECT_FLOAT_EQ(a.y, -36);
}

TEST_F(FontTest, CentredLineStartsAtHalfItsWidthLeftOfX) {
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    Font& f = text.fonts[0];
    f.advance['A'] = 0.6f;
    f.advance['B'] = 1.0f;
    text.color = 0xFF00FF00;
    render.tint = glm::vec4(1, 0.5f, 1, 1);
    drawTextCentered(100, 0, 20, "AAB");
    float w = 20 * (0.6f + 0.6f + 1.0f);
    EXPECT_FLOAT_EQ(measureText("AAB", 20), w);
    EXPECT_FLOAT_EQ(glyphCentre(0).x, 100 - w / 2 + 10);
    EXPECT_FLOAT_EQ(glyphCentre(1).x, 100 - w / 2 + 10 + 12);
    EXPECT_FLOAT_EQ(glyphCentre(2).x, 100 - w / 2 + 10 + 12 + 16);
    EXPECT_EQ(backend.coloredVertex(backend.draws[0], 0).color, 0xFF007F00u) << "glyphs are tinted";
}

TEST_F(FontTest, EveryCentredLineStartsLikeTheFirst) {
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    drawTextCentered(0, 0, 10, "AB\r\nAB\nAB");
    EXPECT_EQ(glyphCount(), 6);
    for (int line = 0; line < 3; line++) {
        EXPECT_FLOAT_EQ(glyphCentre(line * 2).x, -10 + 5) << line;
        EXPECT_FLOAT_EQ(glyphCentre(line * 2).y, -18 * line) << line;
    }
}

TEST_F(FontTest, WrapBreaksAtSpacesAndNeverCutsIntoAFirstWord) {
    test_font::load("font", 16, 16, 1.0f, 1.0f); // every character 10 units wide at size 10
    EXPECT_FLOAT_EQ(wrapText(200, "aaa bbb", 10), 18);
    EXPECT_STREQ(text.wrapBuffer, "aaa bbb");
    EXPECT_FLOAT_EQ(wrapText(55, "aaa bbb ccc", 10), 54);
    EXPECT_STREQ(text.wrapBuffer, "aaa\nbbb\nccc");
    // The first letter of a new line counts like the others: "bb cc" would be 50 wide.
    EXPECT_FLOAT_EQ(wrapText(45, "aaaa bb cc", 10), 54);
    EXPECT_STREQ(text.wrapBuffer, "aaaa\nbb\ncc");
    // Line feeds already there count as lines and are kept.
    EXPECT_FLOAT_EQ(wrapText(200, "aaa\r\nbbb", 10), 36);
    EXPECT_STREQ(text.wrapBuffer, "aaa\r\nbbb");
    // A first word wider than the limit keeps its letters and breaks after itself.
    EXPECT_FLOAT_EQ(wrapText(35, "aaaaaaaa bb", 10), 36);
    EXPECT_STREQ(text.wrapBuffer, "aaaaaaaa\nbb");
    // So does a long word later on, instead of breaking at the same place for ever.
    EXPECT_FLOAT_EQ(wrapText(35, "aa bbbbbbbbbb cc", 10), 54);
    EXPECT_STREQ(text.wrapBuffer, "aa\nbbbbbbbbbb\ncc");
    std::string longText(3000, 'x');
    wrapText(100000, longText.c_str(), 1);
    EXPECT_EQ(std::string(text.wrapBuffer).size(), 1023u);
}

TEST_F(FontTest, HighlightedTextDrawsTheGlowAdditivelyAfterTheText) {
    test_font::load("font", 16, 16, 1.0f, 1.0f);
    drawTextHighlighted(0, 0, 10, 0xFF8080FF, "AB", true);
    endScene();
    ASSERT_EQ(backend.draws.size(), 2u);
    const RecordedDraw& glow = backend.draws[1];
    EXPECT_EQ(glow.states.texture, text.highlight->handle);
    EXPECT_EQ(glow.states.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(glow.states.dstBlend, BlendFactor::One);
    EXPECT_EQ(glow.states.alphaTest, 0);
    // Centred: x = -20 / 2 + 10 / 2 = -5; box from (x + 2 - 30, 5 + 10) to (x + 2 + 10 + 20, 5 - 10).
    EXPECT_FLOAT_EQ(glyphCentre(0).x, -5);
    EXPECT_FLOAT_EQ(backend.coloredVertex(glow, 0).x, -33);
    EXPECT_FLOAT_EQ(backend.coloredVertex(glow, 0).y, 15);
    EXPECT_FLOAT_EQ(backend.coloredVertex(glow, 2).x, 27);
    EXPECT_FLOAT_EQ(backend.coloredVertex(glow, 2).y, -5);
    EXPECT_EQ(backend.coloredVertex(glow, 2).color, 0xFF8080FFu);
    EXPECT_EQ(render.states.alphaTest, 1);
    EXPECT_EQ(render.states.dstBlend, BlendFactor::InvSrcAlpha);
}

} // namespace
