// The busiest frame of the game scene on the recording backend (counting only): a full board with
// every kind of piece, the pops of a megamatch in the removal queue, particles, quick particles and bar
// stars at their limits, pop-up texts, flying letters and score numbers. The frame's clock stands
// still (0 ms) so that every frame draws the same full load. Reports the CPU time of a frame, its
// draw calls and the allocations per frame, which must be zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "../tests/engine/test_font.h"
#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/text_effects.h"
#include "engine/texture.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "gameplay/beams.h"
#include "gameplay/board_view.h"
#include "gameplay/game_frame.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/hud.h"
#include "gameplay/live_output.h"
#include "player/profile.h"
#include "player/settings.h"
#include "visuals/game_textures.h"
#include "visuals/particle_effects.h"
#include "visuals/quick_effects.h"

#include "bench/allocation_counter.h"

namespace {

// A 64 x 64 picture as an uncompressed 32-bit TGA (rows from the top), so that the game's own loading
// makes the textures, texture pages included.
constexpr int kPictureSide = 64;
constexpr int kMaxPictures = 64;
uint8_t pictureFiles[kMaxPictures][18 + kPictureSide * kPictureSide * 4];
int picturesUsed = 0;

void registerPicture(const char* name) {
    constexpr int kSide = kPictureSide;
    if (picturesUsed == kMaxPictures) return;
    uint8_t* f = pictureFiles[picturesUsed++];
    int used = picturesUsed;
    std::memset(f, 0, 18);
    f[2] = 2; // true colour, uncompressed
    f[12] = kSide;
    f[14] = kSide;
    f[16] = 32;
    f[17] = 0x28; // top-left origin, 8 alpha bits
    for (int i = 0; i < kSide * kSide; ++i) {
        uint8_t* p = f + 18 + i * 4;
        p[0] = uint8_t(i * 7);
        p[1] = uint8_t(i * 3);
        p[2] = uint8_t(used * 31);
        p[3] = uint8_t((i % kSide) * 4);
    }
    registerFile(name, int(sizeof pictureFiles[0]), f, false);
}

void makeTextures(bool pages) {
    picturesUsed = 0; // the registry has been emptied
    auto picture = [pages](const char* name) {
        registerPicture(name);
        if (!pages) getTexture(name); // a texture of its own, as before the pages
    };
    for (const char* name : kGameFixedPictures) picture(name);
    char name[32];
    for (int i = 0; i < 8; ++i) {
        std::snprintf(name, sizeof name, "bal%.2i.tga", i);
        picture(name);
    }
    for (int i = 0; i < kDiamondFrames; ++i) {
        std::snprintf(name, sizeof name, "diamond01%.2i.tga", i);
        picture(name);
    }
    loadGameTextures();
    particleSystem.sheet = findTexture("particles.tga");
}

void fillBoard() {
    liveRules.board = Rules{}.board;
    static constexpr int kSpecials[] = {kJoker, kTripleBomb, kDiamond, kQuadroBomb};
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = liveRules.at(x, y);
            cell.square = (x * 3 + y) % 3;
            cell.scale = 1;
            newBall(liveRules, cell);
            cell.ball.appearMs = 0;
            cell.ball.kind = (x + y) % 11 == 0 ? kSpecials[(x + y) % 4] : (x * 5 + y) % 8;
            cell.ball.chains = (x * y) % 17 == 0 ? 1 : 0;
            cell.pulseMs = 2500;
        }
    }
    game.selectedX = 10;
    game.selectedY = 10;
}

void fillEffects() {
    addEffectDefinition("glow", "effecttime=100000000\r\nparfrequency=70\r\npartime=100000000\r\n"
                                "speed=(10,20,0)\r\nblendtype=0\r\n");
    for (int i = 0; i < kMaxEmitters; ++i)
        startEffect("glow", float(i % 16) * 40 - 300, float(i / 16) * 30 - 240);
    app.frameTimeMs = 16;
    for (int i = 0; i < 200; ++i) updateEffects(); // the particle ring fills
    app.frameTimeMs = 0;
    for (int i = 0; i < kMaxQuickParticles; ++i)
        spawnQuick(float(i % 64) * 10 - 320, float(i / 64) * 15 - 200, 4);
    // A megamatch: a full removal queue of pieces waiting and vanishing.
    for (int i = 0; i < kMaxRemovalEntries; ++i) {
        addRemovalEntry(liveRules, kPlayLeft + i % 20, kPlayTop + i / 20 % 15, i % 8, false);
        liveRules.removals.entries[i].ageMs = float(i % 6) * 80;
    }
    for (int i = 0; i < kMaxBarStars; ++i)
        sendBarStar(liveRules, float(i % 20) * 30 - 300, float(i / 20) * 30 - 200, 0);
    for (int i = 0; i < kMaxScoreNumbers; ++i)
        scoreNumber(100 + i, float(i % 8) * 60 - 240, float(i / 8) * 40, 0, 0.03f, 14);
    for (int i = 0; i < kMaxPopupTexts; ++i)
        popupText("megamatch +5000", float(i % 4) * 100 - 200, float(i / 4) * 60, 27, 1e9f);
    letterText("LEVEL COMPLETE", 0, 40, 0xFFFFF080, 23);
    for (int i = 0; i < 8; ++i) addBeam(-300 + float(i) * 40, 200, -100, -100);
}

void busiestFrame(benchmark::State& state, bool pages) {
    resetAppState();
    liveRules.game = GameState{};
    resetRender();
    resetTextures();
    resetFileRegistry();
    resetGameTextures();
    resetSettings();
    resetProfiles();
    createProfile("bench");
    resetParticleSystem();
    resetQuickEffects();
    resetTextEffects();
    liveRules.removals = RemovalQueue{};
    liveRules.stars = BarStars{};
    presentationRandom.seed(11);
    RecordingBackend backend;
    backend.keepVertices = false;
    backend.perQuadBlends = true; // as the OpenGL backend: normal and additive sprites share draws
    createDisplay(&backend);
    test_font::load("font", 16, 20, 1.0f, 1.0f);
    makeTextures(pages);
    liveRules.presentation = &gamePresentation;
    resetLevelPresentation(4);
    fillBoard();
    fillEffects();
    game.hammerEnabled = true;
    game.hammerCharge = 0.6f;
    game.barGoal = 100;
    game.barValue = 40;
    game.mode = kModeClassic;
    gameView.mouseX = (14 - 5) * 40 - 360;
    gameView.mouseY = 280 - (10 - 5) * 40;
    app.frameTimeMs = 0;
    app.frameDeltaMs = 0;
    // Warm up: the recording backend reaches its capacity.
    for (int i = 0; i < 20; ++i) {
        runGameFrame();
        presentFrame();
        backend.clearFrame();
    }
    long before = allocations.load();
    long frames = 0, draws = 0, triangles = 0;
    for (auto _ : state) {
        runGameFrame();
        presentFrame();
        draws += long(backend.draws.size());
        triangles += backend.totalPrimitives();
        backend.clearFrame();
        ++frames;
    }
    long allocated = allocations.load() - before;
    state.counters["pieces"] = kPlayCells;
    state.counters["particles"] = liveParticles();
    state.counters["quick"] = liveQuickParticles();
    state.counters["removals"] = liveRules.removals.entries.size();
    state.counters["draw_calls"] = double(draws) / double(frames);
    state.counters["triangles"] = double(triangles) / double(frames);
    state.counters["allocs_per_frame"] = double(allocated) / double(frames);
    liveRules.presentation = nullptr;
    resetRender();
}

// The game's loading: the board's and the display's pictures share texture pages.
void BM_BusiestGameFrame(benchmark::State& state) {
    busiestFrame(state, true);
}

// The same frame with every picture a texture of its own, for comparison.
void BM_BusiestGameFrameOwnTextures(benchmark::State& state) {
    busiestFrame(state, false);
}

} // namespace

BENCHMARK(BM_BusiestGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BusiestGameFrameOwnTextures)->Unit(benchmark::kMicrosecond);
