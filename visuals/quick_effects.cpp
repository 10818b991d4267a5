// Quick particles, marker effects and the sprite queue.
#include "visuals/quick_effects.h"

#include <algorithm>
#include <cmath>

#include "engine/app_state.h"
#include "engine/random.h"
#include "visuals/particle_sheet.h"

QuickEffects quickEffects;

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;
constexpr float kFadeBackSpeed = -0.003f; // a colour channel that reached 1 fades back at this rate
constexpr float kMarkerRingRadius = 12.0f;

} // namespace

// life, frame, blend, half-size and its change, rotation lo/hi and its change lo/hi, colour, colour change,
// gravity, velocity x lo/hi and y lo/hi, orbit radius lo/hi, radius change, orbit angle change lo/hi.
// Times in ms, changes per ms, angles in degrees.
// clang-format off
const QuickPreset kQuickPresets[kQuickPresetCount] = {
    // 0: drifting flake, fades out
    {1000, 62, 1, 10, 0, 0, 0, 0, 0.1f, {1, 1, 1, 1}, {0, 0, 0, -0.0009f}, 0,
     -0.03f, 0.03f, 0.02f, 0.08f, 0, 0, 0, 0, 0},
    // 1: shrinking glow
    {1000, 17, 0, 40, -0.008f, 0, 0, 0, 0, {1, 1, 1, 1}, {-0.0009f, -0.0009f, -0.0009f, 0}, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 2: spinning, growing star
    {1500, 53, 1, 7, 0.15f, 0, 0, -0.3f, -0.3f, {1, 1, 1, 1}, {0, 0, 0, -0.00075f}, 0,
     -0.01f, 0.01f, -0.01f, 0.01f, 0, 0, 0, 0, 0},
    // 3: aim ring of small warm sparks. The aim marker lays 32 of these on a ring of radius 30, so they
    // must stay small and dim: grown to tens of pixels they overlap so often that the adding saturates
    // into a solid white disc over the target.
    {700, 17, 0, 3, 0.008f, 0, 0, 0, 0, {0.9f, 0.7f, 0.3f, 1}, {-0.0013f, -0.001f, -0.0004f, 0}, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 4: slowly brightening, swirling haze; its alpha fades it out by the end of its life
    {3000, 12, 0, 1, 0.12f, 0, 0, 0.1f, 0.1f, {0, 0, 0, 0.35f}, {0.00033f, 0.00033f, 0.00033f, -0.000117f}, 0,
     -0.02f, 0.02f, -0.02f, 0.02f, 0, 8, 0, -0.2f, 0.2f},
    // 5: warm swirling haze
    {2000, 12, 0, 2, 0.06f, 0, 0, 0.1f, 0.1f, {0.45f, 0.35f, 0.2f, 0.4f}, {0.0005f, 0.0004f, 0.0003f, -0.0002f}, 0,
     -0.02f, 0.02f, -0.02f, 0.02f, 0, 6, 0, -0.2f, 0.2f},
    // 6: spiral fading in while it turns
    {2000, 33, 0, 0, 0.06f, 0, 360, 0.1f, 0.1f, {0, 0, 0, 1}, {0.0007f, 0.0007f, 0.0007f, 0}, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 7: sparkle flash
    {1000, 3, 0, 28, 0.02f, 45, 45, 0, 0, {1, 1, 1, 1}, {-0.0014f, -0.0014f, -0.0014f, 0}, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 8: comet flash at a random angle
    {1000, 10, 0, 28, 0.02f, -360, 360, 0, 0, {1, 1, 1, 1}, {-0.0014f, -0.0014f, -0.0014f, 0}, 0,
     0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 9: rising, slowly falling shock ring
    {2000, 34, 0, 30, 0.08f, -90, -90, 0, 0, {1, 1, 1, 1}, {-0.0005f, -0.0005f, -0.0005f, 0}, 0.00002f,
     -0.02f, 0.02f, 0.02f, 0.05f, 0, 0, 0, 0, 0},
    // 10: cursor-mode burst spark
    {700, 17, 0, 10, -0.01f, 0, 0, 0, 0, {0.8f, 0.9f, 1, 1}, {-0.0014f, -0.0014f, -0.0014f, 0}, 0,
     -0.08f, 0.08f, -0.08f, 0.08f, 0, 0, 0, 0, 0},
    // 11: turning spiral puff
    {1200, 33, 0, 16, 0.02f, 0, 360, -0.2f, 0.2f, {1, 1, 1, 1}, {-0.0008f, -0.0008f, -0.0008f, 0}, 0,
     -0.03f, 0.03f, -0.03f, 0.03f, 5, 15, 0, -0.15f, 0.15f},
    // 12: trail of a travelling ball
    {500, 12, 0, 8, -0.01f, 0, 0, 0, 0, {1, 1, 1, 1}, {-0.002f, -0.002f, -0.002f, 0}, 0,
     -0.01f, 0.01f, -0.01f, 0.01f, 0, 0, 0, 0, 0},
    // 13: score counting
    {700, 12, 0, 12, -0.01f, 0, 0, 0, 0, {1, 0.9f, 0.5f, 1}, {-0.0014f, -0.0014f, -0.0014f, 0}, 0,
     -0.03f, 0.03f, 0.03f, 0.08f, 0, 0, 0, 0, 0},
    // 14: fuse spark of a bomb
    {400, 17, 0, 4, -0.005f, 0, 0, 0, 0, {1, 0.8f, 0.3f, 1}, {-0.0025f, -0.0025f, -0.0025f, 0}, 0.0005f,
     -0.1f, 0.1f, 0, 0.15f, 0, 0, 0, 0, 0},
    // 15: sparkle of break-up tiles and pop-up texts
    {800, 13, 0, 6, 0.01f, 0, 360, -0.3f, 0.3f, {1, 1, 1, 1}, {-0.0012f, -0.0012f, -0.0012f, 0}, 0,
     -0.08f, 0.08f, -0.08f, 0.08f, 0, 0, 0, 0, 0},
    // 16: progress bar marker
    {600, 12, 0, 10, -0.01f, 0, 0, 0, 0, {0.6f, 0.8f, 1, 1}, {-0.0016f, -0.0016f, -0.0016f, 0}, 0,
     -0.02f, 0.02f, 0.01f, 0.04f, 0, 0, 0, 0, 0},
    // 17: chip thrown up, falling back
    {1500, 62, 1, 8, 0, 0, 360, -0.2f, 0.2f, {1, 1, 1, 1}, {0, 0, 0, -0.0007f}, 0.001f,
     -0.15f, 0.15f, 0.2f, 0.5f, 0, 0, 0, 0, 0},
};
// clang-format on

namespace {

float between(float lo, float hi) {
    return lo == hi ? lo : lo + randomUnit(hi - lo);
}

// The marker emitters of kinds 2 and 3 swing round their point and drop rings as they go.
void updateMarkers(float frameMs) {
    for (auto& m : quickEffects.markers) {
        if (m.timeLeftMs <= 0.0f) continue;
        float h = m.timeLeftMs / kMarkerLifeMs;
        const float pi = 3.14159265f;
        float radius = m.kind == 2 ? 50.0f : 70.0f * h;
        float x = m.x + radius * std::sin(pi * h), y = m.y + radius * std::sin(2.0f * pi * h);
        int step = m.kind == 2 ? int(40.0f * h) : int(20.0f * h);
        if (step != m.lastStep) {
            spawnQuickRing(x, y, m.kind == 2 ? 4 : 5, 5, kMarkerRingRadius);
            m.lastStep = step;
        }
        m.timeLeftMs -= frameMs;
    }
}

} // namespace

void resetQuickEffects() {
    quickEffects.particles.clear();
    quickEffects.markers.clear();
    quickEffects.queue.clear();
}

void spawnQuick(float x, float y, int kind) {
    if (kind < 0 || kind >= kQuickPresetCount) return;
    const QuickPreset& k = kQuickPresets[kind];
    QuickParticle& p = quickEffects.particles.push(QuickParticle{});
    p.lifeMs = k.lifeMs;
    p.x = x;
    p.y = y;
    p.vx = between(k.vxLo, k.vxHi);
    p.vy = between(k.vyLo, k.vyHi);
    p.orbitRadius = between(k.orbitRadiusLo, k.orbitRadiusHi);
    p.orbitRadiusSpeed = k.orbitRadiusSpeed;
    p.orbitAngle = p.orbitRadius > 0.0f ? randomUnit(360.0f) : 0.0f;
    p.orbitAngleSpeed = between(k.orbitAngleSpeedLo, k.orbitAngleSpeedHi);
    p.halfSize = k.halfSize;
    p.halfSizeSpeed = k.halfSizeSpeed;
    p.rotation = between(k.rotationLo, k.rotationHi);
    p.rotationSpeed = between(k.rotationSpeedLo, k.rotationSpeedHi);
    for (int c = 0; c < 4; ++c) {
        p.color[c] = k.color[c];
        p.colorSpeed[c] = k.colorSpeed[c];
    }
    p.gravity = k.gravity;
    p.frame = k.frame;
    p.blend = k.blend;
}

void spawnQuickRing(float x, float y, int kind, int count, float radius) {
    // The first offset points straight up; each next one turns by 360 / count degrees.
    for (int i = 0; i < count; ++i) {
        float a = 360.0f / float(count) * float(i) * kDegToRad;
        spawnQuick(x + radius * std::sin(a), y + radius * std::cos(a), kind);
    }
}

void spawnMarker(float x, float y, float x2, float y2, int kind) {
    switch (kind) {
    case 0:
        spawnQuickRing(x, y, 2, 5, 40.0f);
        break;
    case 1:
        spawnQuickRing(x, y, 3, 32, 30.0f);
        break;
    case 2:
    case 3: {
        quickEffects.markers.push(MarkerEmitter{x, y, kMarkerLifeMs, kind, -1});
        break;
    }
    case 4: {
        float dx = x2 - x, dy = y2 - y;
        float length = std::sqrt(dx * dx + dy * dy);
        // The ring holds 2048; a longer line would only overwrite its own start.
        int steps = int(std::min(length / 10.0f, float(kMaxQuickParticles)));
        for (int i = 0; i <= steps && length > 0.0f; ++i) {
            float t = float(i) * 10.0f / length;
            spawnQuick(x + dx * t, y + dy * t, 8);
        }
        spawnQuickRing(x2, y2, 7, 32, 10.0f);
        break;
    }
    default:
        break;
    }
}

void queueSprite(const glm::vec3& position, float rotationDeg, float halfSize, uint32_t argb, int blend,
                 int frame) {
    if (quickEffects.queue.full()) return;
    float reach = std::fabs(halfSize) * 1.415f; // a turned square reaches this far from its centre
    if (std::fabs(position.x) - reach > kScreenWidth / 2 || std::fabs(position.y) - reach > kScreenHeight / 2)
        return;
    quickEffects.queue.push(EffectSprite{position, rotationDeg, halfSize, argb, frame, blend});
}

void drawQuick() {
    const Texture* sheet = particleSystem.sheet;
    drawSprites(quickEffects.queue.begin(), quickEffects.queue.size(), sheet);
    quickEffects.queue.clear();

    float frameMs = app.frameTimeMs;
    updateMarkers(frameMs);

    quickEffects.scratch.clear();
    for (auto& p : quickEffects.particles) {
        if (p.lifeMs <= 0.0f) continue;
        float a = p.orbitAngle * kDegToRad;
        glm::vec3 at(p.x + p.orbitRadius * std::cos(a), p.y + p.orbitRadius * std::sin(a), 0.0f);
        quickEffects.scratch.push(
            EffectSprite{at, p.rotation, std::max(0.0f, p.halfSize), spriteColor(p.color), p.frame, p.blend});
        p.x += p.vx * frameMs;
        p.y += p.vy * frameMs;
        p.orbitAngle += p.orbitAngleSpeed * frameMs;
        p.orbitRadius += p.orbitRadiusSpeed * frameMs;
        p.halfSize += p.halfSizeSpeed * frameMs;
        p.rotation += p.rotationSpeed * frameMs;
        p.vy -= p.gravity * frameMs;
        p.lifeMs -= frameMs;
        for (int c = 0; c < 4; ++c) {
            p.color[c] = std::clamp(p.color[c] + p.colorSpeed[c] * frameMs, 0.0f, 1.0f);
            if (p.color[c] >= 1.0f && p.colorSpeed[c] > 0.0f) p.colorSpeed[c] = kFadeBackSpeed;
        }
    }
    drawSprites(quickEffects.scratch.begin(), quickEffects.scratch.size(), sheet);
}

int liveQuickParticles() {
    int n = 0;
    for (const auto& p : quickEffects.particles) n += p.lifeMs > 0.0f ? 1 : 0;
    return n;
}
