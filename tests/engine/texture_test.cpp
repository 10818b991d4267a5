#include "engine/texture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/file_registry.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture_decode.h"
#include "platform/message_box.h"
#include "test_pictures.h"

namespace {

using namespace test_pictures;

int exitCode;
void recordExit(int code) {
    exitCode = code;
}

class TextureTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        messageBoxes.useWindow = false;
        messageBoxes.exitHook = recordExit;
        exitCode = -1;
    }
    void TearDown() override {
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        resetRender();
    }
    const RecordedTexture& texels(const Texture* t) { return backend.textures[t->handle - 1]; }
    // A JPEG of width x height followed by alphaBytes bytes of alpha 0, 1, 2, ...
    void registerAlphaJpeg(const char* name, int width, int height, int alphaBytes) {
        std::vector<uint8_t> bytes = jpeg(width, height, gradient(width, height));
        for (int i = 0; i < alphaBytes; i++) bytes.push_back(static_cast<uint8_t>(i));
        registerBytes(name, bytes);
    }
};

TEST_F(TextureTest, TgaNameFindsTheJpegWithAlphaPlaneFirst) {
    registerAlphaJpeg("_a_ball.jpg", 4, 3, 12);
    registerBytes("ball.tga", tga(4, 3, gradient(4, 3)));
    Texture* t = getTexture("ball.tga");
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->name, "_a_ball.jpg");
    EXPECT_TRUE(t->hasAlpha);
    EXPECT_EQ(t->width, 4);
    EXPECT_EQ(t->height, 3);
    // Alpha bytes go row by row from the top into the texels.
    const RecordedTexture& rt = texels(t);
    for (int i = 0; i < 12; i++) EXPECT_EQ(rt.rgba[i * 4 + 3], i);
    EXPECT_NEAR(rt.rgba[(1 * 4 + 2) * 4 + 0], 32, 12); // red of texel (2, 1), through JPEG loss
    EXPECT_EQ(findFile("_a_ball.jpg"), nullptr) << "the alpha JPEG's file is released after loading";
    // Asking again finds the same record through the JPEG name; nothing new is listed.
    EXPECT_EQ(getTexture("ball.tga"), t);
    EXPECT_EQ(textures.list.size(), 1);
}

TEST_F(TextureTest, TgaAloneLoadsAsTgaWithAlphaAndStaysRegistered) {
    registerBytes("ball.tga", tga(4, 3, gradient(4, 3)));
    registerBytes("sky.jpg", jpeg(8, 8, gradient(8, 8)));
    Texture* t = getTexture("ball.tga");
    ASSERT_NE(t, nullptr);
    EXPECT_STREQ(t->name, "ball.tga");
    EXPECT_TRUE(t->hasAlpha);
    EXPECT_EQ(texels(t).rgba[(2 * 4 + 3) * 4 + 3], 255 - 3); // TGA alpha exactly, rows from the top
    EXPECT_EQ(texels(t).rgba[(2 * 4 + 3) * 4 + 1], 2 * 16);
    EXPECT_EQ(texels(t).mipLevels, 2);
    EXPECT_NE(findFile("ball.tga"), nullptr);
    Texture* sky = getTexture("sky.jpg");
    ASSERT_NE(sky, nullptr);
    EXPECT_FALSE(sky->hasAlpha);
    // Names compare exactly.
    EXPECT_EQ(findTexture("BALL.tga"), nullptr);
    EXPECT_EQ(findTexture("ball.tga"), t);
}

TEST_F(TextureTest, MissingOrBrokenPicturesFailCleanly) {
    EXPECT_EQ(getTexture("none.jpg", false), nullptr);
    EXPECT_EQ(messageBoxes.shownCount, 0);
    EXPECT_EQ(getTexture("none.jpg", true), nullptr);
    EXPECT_STREQ(messageBoxes.lastTitle, "Loading error");
    EXPECT_STREQ(messageBoxes.lastText, "Couldn't load texture: none.jpg");
    EXPECT_EQ(exitCode, 1);

    registerBytes("junk.jpg", {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34});
    exitCode = -1;
    EXPECT_EQ(getTexture("junk.jpg", false), nullptr);
    EXPECT_EQ(exitCode, -1);
    EXPECT_EQ(getTexture("junk.jpg"), nullptr);
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(textures.list.size(), 0);
}

TEST(TextureDecode, TgaShorterThanItsHeaderPromisesIsRefused) {
    DecodedPicture picture;
    for (int rle : {0, 1}) {
        SCOPED_TRACE(rle ? "run-length packets" : "plain pixels");
        std::vector<uint8_t> out;
        stbi_write_tga_with_rle = rle;
        stbi_write_tga_to_func(append, &out, 16, 8, 4, gradient(16, 8).data());
        ASSERT_TRUE(decodePicture(out.data(), static_cast<int>(out.size()), picture));
        EXPECT_EQ(picture.width, 16);
        EXPECT_EQ(picture.rgba.size(), 16u * 8 * 4);
    }
    std::vector<uint8_t> whole = tga(16, 8, gradient(16, 8));
    EXPECT_FALSE(decodePicture(whole.data(), static_cast<int>(whole.size()) - 1, picture));
    // A header of 1541 x 2055 sixteen-bit pixels followed by nine bytes: it used to be decoded in full,
    // seconds of work and megabytes for nothing.
    const uint8_t cutShort[] = {0x00, 0x00, 0x02, 0x1e, 0x10, 0x10, 0x10, 0x10, 0x30,
                                0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x10, 0x01,
                                0x3f, 0x01, 0x86, 0x09, 0x01, 0x76, 0x00, 0x03, 0x04};
    EXPECT_FALSE(decodePicture(cutShort, sizeof cutShort, picture));
    EXPECT_TRUE(picture.rgba.empty());
}

TEST_F(TextureTest, AlphaPlaneShorterThanThePictureIsRefused) {
    registerAlphaJpeg("_a_short.jpg", 4, 3, 11);
    EXPECT_EQ(loadAlphaJpeg("_a_short.jpg", false), nullptr);
    EXPECT_EQ(exitCode, -1);
    registerAlphaJpeg("_a_short.jpg", 4, 3, 11);
    EXPECT_EQ(loadAlphaJpeg("_a_short.jpg", true), nullptr);
    EXPECT_STREQ(messageBoxes.lastText, "Can't load texture: _a_short.jpg");
    EXPECT_STREQ(messageBoxes.lastTitle, "Loading error");
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(textures.list.size(), 0);
    // A missing alpha JPEG is simply absent, even in the fatal form.
    exitCode = -1;
    EXPECT_EQ(loadAlphaJpeg("_a_none.jpg", true), nullptr);
    EXPECT_EQ(exitCode, -1);
}

TEST_F(TextureTest, SizedLoadsAreTexturesOfExactlyTheAskedSize) {
    registerAlphaJpeg("_a_back1.jpg", 5, 3, 15);
    Texture* back = loadAlphaJpegSized("_a_back1.jpg", 5, 3);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->width, 5);
    EXPECT_EQ(back->height, 3);
    const RecordedTexture& b = texels(back);
    ASSERT_EQ(b.rgba.size(), 5u * 3 * 4);
    // Alpha byte r * 5 + c lands in texel r * 5 + c.
    EXPECT_EQ(b.rgba[(1 * 5 + 4) * 4 + 3], 9);
    EXPECT_EQ(b.rgba[(2 * 5 + 0) * 4 + 3], 10);
    EXPECT_EQ(b.rgba[(2 * 5 + 4) * 4 + 3], 14);
    EXPECT_NEAR(b.rgba[(2 * 5 + 4) * 4 + 2], 200, 12);
    // A plane shorter than the asked size is a broken file.
    registerAlphaJpeg("_a_back2.jpg", 5, 3, 14);
    EXPECT_EQ(loadAlphaJpegSized("_a_back2.jpg", 5, 3), nullptr);

    // A picture smaller than the asked size sits at the top left, transparent black beyond it; a larger
    // one is cut to it.
    registerBytes("splash.tga", tga(5, 3, gradient(5, 3)));
    Texture* splash = loadPictureSized("splash.tga", 7, 4);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->width, 7);
    EXPECT_EQ(splash->height, 4);
    const RecordedTexture& s = texels(splash);
    ASSERT_EQ(s.rgba.size(), 7u * 4 * 4);
    EXPECT_EQ(s.rgba[(2 * 7 + 4) * 4 + 0], 4 * 16);
    EXPECT_EQ(s.rgba[(2 * 7 + 4) * 4 + 1], 2 * 16);
    EXPECT_EQ(s.rgba[(2 * 7 + 5) * 4 + 0], 0);
    EXPECT_EQ(s.rgba[(2 * 7 + 5) * 4 + 3], 0);
    EXPECT_EQ(s.rgba[(3 * 7 + 0) * 4 + 3], 0);
    EXPECT_EQ(loadPictureSized("splash.tga", 7, 4), splash);
    registerBytes("cut.tga", tga(5, 3, gradient(5, 3)));
    Texture* cut = loadPictureSized("cut.tga", 2, 2);
    ASSERT_NE(cut, nullptr);
    const RecordedTexture& c = texels(cut);
    ASSERT_EQ(c.rgba.size(), 2u * 2 * 4);
    EXPECT_EQ(c.rgba[(1 * 2 + 1) * 4 + 0], 1 * 16);
    EXPECT_EQ(c.rgba[(1 * 2 + 1) * 4 + 1], 1 * 16);

    // The required picture is missing: the loading message and exit code 1.
    EXPECT_EQ(loadPictureSized("gone.jpg", 800, 600), nullptr);
    EXPECT_EQ(exitCode, 1);
}

TEST_F(TextureTest, CreateFindReleaseKeepOrderAndTheListHasALimit) {
    Texture* a = createTexture("a", 4, 4, kFormatA8R8G8B8);
    Texture* b = createTexture("b", 4, 4, kFormatA8R8G8B8);
    Texture* c = createTexture("c", 2, 2, kFormatR5G6B5);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(createTexture("b", 8, 8, kFormatA8R8G8B8), b);
    EXPECT_EQ(c->format, kFormatR5G6B5);
    uint32_t handleOfB = b->handle;
    setTexture(b);
    releaseTexture(b);
    EXPECT_TRUE(backend.textures[handleOfB - 1].released);
    EXPECT_EQ(render.states.texture, 0u) << "a released texture stays bound";
    ASSERT_EQ(textures.list.size(), 2);
    EXPECT_EQ(textures.list[0], a);
    EXPECT_EQ(textures.list[1], c);
    EXPECT_EQ(findTexture("b"), nullptr);

    for (int i = textures.list.size(); i < kMaxTextures; i++) {
        char name[16];
        std::snprintf(name, sizeof name, "t%i", i);
        ASSERT_NE(createTexture(name, 2, 2, kFormatA8R8G8B8), nullptr);
    }
    EXPECT_EQ(messageBoxes.shownCount, 0);
    EXPECT_EQ(createTexture("one too many", 2, 2, kFormatA8R8G8B8), nullptr);
    EXPECT_STREQ(messageBoxes.lastTitle, "Init error");
    EXPECT_STREQ(messageBoxes.lastText, "Couldn't create texture: one too many");
    EXPECT_EQ(exitCode, -1);
    releaseAllTextures();
    EXPECT_EQ(textures.list.size(), 0);
    for (const RecordedTexture& t : backend.textures) EXPECT_TRUE(t.released);
}

TEST_F(TextureTest, DeviceFailureIsReportedAndTheGameGoesOn) {
    backend.failTextures = true;
    EXPECT_EQ(createTexture("x", 4, 4, kFormatA8R8G8B8), nullptr);
    EXPECT_STREQ(messageBoxes.lastText, "Couldn't create texture: x");
    EXPECT_EQ(exitCode, -1);
    EXPECT_EQ(textures.list.size(), 0);
}

} // namespace
