#include <gtest/gtest.h>

#include <cmath>

#include "engine/file_registry.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "test_pictures.h"

namespace {

using namespace test_pictures;

// Texel (x, y) of a picture numbered n: red x * 16, green y * 16, blue n, alpha 255 - x.
std::vector<uint8_t> numbered(int width, int height, int n) {
    std::vector<uint8_t> rgba = gradient(width, height);
    for (size_t i = 0; i < rgba.size(); i += 4) rgba[i + 2] = static_cast<uint8_t>(n);
    return rgba;
}

class TexturePagesTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetFileRegistry();
    }
    void TearDown() override {
        resetTextures();
        resetFileRegistry();
        resetRender();
    }
    const RecordedTexture& texels(const Texture* t) { return backend.textures[t->handle - 1]; }
    // The page texel at the picture's own texel (x, y); x and y may lie in the border.
    const uint8_t* pageTexel(const Texture* t, int x, int y) {
        const RecordedTexture& page = texels(t);
        int left = static_cast<int>(std::lround(t->pageLeft * page.width));
        int top = static_cast<int>(std::lround(t->pageTop * page.height));
        return &page.rgba[(static_cast<size_t>(top + y) * page.width + left + x) * 4];
    }
    const ColoredVertex& vertex(int draw, int i) { return backend.coloredVertex(backend.draws[draw], i); }
};

TEST_F(TexturePagesTest, PicturesShareOnePageUnderTheNamesGetTextureGives) {
    registerBytes("a.tga", tga(8, 4, numbered(8, 4, 1)));
    registerBytes("b.tga", tga(4, 4, numbered(4, 4, 2)));
    std::vector<uint8_t> withAlpha = jpeg(4, 2, gradient(4, 2));
    for (int i = 0; i < 8; i++) withAlpha.push_back(static_cast<uint8_t>(10 + i));
    registerBytes("_a_c.jpg", withAlpha);
    registerBytes("c.tga", tga(4, 2, gradient(4, 2)));
    registerBytes("d.jpg", jpeg(4, 4, gradient(4, 4)));
    const char* names[] = {"a.tga", "b.tga", "c.tga", "d.jpg", "missing.tga"};
    EXPECT_EQ(loadTexturePages(names, 5), 1);
    EXPECT_EQ(backend.textures.size(), 1u) << "one page, no texture of their own";

    Texture* a = findTexture("a.tga");
    Texture* b = findTexture("b.tga");
    Texture* c = findTexture("_a_c.jpg");
    Texture* d = findTexture("d.jpg");
    ASSERT_TRUE(a && b && c && d);
    EXPECT_EQ(findTexture("c.tga"), nullptr) << "listed under the alpha JPEG's name, as getTexture would";
    EXPECT_EQ(a->handle, b->handle);
    EXPECT_EQ(a->handle, c->handle);
    EXPECT_EQ(a->handle, d->handle);
    EXPECT_EQ(a->width, 8);
    EXPECT_EQ(a->height, 4);
    EXPECT_TRUE(a->hasAlpha);
    EXPECT_TRUE(c->hasAlpha);
    EXPECT_FALSE(d->hasAlpha);
    EXPECT_EQ(texels(a).mipLevels, 2) << "as the pictures' own textures had";
    EXPECT_EQ(findFile("_a_c.jpg"), nullptr) << "the alpha JPEG's file is released, as loadAlphaJpeg does";
    EXPECT_NE(findFile("a.tga"), nullptr) << "a TGA stays registered, as getTexture leaves it";

    // getTexture finds the packed records; nothing new is made.
    EXPECT_EQ(getTexture("a.tga"), a);
    EXPECT_EQ(getTexture("c.tga"), c);
    EXPECT_EQ(getTexture("missing.tga", false), nullptr);
    EXPECT_EQ(backend.textures.size(), 1u);

    // The texels, the alpha plane and a border that repeats the opposite edges, as wrap addressing reads.
    EXPECT_EQ(pageTexel(a, 3, 2)[0], 3 * 16);
    EXPECT_EQ(pageTexel(a, 3, 2)[1], 2 * 16);
    EXPECT_EQ(pageTexel(a, 3, 2)[2], 1);
    EXPECT_EQ(pageTexel(b, 0, 0)[2], 2);
    EXPECT_EQ(pageTexel(c, 1, 1)[3], 10 + 5);
    EXPECT_EQ(pageTexel(a, -1, 0)[0], 7 * 16) << "left of the picture: its right column";
    EXPECT_EQ(pageTexel(a, 8, 0)[0], 0) << "right of the picture: its left column";
    EXPECT_EQ(pageTexel(a, 0, -2)[1], 2 * 16) << "above the picture: its bottom rows";
    EXPECT_EQ(pageTexel(a, 9, 5)[0], 1 * 16);
    EXPECT_EQ(pageTexel(a, 9, 5)[1], 1 * 16);

    // Pictures start on even texels, so the second mipmap level never mixes two of them.
    for (const Texture* t : {a, b, c, d}) {
        const RecordedTexture& page = texels(t);
        EXPECT_EQ(std::lround(t->pageLeft * page.width) % 2, 0);
        EXPECT_EQ(std::lround(t->pageTop * page.height) % 2, 0);
    }
}

TEST_F(TexturePagesTest, ListedPicturesAreLeftAloneAndReleasingAPictureKeepsThePage) {
    registerBytes("a.tga", tga(4, 4, numbered(4, 4, 1)));
    registerBytes("b.tga", tga(4, 4, numbered(4, 4, 2)));
    Texture* own = getTexture("a.tga");
    const char* names[] = {"a.tga", "b.tga"};
    loadTexturePages(names, 2);
    EXPECT_EQ(findTexture("a.tga"), own);
    EXPECT_FALSE(own->packed);
    Texture* b = findTexture("b.tga");
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->packed);
    uint32_t page = b->handle;
    releaseTexture(b);
    EXPECT_FALSE(backend.textures[page - 1].released) << "the page belongs to its own record";
}

TEST_F(TexturePagesTest, SpritesOfOnePageAreOneDrawWithTheirOwnTextureRectangles) {
    registerBytes("a.tga", tga(8, 8, numbered(8, 8, 1)));
    registerBytes("b.tga", tga(8, 8, numbered(8, 8, 2)));
    const char* names[] = {"a.tga", "b.tga"};
    loadTexturePages(names, 2);
    const Texture* a = findTexture("a.tga");
    const Texture* b = findTexture("b.tga");
    begin2D();
    setTexture(a);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    setTexture(b);
    drawRect(0, 10, 10, 0, {0.5f, 0.0f, 1.0f, 0.25f}, 0xFFFFFFFF);
    // A half-turned quad reads 0 to -1, one period of the wrap: it lands on the picture, turned.
    glm::vec3 corners[4] = {{0, 0, 10}, {0, 1, 10}, {1, 1, 10}, {1, 0, 10}};
    uint32_t colors[4] = {~0u, ~0u, ~0u, ~0u};
    drawQuad4(corners, colors);
    endScene();
    ASSERT_EQ(backend.draws.size(), 1u);
    // drawRect's strip: top-right, bottom-right, top-left, bottom-left.
    EXPECT_FLOAT_EQ(vertex(0, 0).u, a->pageRight);
    EXPECT_FLOAT_EQ(vertex(0, 1).v, a->pageBottom);
    EXPECT_FLOAT_EQ(vertex(0, 2).u, a->pageLeft);
    EXPECT_FLOAT_EQ(vertex(0, 2).v, a->pageTop);
    float bw = b->pageRight - b->pageLeft, bh = b->pageBottom - b->pageTop;
    EXPECT_FLOAT_EQ(vertex(0, 4).u, b->pageRight);
    EXPECT_FLOAT_EQ(vertex(0, 4).v, b->pageTop);
    EXPECT_FLOAT_EQ(vertex(0, 6).u, b->pageLeft + 0.5f * bw);
    EXPECT_FLOAT_EQ(vertex(0, 7).v, b->pageTop + 0.25f * bh);
    // drawQuad4's points (0,0) (0,-1) (-1,-1) (-1,0) are the picture's (1,1) (1,0) (0,0) (0,1).
    EXPECT_FLOAT_EQ(vertex(0, 8).u, b->pageRight);
    EXPECT_FLOAT_EQ(vertex(0, 8).v, b->pageBottom);
    EXPECT_FLOAT_EQ(vertex(0, 10).u, b->pageLeft);
    EXPECT_FLOAT_EQ(vertex(0, 10).v, b->pageTop);

    // A texture of its own keeps its points as they are and breaks the batch.
    backend.clearFrame();
    Texture* own = createTexture("own", 8, 8, kFormatA8R8G8B8);
    setTexture(a);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    setTexture(own);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    endScene();
    ASSERT_EQ(backend.draws.size(), 2u);
    EXPECT_FLOAT_EQ(vertex(1, 0).u, 1.0f);
    EXPECT_FLOAT_EQ(vertex(1, 1).v, 1.0f);
}

} // namespace

namespace {

// Normal and additive sprites of one page share a draw when the backend blends per quad, each quad
// keeping its own factors in drawing order; a blend that reads the picture below still breaks the batch.
TEST_F(TexturePagesTest, BlendModesShareADrawWhereTheBackendBlendsPerQuad) {
    backend.perQuadBlends = true;
    createDisplay(&backend);
    registerBytes("a.tga", tga(8, 8, numbered(8, 8, 1)));
    registerBytes("glow.tga", tga(8, 8, numbered(8, 8, 2)));
    const char* names[] = {"a.tga", "glow.tga"};
    loadTexturePages(names, 2);
    begin2D();
    for (int i = 0; i < 3; i++) {
        setTexture(findTexture("glow.tga"));
        setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
        drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
        setTexture(findTexture("a.tga"));
        setBlendMode(kBlendNormal);
        drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    }
    setBlendFactors(BlendFactor::DestColor, BlendFactor::Zero);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    endScene();
    ASSERT_EQ(backend.draws.size(), 2u);
    const RecordedDraw& mixed = backend.draws[0];
    ASSERT_TRUE(mixed.mixedBlends);
    ASSERT_EQ(mixed.primitiveCount, 12);
    uint8_t glow = quadBlendCode(BlendFactor::SrcAlpha, BlendFactor::One);
    uint8_t normal = quadBlendCode(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    for (int q = 0; q < 6; q++)
        EXPECT_EQ(backend.quadBlends[mixed.quadBlendOffset + q], q % 2 ? normal : glow);
    EXPECT_FALSE(backend.draws[1].mixedBlends);
    EXPECT_EQ(backend.draws[1].states.srcBlend, BlendFactor::DestColor);

    // A backend that blends only by its states gets one draw per blend mode.
    RecordingBackend plain;
    createDisplay(&plain);
    setTexture(nullptr);
    setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    setBlendMode(kBlendNormal);
    drawRect(0, 10, 10, 0, kWholeTexture, 0xFFFFFFFF);
    endScene();
    EXPECT_EQ(plain.draws.size(), 2u);
    resetRender(); // the local backend goes
}

} // namespace
