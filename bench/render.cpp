// Submitting 5000 screen quads a frame in runs of mixed textures: draw calls, triangles, CPU time and
// heap allocations per frame. The backend only counts (no vertices kept), so the numbers are the
// render layer's own cost.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine/render.h"
#include "engine/texture.h"

#include "bench/allocation_counter.h"

namespace {

constexpr int kQuads = 5000;
constexpr int kTextureCount = 8;

class CountingBackend : public RenderBackend {
  public:
    int draws = 0;
    long primitives = 0;
    uint32_t createTexture(int, int, int, const uint8_t*) override { return ++textures; }
    void updateTexture(uint32_t, int, int, const uint8_t*) override {}
    void releaseTexture(uint32_t) override {}
    uint32_t createBuffer(const void*, int, const uint16_t*, int) override { return 1; }
    void releaseBuffer(uint32_t) override {}
    void clear(bool, uint32_t, bool, float) override {}
    void draw(const DrawCall& call) override {
        draws++;
        primitives += call.primitiveCount;
        benchmark::DoNotOptimize(call.vertices);
    }
    void present(float) override {}

  private:
    uint32_t textures = 0;
};

// Runs of 1 to 32 quads share a texture; every seventh run is drawn additively.
void submitFrame(Texture* const* textures) {
    begin2D();
    int quad = 0, run = 0;
    while (quad < kQuads) {
        int length = 1 + (run * 13) % 32;
        setTexture(textures[run % kTextureCount]);
        setBlendMode(run % 7 == 0 ? kBlendAdditive : kBlendNormal);
        for (int i = 0; i < length && quad < kQuads; i++, quad++) {
            float x = static_cast<float>(quad % 80) * 10 - 400, y = static_cast<float>(quad / 80) * 10 - 300;
            drawCentered(x, y, 16, 16, kWholeTexture, 0xFFFFFFFF);
        }
        run++;
    }
    endScene();
    presentFrame();
}

void BM_SubmitQuadsInMixedRuns(benchmark::State& state) {
    CountingBackend backend;
    resetRender();
    resetTextures();
    createDisplay(&backend);
    Texture* textures[kTextureCount];
    for (int i = 0; i < kTextureCount; i++) {
        char name[16];
        std::snprintf(name, sizeof name, "bench%i", i);
        textures[i] = createTexture(name, 64, 64, kFormatA8R8G8B8);
    }
    submitFrame(textures); // warm up
    long frames = 0, drawCalls = 0, triangles = 0;
    long allocationsBefore = allocations.load();
    for (auto _ : state) {
        backend.draws = 0;
        backend.primitives = 0;
        render.triangleCount = 0;
        submitFrame(textures);
        frames++;
        drawCalls += backend.draws;
        triangles += render.triangleCount;
    }
    long allocated = allocations.load() - allocationsBefore;
    state.counters["drawCalls"] = static_cast<double>(drawCalls) / frames;
    state.counters["triangles"] = static_cast<double>(triangles) / frames;
    state.counters["quads"] = kQuads;
    state.counters["allocsPerFrame"] = static_cast<double>(allocated) / frames;
    state.counters["nsPerQuad"] = benchmark::Counter(
        static_cast<double>(frames) * kQuads, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    releaseAllTextures();
    resetRender();
}
BENCHMARK(BM_SubmitQuadsInMixedRuns)->Unit(benchmark::kMicrosecond);

} // namespace


