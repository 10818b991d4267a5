#include "visuals/quick_effects.h"

#include <gtest/gtest.h>

#include "engine/app_state.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"

namespace {

class QuickEffectsTest : public ::testing::Test {
  protected:
    RecordingBackend backend;
    void SetUp() override {
        resetAppState();
        resetQuickEffects();
        resetParticleSystem();
        resetRender();
        createDisplay(&backend);
        presentationRandom.seed(3);
    }
    void TearDown() override {
        resetQuickEffects();
        resetRender();
    }
    void frame(float ms) {
        app.frameTimeMs = ms;
        drawQuick();
    }
};

} // namespace

TEST_F(QuickEffectsTest, PresetsStartWithTheirGivenValues) {
    spawnQuick(10, 20, 1);
    const QuickParticle& p = quickEffects.particles[0];
    EXPECT_EQ(p.lifeMs, 1000.0f);
    EXPECT_EQ(p.frame, 17);
    EXPECT_EQ(p.blend, 0);
    EXPECT_EQ(p.halfSize, 40.0f);
    EXPECT_EQ(p.halfSizeSpeed, -0.008f);
    EXPECT_EQ(p.colorSpeed[0], -0.0009f);
    spawnQuick(0, 0, 8);
    EXPECT_GE(quickEffects.particles[1].rotation, -360.0f);
    EXPECT_LE(quickEffects.particles[1].rotation, 360.0f);
    // Gravity of kind 9 and the frame of kind 17, as the spawned particles carry them.
    spawnQuick(0, 0, 9);
    spawnQuick(0, 0, 17);
    const QuickParticle& falling = quickEffects.particles[2];
    const QuickParticle& marker = quickEffects.particles[3];
    EXPECT_EQ(marker.frame, 62);
    float vy = falling.vy;
    float markerVy = marker.vy;
    frame(100);
    EXPECT_NEAR(vy - falling.vy, 0.00002f * 100, 1e-7f);
    EXPECT_NEAR(markerVy - marker.vy, 0.001f * 100, 1e-6f);
    spawnQuick(0, 0, 18); // no such preset
    EXPECT_EQ(liveQuickParticles(), 4);
}

TEST_F(QuickEffectsTest, ParticlesIntegrateAndAChannelReachingOneFadesBack) {
    spawnQuick(0, 0, 6); // colour rises by 0.0007 per ms from black
    frame(1000);
    QuickParticle& p = quickEffects.particles[0];
    EXPECT_NEAR(p.color[0], 0.7f, 1e-4f);
    EXPECT_NEAR(p.halfSize, 60.0f, 1e-3f);
    frame(500);
    EXPECT_EQ(p.color[0], 1.0f);
    EXPECT_EQ(p.colorSpeed[0], -0.003f);
    frame(100);
    EXPECT_NEAR(p.color[0], 0.7f, 1e-4f);
    frame(400); // life over: the slot is free
    EXPECT_EQ(liveQuickParticles(), 0);
}

TEST_F(QuickEffectsTest, RingIsFullAndTheNewestOverwritesTheOldest) {
    for (int i = 0; i < kMaxQuickParticles + 5; ++i) spawnQuick(float(i), 0, 12);
    EXPECT_EQ(liveQuickParticles(), kMaxQuickParticles);
    EXPECT_EQ(quickEffects.particles.oldest().x, 5.0f);
    EXPECT_EQ(quickEffects.particles.newest().x, float(kMaxQuickParticles + 4));
}

TEST_F(QuickEffectsTest, MarkersMakeTheirRings) {
    spawnMarker(100, 50, 0, 0, 1); // the aim: 32 of preset 3 at radius 30, the first straight up
    EXPECT_EQ(liveQuickParticles(), 32);
    EXPECT_NEAR(quickEffects.particles[0].x, 100.0f, 1e-4f);
    EXPECT_NEAR(quickEffects.particles[0].y, 80.0f, 1e-4f);
    EXPECT_NEAR(quickEffects.particles[8].x, 130.0f, 1e-4f); // a quarter turn on

    resetQuickEffects();
    spawnMarker(0, 0, 100, 0, 4); // every 10 units along the line, then a ring of 32 at its end
    EXPECT_EQ(liveQuickParticles(), 11 + 32);
    EXPECT_EQ(quickEffects.particles[10].frame, kQuickPresets[8].frame);

    resetQuickEffects();
    spawnMarker(0, 0, 0, 0, 2); // an emitter for 400 ms dropping rings of 5
    frame(10);
    EXPECT_EQ(liveQuickParticles(), 5);
    for (int i = 0; i < 50; ++i) frame(10);
    int dropped = liveQuickParticles();
    EXPECT_GT(dropped, 5 * 30); // trunc(40 h) changes about every 10 ms
    for (int i = 0; i < 10; ++i) frame(10);
    EXPECT_EQ(liveQuickParticles(), dropped); // the emitter is gone after 400 ms
}

TEST_F(QuickEffectsTest, QueueDropsSpritesOutsideTheViewAndBeyondItsSize) {
    queueSprite({0, 0, 0}, 0, 10, 0xFFFFFFFF, 0, 12);
    queueSprite({430, 0, 0}, 0, 10, 0xFFFFFFFF, 0, 12); // wholly right of the view
    queueSprite({405, 0, 0}, 0, 10, 0xFFFFFFFF, 1, 12); // partly inside
    EXPECT_EQ(quickEffects.queue.size(), 2);
    for (int i = 0; i < kMaxQueuedSprites + 10; ++i) queueSprite({0, 0, 0}, 0, 10, 0xFFFFFFFF, 0, 12);
    EXPECT_EQ(quickEffects.queue.size(), kMaxQueuedSprites);
    frame(10);
    EXPECT_EQ(quickEffects.queue.size(), 0);
    flushBatch();
    EXPECT_EQ(backend.totalPrimitives(), 2 * kMaxQueuedSprites);
}
