#include "visuals/particle_effects.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/temp_folder.h"
#include "engine/texture.h"
#include "platform/folders.h"
#include "player/comfort.h"
#include "visuals/particle_sheet.h"

namespace {

class ParticleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAppState();
        resetParticleSystem();
        presentationRandom.seed(1);
    }
    void TearDown() override { resetParticleSystem(); }
    void define(const char* name, const char* text) { ASSERT_TRUE(addEffectDefinition(name, text)); }
    void frame(float ms) {
        app.frameTimeMs = ms;
        app.runTimeMs += ms;
        updateEffects();
    }
};

} // namespace

TEST_F(ParticleTest, BurstOfEffectTimeZeroMakesItsEmissionsAndNoEmitter) {
    define("burst", "effecttime=0\r\nparfrequency=20\r\n");
    define("star", "effecttime=0\r\nparfrequency=20\r\nsimetria=3\r\npolar=(30,0,90,0)\r\n");
    startEffect("burst", 10, 20);
    EXPECT_EQ(liveEmitters(), 0);
    EXPECT_EQ(liveParticles(), 20);
    EXPECT_FLOAT_EQ(particleSystem.particles[0].position.x, 10.0f);

    clearEffects();
    startEffect("star", 0, 0); // 20 emissions of 3 copies, the offset turned by 120 degrees each
    EXPECT_EQ(liveParticles(), 60);
    EXPECT_NEAR(particleSystem.particles[0].position.y, 30.0f, 1e-4f);
    EXPECT_NEAR(particleSystem.particles[1].position.x, -30.0f * 0.8660254f, 1e-3f);
    startEffect("unknown", 0, 0);
    EXPECT_EQ(liveParticles(), 60);

    // Absurd counts fill the ring once instead of spinning through millions of births.
    define("flood", "effecttime=0\r\nparfrequency=100000000\r\nsimetria=100000000\r\n");
    startEffect("flood", 0, 0);
    EXPECT_EQ(liveParticles(), kMaxParticles);
}

TEST_F(ParticleTest, EffectNamingItselfIsNotStartedTwice) {
    define("self", "externeffect1=self\r\neffecttime=0\r\nparfrequency=5\r\n");
    startEffect("self", 0, 0);
    EXPECT_EQ(liveParticles(), 5);
    EXPECT_EQ(particleSystem.externStarts, 0);
}

TEST_F(ParticleTest, EffectsNamingEachOtherStartAtMostEightExternEffectsPer100Ms) {
    define("ping", "externeffect1=pong\r\neffecttime=5000\r\n");
    define("pong", "externeffect2=ping\r\neffecttime=5000\r\n");
    startEffect("ping", 0, 0);
    EXPECT_EQ(liveEmitters(), 1 + 8);
    app.runTimeMs = 60.0f; // within 100 ms of the last extern start: its externs are dropped
    startEffect("ping", 0, 0);
    EXPECT_EQ(liveEmitters(), 10);
    app.runTimeMs = 101.0f; // more than 100 ms after it: a new stretch
    startEffect("ping", 0, 0);
    EXPECT_EQ(liveEmitters(), 19);
}

TEST_F(ParticleTest, NewestParticleReplacesTheOldest) {
    define("many", "effecttime=0\r\nparfrequency=1024\r\n");
    define("one", "effecttime=0\r\nparfrequency=1\r\n");
    startEffect("many", 0, 0);
    EXPECT_EQ(liveParticles(), kMaxParticles);
    startEffect("one", 5, 5); // the 1025th
    EXPECT_EQ(liveParticles(), kMaxParticles);
    EXPECT_STREQ(particleSystem.particles.newest().def->name, "one");
    EXPECT_STREQ(particleSystem.particles.oldest().def->name, "many");
}

TEST_F(ParticleTest, KeysAreReadByPlainSearchWithDefaults) {
    EffectDefinition def;
    readEffectDefinition("drot=45\r\nrot=10\r\nradius0=\r\ncolor0=(0.5,0.25)\r\nspeed=(1,2,3)\r\n", def);
    EXPECT_FLOAT_EQ(def.rot, 45.0f); // "rot=" is found inside "drot=" first
    EXPECT_FLOAT_EQ(def.dRot, 45.0f);
    EXPECT_FLOAT_EQ(def.radius0, 0.0f);  // present but empty
    EXPECT_FLOAT_EQ(def.radius1, 20.0f); // missing: the default
    EXPECT_FLOAT_EQ(def.color0[1], 0.25f);
    EXPECT_FLOAT_EQ(def.color0[3], 1.0f); // only the values written are stored
    EXPECT_FLOAT_EQ(def.speed.z, 3.0f);
    EXPECT_EQ(def.frame, 13);
    EXPECT_FLOAT_EQ(def.parFrequency, 100.0f);
    EXPECT_FLOAT_EQ(def.effectTimeMs, 1000.0f);

    EffectDefinition inOrder;
    readEffectDefinition("rot=10\r\ndrot=45\r\n", inOrder);
    EXPECT_FLOAT_EQ(inOrder.rot, 10.0f);
    EXPECT_FLOAT_EQ(inOrder.dRot, 45.0f);
}

TEST_F(ParticleTest, EmitterTravelsToItsTargetAndCatchesUpOnLongFrames) {
    define("trail", "effecttime=1000\r\nparfrequency=10\r\npartime=5000\r\n");
    startEffect("trail", 0, 0, 200, 100);
    frame(300); // 300 ms at a period of 100 ms: three emissions at once
    EXPECT_EQ(liveParticles(), 3);
    EXPECT_NEAR(particleSystem.emitters[0].position.x, 60.0f, 1e-3f);
    for (int i = 0; i < 7; ++i) frame(100);
    EXPECT_NEAR(particleSystem.emitters[0].position.x, 200.0f, 1e-3f);
    EXPECT_NEAR(particleSystem.emitters[0].position.y, 100.0f, 1e-3f);
    EXPECT_EQ(liveEmitters(), 0); // its life is over
}

TEST_F(ParticleTest, ParticlesMoveFadeAndAreDrawnInSymmetricCopies) {
    define("glow",
           "effecttime=0\r\nparfrequency=1\r\npartime=1000\r\ncolor0=(1,0,0,1)\r\ncolor1=(0,0,1,0)\r\n"
           "radius0=10\r\nradius1=30\r\nspeed=(100,0,0)\r\ngravity=100\r\nsimetriapar=4\r\n"
           "lissparx=(20,0,0)\r\nblendtype=1\r\nnumparticle=17\r\n");
    startEffect("glow", 0, 0);
    frame(500); // drawn at its birth state, then moved
    ASSERT_EQ(particleSystem.drawList.size(), 4);
    EXPECT_NEAR(particleSystem.drawList[0].position.x, 20.0f, 1e-4f); // the swing's offset
    EXPECT_NEAR(particleSystem.drawList[1].position.y, 20.0f, 1e-4f); // turned by 90 degrees
    EXPECT_EQ(particleSystem.drawList[0].color, 0xFFFF0000u);
    particleSystem.drawList.clear();
    frame(100);
    const EffectSprite& s = particleSystem.drawList[0];
    EXPECT_NEAR(s.halfSize, 20.0f, 1e-4f); // half-way through its life
    EXPECT_NEAR(s.position.x, 50.0f + 20.0f, 1e-3f);
    EXPECT_NEAR(particleSystem.particles[0].velocity.y, -60.0f, 1e-3f);

    RecordingBackend backend;
    resetRender();
    createDisplay(&backend);
    drawEffects();
    flushBatch();
    ASSERT_EQ(backend.draws.size(), 1u); // four sprites of one blend type: one draw
    EXPECT_EQ(backend.draws[0].states.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(backend.draws[0].states.depthWrite, 0);
    EXPECT_EQ(particleSystem.drawList.size(), 0);
    resetRender();
}

// With flashes reduced an additive glow adds half its light (its alpha weighs what it adds); a sprite laid
// over the picture keeps its look.
TEST_F(ParticleTest, ReducedFlashesHalveTheGlowsAndKeepTheLaidSprites) {
    define("glow", "effecttime=0\r\nparfrequency=1\r\ncolor0=(1,0.8,0.4,1)\r\ncolor1=(1,0.8,0.4,1)\r\n");
    define("smoke", "effecttime=0\r\nparfrequency=1\r\ncolor0=(0.3,0.3,0.3,0.8)\r\n"
                    "color1=(0.3,0.3,0.3,0.8)\r\nblendtype=1\r\n");
    auto drawn = [&](bool reduced) {
        comfort.reduceFlashes = reduced;
        clearEffects();
        startEffect("glow", 0, 0);
        startEffect("smoke", 0, 0);
        frame(16);
        RecordingBackend backend;
        resetRender();
        createDisplay(&backend);
        drawEffects();
        flushBatch();
        std::vector<uint32_t> colours;
        for (const RecordedDraw& d : backend.draws) colours.push_back(backend.coloredVertex(d, 0).color);
        resetRender();
        comfort.reduceFlashes = false;
        return colours;
    };
    std::vector<uint32_t> full = drawn(false), reduced = drawn(true);
    ASSERT_EQ(full.size(), 2u); // the glow, then the smoke
    ASSERT_EQ(reduced.size(), 2u);
    EXPECT_EQ(full[0], 0xFFFFCC66u);
    EXPECT_EQ(reduced[0], 0x7FFFCC66u);
    EXPECT_EQ(reduced[1], full[1]);
}

TEST(ParticleSheet, FramesAreCellsOf64TexelsRowByRow) {
    TexRect r = sheetFrame(17, 1024, 512);
    EXPECT_NEAR(r.left, 64.0f / 1024 + 0.001f, 1e-6f);
    EXPECT_NEAR(r.top, 64.0f / 512 + 0.001f, 1e-6f);
    EXPECT_NEAR(r.right, 128.0f / 1024 - 0.001f, 1e-6f);
    EXPECT_NEAR(r.bottom, 128.0f / 512 - 0.001f, 1e-6f);
    TexRect wrapped = sheetFrame(16 * 8 + 17, 1024, 512); // past the last row: wraps, never outside
    EXPECT_FLOAT_EQ(wrapped.left, r.left);
}

TEST_F(ParticleTest, LoadEffectsReadsEveryParFileOfTheEffectsFolder) {
    TempFolder data;
    // A 128 x 64 picture: two frames side by side.
    std::string tga(18, '\0');
    tga[2] = 2, tga[12] = char(128), tga[14] = 64, tga[16] = 32, tga[17] = 0x28;
    tga += std::string(128 * 64 * 4, '\x7f');
    data.write("particles.tga", tga);
    data.write("effects/spark.par", "effecttime=0\r\nparfrequency=3\r\n");
    data.write("effects/Glow.PAR", "numparticle=1\r\n");
    data.write("effects/notes.txt", "numparticle=5\r\n");
    std::string previous = dataFolder();
    setDataFolder(data.path);
    resetRender();
    resetTextures();
    define("old", "");
    startEffect("old", 0, 0);
    loadEffects();
    setDataFolder(previous);

    ASSERT_EQ(particleSystem.defs.size(), 2);
    EXPECT_STREQ(particleSystem.defs[0].name, "Glow");
    EXPECT_EQ(particleSystem.defs[0].frame, 1);
    EXPECT_STREQ(particleSystem.defs[1].name, "spark");
    EXPECT_EQ(liveEmitters(), 0); // loading clears what ran before
    ASSERT_NE(particleSystem.sheet, nullptr);
    EXPECT_EQ(particleSystem.sheet->width, 128);
    EXPECT_EQ(findEffect("old"), nullptr);
    startEffect("spark", 0, 0);
    EXPECT_EQ(liveParticles(), 3);
    resetTextures();
    resetFileRegistry();
}

TEST(ParticleSheet, StretchedSheetSpriteCoversItsSizeWithTheFramesTexels) {
    RecordingBackend backend;
    resetRender();
    resetParticleSystem(); // no sheet loaded: frames are cut from a 1024 x 1024 sheet
    createDisplay(&backend);
    drawSheetSprite(-14, -78, 160, 90, 12, 0x80408040, 0);
    flushBatch();
    ASSERT_EQ(backend.draws.size(), 1u);
    const RecordedDraw& d = backend.draws[0];
    EXPECT_EQ(d.states.dstBlend, BlendFactor::One); // light added, weighted by alpha
    EXPECT_EQ(d.states.srcBlend, BlendFactor::SrcAlpha);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (int i = 0; i < d.vertexCount; ++i) {
        const ColoredVertex& v = backend.coloredVertex(d, i);
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
        EXPECT_EQ(v.color, 0x80408040u);
        EXPECT_GE(v.u, 12 * 64 / 1024.0f);
        EXPECT_LE(v.u, 13 * 64 / 1024.0f);
    }
    EXPECT_NEAR(minX, -94.0f, 1e-3f);
    EXPECT_NEAR(maxX, 66.0f, 1e-3f);
    EXPECT_NEAR(maxY - minY, 90.0f, 1e-3f);
    resetRender();
}
