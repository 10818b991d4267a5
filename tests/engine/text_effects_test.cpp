#include "engine/text_effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/message_box.h"
#include "test_font.h"

namespace {

constexpr float kPi = 3.14159265358979f;

struct Spawn {
    float x, y;
    int kind;
};
std::vector<Spawn> spawns;

class TextEffectsTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        messageBoxes.useWindow = false;
        resetText();
        resetAppState();
        test_font::load("font", 16, 16, 1.0f, 1.0f); // every advance 1: a glyph is size units wide
        resetTextEffects();
        textEffects.spawnQuick = [](float x, float y, int kind) { spawns.push_back({x, y, kind}); };
        spawns.clear();
        begin2D();
    }
    void TearDown() override {
        resetTextEffects();
        textEffects.spawnQuick = nullptr;
        resetText();
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        resetAppState();
        resetRender();
    }
    // Runs one frame of the given length through a draw function; returns the glyph vertices drawn.
    std::vector<ColoredVertex> frame(float ms, void (*draw)()) {
        backend.clearFrame();
        app.frameTimeMs = ms;
        draw();
        endScene();
        std::vector<ColoredVertex> out;
        for (const RecordedDraw& d : backend.draws)
            for (int i = 0; i < d.vertexCount; i++) out.push_back(backend.coloredVertex(d, i));
        return out;
    }
};

TEST_F(TextEffectsTest, SecondBottomMessageReplacesTheTextForTheRestOfTheTime) {
    bottomMessage("ONE");
    EXPECT_FLOAT_EQ(textEffects.bottomRemainingMs, 1400);
    frame(100, drawBottomMessage);
    frame(100, drawBottomMessage);
    bottomMessage("TWO!");
    EXPECT_STREQ(textEffects.bottomText, "TWO!");
    EXPECT_FLOAT_EQ(textEffects.bottomRemainingMs, 1200);
    // First phase: rising from below.
    std::vector<ColoredVertex> v = frame(100, drawBottomMessage);
    ASSERT_EQ(v.size(), 16u); // four glyphs
    BottomMessageLook look = bottomMessageLook(1100);
    EXPECT_FLOAT_EQ(look.y, -280);
    EXPECT_FLOAT_EQ(look.size, (std::sin(1100 * kPi / 1500) * 12 + 6) * 1.3f);
    EXPECT_EQ(v[0].color >> 24, static_cast<uint32_t>(std::sin(1100 * kPi / 1500) * 127 + 127));
    EXPECT_FLOAT_EQ((v[0].y + v[3].y) / 2, -280);
    // The middle phase runs at 0.3 of the frame time.
    frame(100, drawBottomMessage);
    EXPECT_FLOAT_EQ(textEffects.bottomRemainingMs, 1000);
    frame(100, drawBottomMessage);
    EXPECT_FLOAT_EQ(textEffects.bottomRemainingMs, 970);
    EXPECT_FLOAT_EQ(bottomMessageLook(600).size, std::sin(100 * 2 * kPi / 125) + 21.58f);
    EXPECT_FLOAT_EQ(bottomMessageLook(400).y, -280);
    int frames = 0;
    while (textEffects.bottomRemainingMs >= 0 && frames < 1000) {
        frame(50, drawBottomMessage);
        frames++;
    }
    EXPECT_EQ(frames, 32 + 10); // 970 -> 490 at 15 ms a frame, then 490 -> -10 at 50
    EXPECT_TRUE(frame(50, drawBottomMessage).empty()) << "an ended message draws nothing";
}

TEST_F(TextEffectsTest, ClearingEndsTheMessageWithoutAnotherGlimpse) {
    bottomMessage("ONE");
    frame(100, drawBottomMessage);
    clearTextEffects();
    EXPECT_TRUE(frame(16, drawBottomMessage).empty());
    bottomMessage("TWO");
    EXPECT_FLOAT_EQ(textEffects.bottomRemainingMs, 1400);
}

TEST_F(TextEffectsTest, PopupTextsGrowHoldAndShrinkInSixteenSlots) {
    popupText("+50", 100, 20, 10, 1000); // decay 2 per ms
    EXPECT_FLOAT_EQ(textEffects.popups[0].width, 30);
    popupText("never", 0, 0, 10, 0);
    EXPECT_EQ(textEffects.popups.size(), 1);
    // At 2000 - 300 = 1700: size factor 0.5, alpha 300 * 256 / 600 = 128, sparkles within half the width.
    frame(150, drawPopupTexts);
    std::vector<ColoredVertex> v = frame(50, drawPopupTexts);
    ASSERT_EQ(v.size(), 12u);
    EXPECT_FLOAT_EQ(v[0].x - v[3].x, 2 * 10 * 0.5f);
    EXPECT_EQ(v[0].color >> 24, 128u);
    EXPECT_EQ((v[0].color >> 16) & 0xFF, 255u);
    ASSERT_EQ(spawns.size(), 2u);
    EXPECT_EQ(spawns[1].kind, 15);
    EXPECT_LE(std::fabs(spawns[1].x - 100), 15);
    EXPECT_EQ(text.color, 0xFFFFFFFFu);
    // Holding: full size with a small swell, and the colour's own alpha; no more sparkles.
    frame(200, drawPopupTexts); // drawn at 1600, then 1200
    v = frame(50, drawPopupTexts);
    EXPECT_NEAR(v[0].x - v[3].x, 2 * 10 * (1 + 0.1f * std::sin(3 * kPi * 600 / 800)), 1e-3f);
    EXPECT_EQ(v[0].color >> 24, 255u);
    EXPECT_EQ(spawns.size(), 3u);
    // The 17th text takes the place of the oldest.
    for (int i = 0; i < 16; i++) popupText("x", 0, 0, 10, 500);
    EXPECT_EQ(textEffects.popups.size(), 16);
    EXPECT_EQ(textEffects.popups.oldest().text[0], 'x');
    clearTextEffects();
    EXPECT_TRUE(frame(16, drawPopupTexts).empty());
}

TEST_F(TextEffectsTest, LettersAreLaidOutCentredAndStartOneAfterAnother) {
    letterText("AB", 50, 10, 0xFF00FF00, 10);
    const LetterText& a = textEffects.letters[0];
    const LetterText& b = textEffects.letters[1];
    EXPECT_FLOAT_EQ(a.x, 50 - 10 + 5);
    EXPECT_FLOAT_EQ(b.x, 50 - 10 + 5 + 10);
    EXPECT_FLOAT_EQ(a.remainingMs, 6000);
    EXPECT_FLOAT_EQ(b.remainingMs, 6040);
    EXPECT_FLOAT_EQ(a.driftX, -5 * 0.001f);
    EXPECT_NEAR(a.driftY, 0.7f, 0.1f);
    // After 500 ms A is half faded in at (2 - 0.5)^2 its size; B is 40 ms behind.
    std::vector<ColoredVertex> v = frame(500, drawLetterTexts);
    ASSERT_EQ(v.size(), 8u);
    EXPECT_NEAR(v[0].x - v[3].x, 2 * 10 * 2.25f, 1e-3f);
    EXPECT_EQ(v[0].color >> 24, 127u);
    EXPECT_EQ(v[4].color >> 24, 117u);
    // Gone after their time.
    frame(5000, drawLetterTexts);
    frame(600, drawLetterTexts);
    EXPECT_TRUE(frame(16, drawLetterTexts).empty());
    for (int i = 0; i < 300; i++) letterText("A", 0, 0, 0xFFFFFFFF, 10);
    EXPECT_EQ(textEffects.letters.size(), 256);
}

} // namespace
