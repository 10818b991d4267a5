// Plays every particle effect of a data folder with the game's own particle code and paints the sprites
// it would draw at five moments into one PNG row per effect, so that effects can be judged and tuned
// without running the game.
//
//   effect-preview DATA_DIR OUT_DIR [particles.tga]
//
// With the sheet the sprites are painted from its frames, otherwise as soft discs of their colour.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include "engine/app_state.h"
#include "engine/keyed_reader.h"
#include "visuals/particle_effects.h"

namespace {

constexpr int kTile = 240;     // pixels of one moment
constexpr float kScale = 1.0f; // pixels per scene unit
const float kMomentsMs[] = {80, 200, 400, 700, 1100};
constexpr int kMoments = 5;

struct Sheet {
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
};

// Colour of a sprite texel at (u, v) in 0..1 of its frame: the sheet's texel, or a soft disc.
void texel(const Sheet& sheet, int frame, float u, float v, float rgba[4]) {
    if (!sheet.pixels) {
        float d = std::hypot(u - 0.5f, v - 0.5f) * 2.0f;
        float a = std::max(0.0f, 1.0f - d);
        rgba[0] = rgba[1] = rgba[2] = 1.0f;
        rgba[3] = a * a;
        return;
    }
    int columns = sheet.w / 64;
    int x = (frame % columns) * 64 + std::clamp(int(u * 64), 0, 63);
    int y = (frame / columns) * 64 + std::clamp(int(v * 64), 0, 63);
    const unsigned char* p = sheet.pixels + (size_t(y) * sheet.w + x) * 4;
    for (int i = 0; i < 4; ++i) rgba[i] = p[i] / 255.0f;
}

void paint(std::vector<float>& image, int width, int ox, const Sheet& sheet, const EffectSprite& s) {
    float a = ((s.color >> 24) & 255) / 255.0f, r = ((s.color >> 16) & 255) / 255.0f;
    float g = ((s.color >> 8) & 255) / 255.0f, b = (s.color & 255) / 255.0f;
    float cx = ox + kTile / 2 + s.position.x * kScale, cy = kTile / 2 - s.position.y * kScale;
    float half = s.halfSize * kScale, c = std::cos(s.rotationDeg * 3.14159265f / 180),
          sn = std::sin(s.rotationDeg * 3.14159265f / 180);
    int reach = int(half * 1.5f) + 1;
    for (int py = int(cy) - reach; py <= int(cy) + reach; ++py) {
        for (int px = int(cx) - reach; px <= int(cx) + reach; ++px) {
            if (px < ox || px >= ox + kTile || py < 0 || py >= kTile) continue;
            float dx = px - cx, dy = py - cy;
            float lx = (dx * c - dy * sn) / (2 * half) + 0.5f, ly = (dx * sn + dy * c) / (2 * half) + 0.5f;
            if (lx < 0 || lx > 1 || ly < 0 || ly > 1) continue;
            float t[4];
            texel(sheet, s.frame, lx, ly, t);
            float* dst = &image[(size_t(py) * width + px) * 3];
            if (s.blend == 0) {
                for (int i = 0; i < 3; ++i) dst[i] += t[i] * (i == 0 ? r : i == 1 ? g : b) * a * t[3];
            } else {
                float k = a * t[3];
                for (int i = 0; i < 3; ++i)
                    dst[i] = dst[i] * (1 - k) + t[i] * (i == 0 ? r : i == 1 ? g : b) * k;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: effect-preview DATA_DIR OUT_DIR [particles.tga]\n");
        return 2;
    }
    Sheet sheet;
    if (argc > 3) {
        int n = 0;
        sheet.pixels = stbi_load(argv[3], &sheet.w, &sheet.h, &n, 4);
        if (!sheet.pixels) std::fprintf(stderr, "effect-preview: cannot read %s, painting discs\n", argv[3]);
    }
    std::vector<std::string> names;
    std::vector<std::string> texts;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(argv[1]) / "effects")) {
        if (e.path().extension() != ".par") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        names.push_back(e.path().stem().string());
        texts.push_back(s.str());
    }
    std::filesystem::create_directories(argv[2]);
    for (size_t k = 0; k < names.size(); ++k) {
        resetParticleSystem();
        for (size_t j = 0; j < names.size(); ++j)
            addEffectDefinition(names[j].c_str(), std::string_view(texts[j].data(), texts[j].size()));
        const int width = kTile * kMoments;
        std::vector<float> image(size_t(width) * kTile * 3, 0.08f);
        app.runTimeMs = 1000.0f;
        startEffect(names[k].c_str(), 0, 0);
        float t = 0;
        int peak = 0;
        for (int m = 0; m < kMoments; ++m) {
            while (t < kMomentsMs[m]) {
                app.frameTimeMs = 16.0f;
                app.runTimeMs += 16.0f;
                particleSystem.drawList.clear();
                updateEffects();
                t += 16.0f;
                peak = std::max(peak, liveParticles());
            }
            for (const EffectSprite& sprite : particleSystem.drawList)
                paint(image, width, m * kTile, sheet, sprite);
        }
        std::vector<unsigned char> out(image.size());
        for (size_t i = 0; i < image.size(); ++i)
            out[i] = (unsigned char)std::clamp(image[i] * 255.0f, 0.0f, 255.0f);
        std::string path = std::string(argv[2]) + "/" + names[k] + ".png";
        stbi_write_png(path.c_str(), width, kTile, 3, out.data(), width * 3);
        std::printf("%-10s peak %4d particles\n", names[k].c_str(), peak);
    }
    if (sheet.pixels) stbi_image_free(sheet.pixels);
    return 0;
}
