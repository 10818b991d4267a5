// Starting effects, their emitters and particles, and the per-frame update that fills the draw list.
#include "visuals/particle_effects.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

#include "engine/app_state.h"
#include "engine/random.h"
#include "visuals/particle_sheet.h"

ParticleSystem particleSystem;

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;
constexpr float kSwingRate = 0.18f; // swing frequency 1 is half a turn (180 degrees) per 1000 ms

float deviate(float value, float dev) {
    return dev != 0.0f ? value + randomSigned(dev) : value;
}

glm::vec3 turned(glm::vec3 v, float degrees) {
    float c = std::cos(degrees * kDegToRad), s = std::sin(degrees * kDegToRad);
    return glm::vec3(v.x * c - v.y * s, v.x * s + v.y * c, v.z);
}

// amplitude x cos(frequency x age x 0.18 + phase) horizontally, sine vertically; angles in degrees.
glm::vec3 swing(const float (&x)[3], const float (&y)[3], float ageMs) {
    return glm::vec3(x[0] * std::cos((x[1] * ageMs * kSwingRate + x[2]) * kDegToRad),
                     y[0] * std::sin((y[1] * ageMs * kSwingRate + y[2]) * kDegToRad), 0.0f);
}

glm::vec3 orbitOffset(float radius, float angleDeg) {
    return glm::vec3(radius * std::cos(angleDeg * kDegToRad), radius * std::sin(angleDeg * kDegToRad), 0.0f);
}

void birth(const EffectDefinition& def, glm::vec3 at, float sizeFactor, int frame) {
    Particle& p = particleSystem.particles.push(Particle{}); // the oldest makes way
    p.def = &def;
    p.frame = frame;
    for (int c = 0; c < 4; ++c) {
        p.color0[c] = std::clamp(deviate(def.color0[c], def.color0Dev[c]), 0.0f, 1.0f);
        p.color1[c] = std::clamp(deviate(def.color1[c], def.color1Dev[c]), 0.0f, 1.0f);
    }
    p.lifeMs = std::max(0.0f, deviate(def.parTimeMs, def.parTimeDevMs));
    p.ageMs = 0.0f;
    for (int a = 0; a < 3; ++a) {
        p.position[a] = deviate(at[a], def.positionDev[a]);
        p.velocity[a] = deviate(def.speed[a], def.speedDev[a]) * sizeFactor;
    }
    p.rotation = deviate(def.rot, def.rotDev);
    p.rotationSpeed = deviate(def.dRot, def.dRotDev);
    p.radius0 = deviate(def.radius0, def.radius0Dev) * sizeFactor;
    p.radius1 = deviate(def.radius1, def.radius1Dev) * sizeFactor;
    p.orbitRadius = std::max(0.0f, deviate(def.polarPar[0], def.polarParDev[0])) * sizeFactor;
    p.orbitRadiusSpeed = deviate(def.polarPar[1], def.polarParDev[1]);
    p.orbitAngle = deviate(def.polarPar[2], def.polarParDev[2]);
    p.orbitAngleSpeed = deviate(def.polarPar[3], def.polarParDev[3]);
    p.gravity = deviate(def.gravity, def.gravityDev);
}

// Particles born by one emission: one, or its "simetria" copies up to what the ring holds.
int birthsPerEmission(const EffectDefinition& def) {
    return std::clamp(def.simetria, 1, kMaxParticles);
}

// One emission at point p with offset o: one particle, or "simetria" copies turned around p.
void emit(const EffectDefinition& def, glm::vec3 p, glm::vec3 o, float sizeFactor, int frame) {
    if (def.simetria <= 0) {
        birth(def, p + o, sizeFactor, frame);
        return;
    }
    // More copies than the ring holds would only overwrite each other.
    int copies = std::min(def.simetria, kMaxParticles);
    float step = 360.0f / float(def.simetria);
    for (int i = 0; i < copies; ++i) birth(def, p + turned(o, step * float(i)), sizeFactor, frame);
}

void addSprite(const Particle& p, glm::vec3 at, const float color[4], float halfSize) {
    EffectSprite* slot = particleSystem.drawList.add();
    if (!slot) return; // a full list drops the rest of the frame
    EffectSprite& s = *slot;
    s.position = at;
    s.rotationDeg = p.rotation;
    s.halfSize = halfSize;
    s.color = spriteColor(color);
    s.frame = p.frame;
    s.blend = p.def->blendType;
}

void updateEmitter(Emitter& e, float frameMs) {
    const EffectDefinition& def = *e.def;
    glm::vec3 offset = swing(def.lissX, def.lissY, e.ageMs) + orbitOffset(e.orbitRadius, e.orbitAngle);
    e.countdownMs -= frameMs;
    if (e.countdownMs < 0.0f) {
        e.countdownMs += e.periodMs;
        // A long frame catches up; more emissions than the ring holds would only overwrite each other.
        // So does an emission of more copies than that, so the births of one update stay within the ring.
        int count =
            std::max(1, int(std::min(frameMs / e.periodMs, float(kMaxParticles / birthsPerEmission(def)))));
        for (int i = 0; i < count; ++i) emit(def, e.position, offset, e.sizeFactor, e.frame);
    }
    e.position += e.velocity * frameMs;
    e.orbitRadius += e.orbitRadiusSpeed * frameMs / 1000.0f;
    e.orbitAngle += e.orbitAngleSpeed * frameMs / 1000.0f;
    e.ageMs += frameMs;
    if (e.ageMs >= def.effectTimeMs) e.def = nullptr;
}

void updateParticle(Particle& p, float frameMs) {
    const EffectDefinition& def = *p.def;
    float t = p.ageMs / p.lifeMs;
    float color[4];
    for (int c = 0; c < 4; ++c) color[c] = p.color0[c] * (1.0f - t) + p.color1[c] * t;
    float halfSize = p.radius0 * (1.0f - t) + p.radius1 * t;
    glm::vec3 offset = orbitOffset(p.orbitRadius, p.orbitAngle) + swing(def.lissParX, def.lissParY, p.ageMs);
    if (def.simetriaPar <= 0) {
        addSprite(p, p.position + offset, color, halfSize);
    } else {
        float step = 360.0f / float(def.simetriaPar);
        // Copies past a full draw list would be dropped anyway; turning them is work for nothing.
        int copies = std::min(def.simetriaPar, kMaxEffectSprites - particleSystem.drawList.size());
        for (int i = 0; i < copies; ++i)
            addSprite(p, p.position + turned(offset, step * float(i)), color, halfSize);
    }
    float seconds = frameMs / 1000.0f;
    p.position += p.velocity * seconds;
    p.velocity.y -= p.gravity * seconds;
    p.orbitRadius += p.orbitRadiusSpeed * seconds;
    p.orbitAngle += p.orbitAngleSpeed * seconds;
    p.rotation += p.rotationSpeed * seconds;
    p.ageMs += frameMs;
    if (p.ageMs >= p.lifeMs) p.def = nullptr;
}

} // namespace

void resetParticleSystem() {
    particleSystem.defs.clear();
    particleSystem.sheet = nullptr;
    particleSystem.externStarts = 0;
    particleSystem.lastExternStartMs = -1e9f;
    clearEffects();
}

void clearEffects() {
    particleSystem.emitters.clear();
    particleSystem.particles.clear();
    particleSystem.drawList.clear();
}

void startEffect(const char* name, float x, float y, float targetX, float targetY, float sizeFactor,
                 int frameOverride) {
    const EffectDefinition* found = findEffect(name);
    if (!found) return;
    const EffectDefinition& def = *found;

    for (const auto& extern_ : def.externEffects) {
        if (!extern_[0] || strcasecmp(extern_, def.name) == 0)
            continue; // never itself: no endless self-start
        // At most 8 extern starts in any stretch of 100 ms, so effects naming each other stop.
        if (app.runTimeMs - particleSystem.lastExternStartMs > kExternWindowMs)
            particleSystem.externStarts = 0;
        if (particleSystem.externStarts >= kMaxExternStarts) continue;
        ++particleSystem.externStarts;
        particleSystem.lastExternStartMs = app.runTimeMs;
        startEffect(extern_, x, y, targetX, targetY, sizeFactor, frameOverride);
    }

    int frame = frameOverride >= 0 ? frameOverride : def.frame;
    glm::vec3 at(x, y, 0.0f);
    if (def.effectTimeMs != 0.0f) {
        Emitter& e = particleSystem.emitters.push(Emitter{}); // the oldest makes way
        e.def = &def;
        e.frame = frame;
        e.sizeFactor = sizeFactor;
        e.position = at;
        e.velocity = glm::vec3(0.0f);
        if (!(targetX == kNoTarget && targetY == kNoTarget) && def.effectTimeMs > 0.0f)
            e.velocity = (glm::vec3(targetX, targetY, 0.0f) - at) / def.effectTimeMs;
        e.ageMs = 0.0f;
        // No frequency means no emissions: the period is then longer than any emitter lives.
        e.periodMs = def.parFrequency > 0.0f ? 1000.0f / def.parFrequency : 1e30f;
        e.countdownMs = e.periodMs;
        e.orbitRadius = std::max(0.0f, deviate(def.polar[0], def.polarDev[0]));
        e.orbitRadiusSpeed = deviate(def.polar[1], def.polarDev[1]);
        e.orbitAngle = deviate(def.polar[2], def.polarDev[2]);
        e.orbitAngleSpeed = deviate(def.polar[3], def.polarDev[3]);
        if (def.effectTimeMs < 0.0f) e.def = nullptr; // a negative life never runs
        return;
    }
    // One-shot burst; more births than the ring holds would only overwrite each other.
    glm::vec3 offset = orbitOffset(def.polar[0], def.polar[2]);
    int perEmission = birthsPerEmission(def);
    float limit = float((kMaxParticles + perEmission - 1) / perEmission);
    int count = def.parFrequency > 0.0f ? int(std::min(def.parFrequency, limit)) : 0;
    for (int i = 0; i < count; ++i) emit(def, at, offset, sizeFactor, frame);
}

void updateEffects() {
    float frameMs = app.frameTimeMs;
    for (auto& e : particleSystem.emitters) {
        if (e.def) updateEmitter(e, frameMs);
    }
    for (auto& p : particleSystem.particles) {
        if (p.def) {
            if (p.ageMs < p.lifeMs)
                updateParticle(p, frameMs);
            else
                p.def = nullptr;
        }
    }
}

int liveParticles() {
    int n = 0;
    for (const auto& p : particleSystem.particles) n += p.def ? 1 : 0;
    return n;
}

int liveEmitters() {
    int n = 0;
    for (const auto& e : particleSystem.emitters) n += e.def ? 1 : 0;
    return n;
}
