#include "visuals/scenery.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../engine/test_pictures.h"
#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/render.h"
#include "engine/texture.h"

namespace {

struct Record {
    std::string type;
    float left, top, right, bottom;
    bool firstPass = false;
};

std::vector<uint8_t> sceneBytes(const std::vector<Record>& records, int32_t claimedCount = -1) {
    std::vector<uint8_t> out(68, 0);
    std::memcpy(out.data(), "test scene", 10);
    int32_t n = claimedCount >= 0 ? claimedCount : static_cast<int32_t>(records.size());
    std::memcpy(out.data() + 64, &n, 4);
    for (const Record& r : records) {
        uint8_t rec[65] = {};
        std::memcpy(rec, r.type.data(), r.type.size());
        float rect[4] = {r.left, r.top, r.right, r.bottom};
        std::memcpy(rec + 32, rect, 16);
        int32_t first = r.firstPass ? 1 : 0;
        std::memcpy(rec + 61, &first, 4);
        out.insert(out.end(), rec, rec + 65);
    }
    return out;
}

// A stage picture as the game's files hold it: an 800 x 600 JPEG followed by its alpha plane.
void registerStagePicture(int background) {
    char name[64];
    std::snprintf(name, sizeof name, "animbacks/_a_back%d.jpg", background);
    std::vector<uint8_t> bytes = test_pictures::jpeg(800, 600, std::vector<uint8_t>(800 * 600 * 4, 90));
    bytes.resize(bytes.size() + 800 * 600, 255);
    test_pictures::registerBytes(name, bytes);
}

class SceneryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRender();
        resetTextures();
        resetFileRegistry();
        resetScenery();
        app.frameTimeMs = 16;
        createTexture("rock.tga", 64, 64, kFormatA8R8G8B8);
        createTexture("sky1.jpg", 256, 128, kFormatA8R8G8B8);
        const char types[] =
            "[rocks/]\r\nrock=rock.tga, boulder=rock.tga\r\n[/rocks]\r\n[sky/] sky1=sky1.jpg [/sky]";
        readGameObjectTypes(types, static_cast<int>(sizeof types - 1));
    }
    void TearDown() override {
        resetScenery();
        resetTextures();
        resetFileRegistry();
    }
};

TEST_F(SceneryTest, TypesRememberTheirGroupAndPicture) {
    ASSERT_EQ(scenery.types.size(), 3);
    int boulder = findGameObjectType("boulder"), sky = findGameObjectType("sky1");
    ASSERT_GE(boulder, 0);
    ASSERT_GE(sky, 0);
    EXPECT_EQ(scenery.types[boulder].group, 0);
    EXPECT_EQ(scenery.types[sky].group, 1);
    EXPECT_EQ(scenery.types[sky].texture, findTexture("sky1.jpg"));
    EXPECT_EQ(animationOfType("sky1"), kAnimSky);
    EXPECT_EQ(animationOfType("waterfall2"), kAnimWaterfall);
    EXPECT_EQ(animationOfType("leaves2"), kAnimLeaves2);
    EXPECT_EQ(animationOfType("leaves3"), kAnimLeaves);
}

TEST_F(SceneryTest, FiveLevelsShareABackground) {
    for (int level = 0; level <= 4; level++) EXPECT_EQ(backgroundForLevel(level), 1) << level;
    for (int level = 5; level <= 9; level++) EXPECT_EQ(backgroundForLevel(level), 2) << level;
    EXPECT_EQ(backgroundForLevel(69), 14);
    EXPECT_EQ(backgroundForLevel(-1), 0);
}

TEST_F(SceneryTest, ObjectOfUnknownTypeIsNotDrawn) {
    std::vector<uint8_t> bytes = sceneBytes({{"rock", -100, 50, 100, -50}, {"ghost", -10, 10, 10, -10}});
    ASSERT_TRUE(parseSceneFile(bytes.data(), static_cast<int>(bytes.size()), scenery.scenes[1]));
    ASSERT_EQ(scenery.scenes[1].objects.size(), 2);
    EXPECT_EQ(scenery.scenes[1].objects[1].type, -1);
    scenery.currentBackground = 1;
    render.triangleCount = 0;
    drawScenery();
    flushBatch();
    EXPECT_EQ(render.triangleCount, 2); // the rock's quad alone
}

TEST_F(SceneryTest, BackgroundChangeSwirlsFirstThenFadesTheNewOneIn) {
    registerStagePicture(1);
    registerStagePicture(2);
    scenery.loaded = true; // no scene files: each background is its picture alone
    setBackgroundForLevel(3);
    EXPECT_EQ(scenery.currentBackground, 1);
    requestBackgroundChange(7);
    app.frameTimeMs = 100;
    int oneBackground = 0, bothBackgrounds = 0, frames = 0;
    do {
        render.triangleCount = 0;
        drawScenery();
        flushBatch();
        if (render.triangleCount == 2) oneBackground++;
        if (render.triangleCount == 4) bothBackgrounds++;
        frames++;
    } while (scenery.changeMs > 0 && frames < 1000);
    // Frames at 100 ms: timer 6000 down to 3000 shows the old landscape swirling away alone, 2900 down to
    // 100 the new one fading in over it; 6000 ms in all.
    EXPECT_EQ(oneBackground, 31);
    EXPECT_EQ(bothBackgrounds, 29);
    EXPECT_EQ(frames, 60);
    EXPECT_EQ(scenery.currentBackground, 2);
    EXPECT_EQ(scenery.currentBack, findTexture("animbacks/_a_back2.jpg"));
    EXPECT_EQ(findTexture("animbacks/_a_back1.jpg"), nullptr) << "the landscape swirled away is let go";
}

// Each stage's picture is some 4 MB of texture: a player going through every stage holds only the one on
// screen, not every one seen.
TEST_F(SceneryTest, OnlyTheStagePictureOnScreenIsKept) {
    scenery.loaded = true;
    for (int b = 1; b < kSceneCount; b++) registerStagePicture(b);
    int before = textures.list.size();
    for (int level = 0; level < kSceneCount * 5; level += 5) {
        setBackgroundForLevel(level);
        ASSERT_NE(scenery.currentBack, nullptr);
        EXPECT_EQ(textures.list.size(), before + 1) << "level " << level;
    }
    EXPECT_STREQ(scenery.currentBack->name, "animbacks/_a_back15.jpg");
}

TEST_F(SceneryTest, SceneCountThatDoesNotFitIsRejected) {
    std::vector<uint8_t> bytes = sceneBytes({{"rock", 0, 1, 1, 0}}, 2);
    SceneFile& scene = scenery.scenes[2];
    EXPECT_FALSE(parseSceneFile(bytes.data(), static_cast<int>(bytes.size()), scene));
    EXPECT_EQ(scene.objects.size(), 0);
    bytes = sceneBytes({}, -1);
    bytes[64] = 0xFF, bytes[65] = 0xFF, bytes[66] = 0xFF, bytes[67] = 0xFF; // -1
    EXPECT_FALSE(parseSceneFile(bytes.data(), static_cast<int>(bytes.size()), scene));
    EXPECT_FALSE(parseSceneFile(bytes.data(), 40, scene));
}

TEST_F(SceneryTest, TintEasesTowardsTheTimeOfDay) {
    setSceneryTimeOfDayNow(2);
    setSceneryTimeOfDay(0);
    app.frameTimeMs = 100; // moves 15 % of the way
    updateScenery();
    EXPECT_NEAR(scenery.tint.r, 1.0f - 0.33f * 0.15f, 1e-4);
    EXPECT_NEAR(scenery.tint.b, 1.0f, 1e-6);
    for (int i = 0; i < 200; i++) updateScenery();
    EXPECT_NEAR(scenery.tint.r, 0.67f, 1e-3);
    setSceneryTimeOfDayNow(1);
    EXPECT_EQ(scenery.tint, timeOfDayTint(1));
}

// Counts sounds over equal frames up to the end of the last frame not past totalMs.
int soundsOver(uint32_t totalMs, uint32_t deltaMs, uint32_t periodMs, uint32_t& endMs) {
    int plays = 0;
    uint32_t a = 0;
    for (; a + deltaMs <= totalMs; a += deltaMs)
        if (ambientDue(a, deltaMs, periodMs)) plays++;
    endMs = a;
    return plays;
}

TEST_F(SceneryTest, AmbientSoundPlaysOncePerPeriod) {
    // One at the start, then one for every 3000 ms passed, whatever the frame length.
    for (uint32_t delta : {1u, 16u, 33u, 250u, 1700u, 2000u, 2999u}) {
        uint32_t end = 0;
        int plays = soundsOver(60000, delta, 3000, end);
        EXPECT_EQ(plays, 1 + static_cast<int>(end / 3000)) << "frame " << delta;
    }
    EXPECT_TRUE(ambientDue(0, 16, 6200));
    EXPECT_FALSE(ambientDue(6180, 19, 6200));
    EXPECT_TRUE(ambientDue(6190, 16, 6200));
    EXPECT_FALSE(ambientDue(6206, 16, 6200));
}

} // namespace
