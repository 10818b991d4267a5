// One frame of the effects at full load: 1024 particles, 256 emitters and 2048 quick particles updated
// and drawn through the render layer (recording backend, counting only). Reports the draw calls and
// the allocations made per frame, which must be zero.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/app_state.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "visuals/particle_effects.h"
#include "visuals/quick_effects.h"

#include "bench/allocation_counter.h"

namespace {

// mixedBlends: half of the emitters draw additive and half normal, so neighbouring particles of the
// ring alternate and every change of blend state costs a draw (the worst case of the draw order).
void effectsFrame(benchmark::State& state, bool mixedBlends) {
    resetAppState();
    resetParticleSystem();
    resetQuickEffects();
    resetRender();
    presentationRandom.seed(7);
    RecordingBackend backend;
    backend.keepVertices = false;
    createDisplay(&backend);
    addEffectDefinition("glow", "effecttime=100000000\r\nparfrequency=70\r\npartime=100000000\r\n"
                                "speed=(10,20,0)\r\nspeeddev=(5,5,0)\r\npolarpar=(10,0,0,90)\r\n"
                                "lissx=(20,1,0)\r\nblendtype=0\r\n");
    addEffectDefinition("smoke", "effecttime=100000000\r\nparfrequency=70\r\npartime=100000000\r\n"
                                 "speed=(0,10,0)\r\nradius1=40\r\nblendtype=1\r\n");
    for (int i = 0; i < kMaxEmitters; ++i)
        startEffect(mixedBlends && i % 2 ? "smoke" : "glow", float(i % 16) * 40 - 300,
                    float(i / 16) * 30 - 240);
    for (int i = 0; i < kMaxQuickParticles; ++i) spawnQuick(float(i % 64) * 10 - 320, 0, 4);
    app.frameTimeMs = 16.0f;
    // Warm up: the particle ring fills and the recording backend reaches its capacity.
    for (int i = 0; i < 100; ++i) {
        updateEffects();
        drawEffects();
        for (int k = 0; k < 12; ++k) spawnQuick(float(k) * 20, 50, 4);
        drawQuick();
        presentFrame();
        backend.clearFrame();
    }
    long before = allocations.load();
    long frames = 0, draws = 0, triangles = 0;
    for (auto _ : state) {
        updateEffects();
        drawEffects();
        for (int k = 0; k < 12; ++k) spawnQuick(float(k) * 20, 50, 4); // keeps the quick ring full
        drawQuick();
        presentFrame();
        draws += long(backend.draws.size());
        triangles += backend.totalPrimitives();
        backend.clearFrame();
        ++frames;
    }
    long allocated = allocations.load() - before;
    state.counters["particles"] = liveParticles();
    state.counters["emitters"] = liveEmitters();
    state.counters["quick"] = liveQuickParticles();
    state.counters["draw_calls"] = double(draws) / double(frames);
    state.counters["triangles"] = double(triangles) / double(frames);
    state.counters["allocs_per_frame"] = double(allocated) / double(frames);
    resetRender();
}

void BM_EffectsFrame(benchmark::State& state) {
    effectsFrame(state, false);
}
void BM_EffectsFrameMixedBlends(benchmark::State& state) {
    effectsFrame(state, true);
}

} // namespace

BENCHMARK(BM_EffectsFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectsFrameMixedBlends)->Unit(benchmark::kMicrosecond);
