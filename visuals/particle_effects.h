// File effects: named particle effects read from "effects/*.par", started by name at a point. An
// effect either bursts at once or has an emitter that travels to a target and spawns particles over its
// life; particles follow orbits and swings and can be drawn in rotational symmetry. All pools are fixed
// rings: a new emitter or particle overwrites the oldest.
#pragma once

#include <glm/vec3.hpp>

#include <cstdint>
#include <string_view>

#include "engine/limits.h"
#include "platform/fixed_list.h"
#include "platform/ring.h"

struct Texture;

constexpr int kEffectNameLength = 31;
constexpr int kMaxExternEffects = 8;      // "externeffect1=" .. "externeffect8="
constexpr int kMaxExternStarts = 8;       // extern starts allowed in one stretch of ...
constexpr float kExternWindowMs = 100.0f; // ... this many ms; more are dropped (stops loops)
constexpr float kNoTarget = -1000000.0f;  // a target of (kNoTarget, kNoTarget): the emitter stays put

struct EffectDefinition {
    char name[kEffectNameLength + 1] = {}; // file name without extension
    char externEffects[kMaxExternEffects][kEffectNameLength + 1] = {};
    float parFrequency = 100.0f;    // emitter: particles per second; burst: particle count
    float color0[4] = {1, 1, 1, 1}; // birth colour r, g, b, a (0..1)
    float color0Dev[4] = {};
    float color1[4] = {}; // death colour
    float color1Dev[4] = {};
    float radius0 = 20.0f, radius0Dev = 0.0f;       // half-size at birth
    float radius1 = 20.0f, radius1Dev = 0.0f;       // half-size at death
    float parTimeMs = 1000.0f, parTimeDevMs = 0.0f; // particle life
    glm::vec3 positionDev = glm::vec3(0.0f);
    glm::vec3 speed = glm::vec3(0.0f); // units per second
    glm::vec3 speedDev = glm::vec3(0.0f);
    float gravity = 0.0f, gravityDev = 0.0f;     // units per second per second, downward
    int blendType = 0;                           // 0 additive, 1 normal alpha blending
    int frame = 13;                              // "numparticle=": frame of the sheet
    float rot = 0.0f, rotDev = 0.0f;             // start rotation, degrees
    float dRot = 0.0f, dRotDev = 0.0f;           // rotation speed, degrees per second
    float effectTimeMs = 1000.0f;                // emitter life; 0 makes a one-shot burst
    float polarPar[4] = {}, polarParDev[4] = {}; // particle orbit: radius, radius/s, angle deg, deg/s
    float lissParX[3] = {}, lissParY[3] = {};    // particle swing: amplitude, frequency, phase (deg)
    float polar[4] = {}, polarDev[4] = {};       // emitter orbit
    float lissX[3] = {}, lissY[3] = {};          // emitter swing
    int simetria = 0;                            // rotated copies born per emission (0: one particle)
    int simetriaPar = 0;                         // rotated copies each particle is drawn in (0: once)
};

struct Emitter {
    const EffectDefinition* def = nullptr; // null: free
    int frame = 13;
    float sizeFactor = 1.0f;
    glm::vec3 position = glm::vec3(0.0f);
    glm::vec3 velocity = glm::vec3(0.0f); // units per ms
    float ageMs = 0.0f;
    float periodMs = 0.0f;                             // 1000 / parFrequency
    float countdownMs = 0.0f;                          // to the next emission
    float orbitRadius = 0.0f, orbitRadiusSpeed = 0.0f; // per second
    float orbitAngle = 0.0f, orbitAngleSpeed = 0.0f;   // degrees, degrees per second
};

struct Particle {
    const EffectDefinition* def = nullptr; // null: free
    int frame = 13;
    float ageMs = 0.0f, lifeMs = 0.0f;
    glm::vec3 position = glm::vec3(0.0f);
    glm::vec3 velocity = glm::vec3(0.0f); // units per second
    float gravity = 0.0f;
    float color0[4] = {}, color1[4] = {};
    float radius0 = 0.0f, radius1 = 0.0f;
    float orbitRadius = 0.0f, orbitRadiusSpeed = 0.0f;
    float orbitAngle = 0.0f, orbitAngleSpeed = 0.0f;
    float rotation = 0.0f, rotationSpeed = 0.0f; // degrees, degrees per second
};

// One square of the draw list (also the quick effects' sprite).
struct EffectSprite {
    glm::vec3 position;
    float rotationDeg;
    float halfSize;
    uint32_t color; // ARGB
    int frame;
    int blend; // 0 additive, 1 normal
};

struct ParticleSystem {
    FixedList<EffectDefinition, kMaxEffectDefs> defs; // in loading order; full: later files are ignored
    Ring<Emitter, kMaxEmitters> emitters;             // the newest overwrites the oldest
    Ring<Particle, kMaxParticles> particles;          // the newest overwrites the oldest
    // Filled by updateEffects, drawn and emptied by drawEffects; full drops the rest of the frame.
    FixedList<EffectSprite, kMaxEffectSprites> drawList;
    int externStarts = 0;            // extern starts in the current stretch
    float lastExternStartMs = -1e9f; // runTimeMs of the previous extern start
    const Texture* sheet = nullptr;  // "particles.tga"
};

extern ParticleSystem particleSystem;

void resetParticleSystem(); // no definitions, emitters, particles or sprites (tests)
void loadEffects();         // "particles.tga" and every "effects/*.par" of the data folder
// Reads one definition from a keyed text; keys not present keep their defaults.
void readEffectDefinition(std::string_view text, EffectDefinition& def);
bool addEffectDefinition(const char* name, std::string_view text); // false when 256 are loaded
const EffectDefinition* findEffect(const char* name);              // first match, or null
void startEffect(const char* name, float x, float y, float targetX = kNoTarget, float targetY = kNoTarget,
                 float sizeFactor = 1.0f, int frameOverride = -1);
void clearEffects();  // removes every emitter and particle
void updateEffects(); // advances emitters and particles by frameTimeMs and fills the draw list
void drawEffects();   // draws the list with the effect states and empties it
int liveParticles();  // particles alive now (diagnostics, tests)
int liveEmitters();
