#include "engine/lightning.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include "engine/file_registry.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "platform/message_box.h"
#include "test_pictures.h"

namespace {

class LightningTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetRender();
        createDisplay(&backend);
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        messageBoxes.useWindow = false;
        resetLightning();
        presentationRandom.seed(5);
    }
    void TearDown() override {
        resetLightning();
        resetTextures();
        resetFileRegistry();
        resetMessageBoxes();
        resetRender();
    }
};

TEST_F(LightningTest, SegmentsFollowTheLengthWithJitterAcrossIt) {
    glm::vec3 start(1, 2, 0), end(11, 2, 0);
    addLightning(start, end, 3, 1, 4, 0.5f, 0xFFFFFFFF, 0x80FFFFFF);
    ASSERT_EQ(lightning.bolts.size(), 1);
    const LightningBolt& bolt = lightning.bolts[0];
    EXPECT_EQ(bolt.segments, 4);
    EXPECT_EQ(bolt.points[0], start);
    EXPECT_EQ(bolt.points[4], end);
    for (int i = 1; i < 4; i++) {
        EXPECT_NEAR(bolt.points[i].x, 1 + 3 * i, 1e-5f) << i; // the offset lies across the bolt
        EXPECT_LE(glm::length(bolt.points[i] - glm::vec3(1 + 3 * i, 2, 0)), 0.5f + 1e-5f);
    }
    addLightning({0, 0, 0}, {0, 500, 0}, 1, 1, 4, 0, 0xFFFFFFFF, 0xFFFFFFFF);
    const LightningBolt& longBolt = lightning.bolts[1];
    EXPECT_EQ(longBolt.segments, 100);
    EXPECT_NEAR(longBolt.points[37].y, 37 * 5, 1e-3f);
    EXPECT_EQ(longBolt.points[100], glm::vec3(0, 500, 0));
}

TEST_F(LightningTest, TheSixtyFourthBoltOfAFrameIsIgnored) {
    for (int i = 0; i < 64; i++) addLightning({0, 0, 0}, {10, 0, 0}, 3, 1, 2, 1, 0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_EQ(lightning.bolts.size(), 63);
    drawLightning();
    EXPECT_EQ(lightning.bolts.size(), 0);
    addLightning({0, 0, 0}, {10, 0, 0}, 3, 1, 2, 1, 0xFFFFFFFF, 0xFFFFFFFF);
    EXPECT_EQ(lightning.bolts.size(), 1) << "the next frame queues again";
}

TEST_F(LightningTest, DrawnAdditivelyAsAGlowAndOneBeamPerSegment) {
    test_pictures::registerBytes("flare.jpg", test_pictures::jpeg(8, 8, test_pictures::gradient(8, 8)));
    addLightning({0, 0, 0}, {10, 0, 0}, 3, 1, 4, 0, 0xFF0000FF, 0x400000FF);
    drawLightning();
    endScene();
    ASSERT_EQ(backend.draws.size(), 1u);
    const RecordedDraw& d = backend.draws[0];
    EXPECT_EQ(d.primitiveCount, 2 * 5);
    EXPECT_EQ(d.states.dstBlend, BlendFactor::One);
    EXPECT_EQ(d.states.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(d.states.depthWrite, 0);
    EXPECT_EQ(d.states.texture, findTexture("flare.jpg")->handle);
    // The glow spans the whole bolt at the glow width; the last segment overshoots by 0.05.
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 1).y, 4);
    EXPECT_EQ(backend.coloredVertex(d, 0).color, 0x400000FFu);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 4 * 4 + 2).x, 10.05f);
    EXPECT_FLOAT_EQ(backend.coloredVertex(d, 4 * 4 + 2).y, 1);
    EXPECT_EQ(render.states.depthWrite, 1);
    EXPECT_EQ(render.states.dstBlend, BlendFactor::InvSrcAlpha);
}

TEST(RayTests, PlaneAndSegment) {
    EXPECT_FLOAT_EQ(rayPlaneDistance({0, 0, 1}, {0, 0, -5}, {0, 0, 1}, -2), 7);
    EXPECT_FLOAT_EQ(rayPlaneDistance({1, 0, 0}, {0, 0, -5}, {0, 0, 1}, -2), -1);
    EXPECT_FLOAT_EQ(rayHitsSegment2D({2, -1}, {2, 1}, {0, 0}, {1, 0}), 2);
    EXPECT_FLOAT_EQ(rayHitsSegment2D({2, 1}, {2, -1}, {0, 0}, {1, 0}), 2) << "either end order";
    EXPECT_FLOAT_EQ(rayHitsSegment2D({2, -1}, {2, 1}, {0, 0}, {-1, 0}), -1) << "behind";
    EXPECT_FLOAT_EQ(rayHitsSegment2D({2, 1}, {2, 3}, {0, 0}, {1, 0}), -1) << "beside";
    EXPECT_FLOAT_EQ(rayHitsSegment2D({0, 1}, {4, 1}, {0, 0}, {1, 0}), -1) << "parallel";
}

} // namespace
