// Quick effects: built-in presets spawned by number at a point (score counting, fuse sparks, trails,
// bursts), marker effects made of them, and a queue of single sprites, all drawn by drawQuick.
#pragma once

#include <cstdint>

#include <glm/vec3.hpp>

#include "engine/limits.h"
#include "platform/fixed_list.h"
#include "platform/ring.h"
#include "visuals/particle_effects.h"

constexpr int kQuickPresetCount = 18;

struct QuickParticle {
    float lifeMs = 0.0f; // life left; 0 or less: the slot is free
    float x = 0.0f, y = 0.0f;
    float vx = 0.0f, vy = 0.0f;                        // units per ms
    float orbitAngle = 0.0f, orbitAngleSpeed = 0.0f;   // degrees, per ms
    float orbitRadius = 0.0f, orbitRadiusSpeed = 0.0f; // per ms
    float halfSize = 0.0f, halfSizeSpeed = 0.0f;       // per ms
    float rotation = 0.0f, rotationSpeed = 0.0f;       // degrees, per ms
    float color[4] = {};                               // r, g, b, a in 0..1
    float colorSpeed[4] = {}; // per ms; a channel reaching 1 turns to -0.003 and fades back
    float gravity = 0.0f;     // per ms per ms, downward
    int frame = 0;
    int blend = 0; // 0 additive, 1 normal
};

// Starting values of one preset; "lo, hi" pairs are drawn uniformly.
struct QuickPreset {
    float lifeMs;
    int frame;
    int blend;
    float halfSize, halfSizeSpeed;
    float rotationLo, rotationHi, rotationSpeedLo, rotationSpeedHi;
    float color[4], colorSpeed[4];
    float gravity;
    float vxLo, vxHi, vyLo, vyHi;
    float orbitRadiusLo, orbitRadiusHi, orbitRadiusSpeed, orbitAngleSpeedLo, orbitAngleSpeedHi;
};

extern const QuickPreset kQuickPresets[kQuickPresetCount];

struct MarkerEmitter {
    float x = 0.0f, y = 0.0f;
    float timeLeftMs = 0.0f; // 0 or less: free
    int kind = 2;            // 2 or 3
    int lastStep = -1;       // a ring is dropped each time the step changes
};

constexpr float kMarkerLifeMs = 400.0f;

struct QuickEffects {
    Ring<QuickParticle, kMaxQuickParticles> particles;   // the newest overwrites the oldest
    FixedList<EffectSprite, kMaxQueuedSprites> queue;    // sprites queued this frame; full drops the rest
    Ring<MarkerEmitter, kMaxMarkerEmitters> markers;     // the newest overwrites the oldest
    FixedList<EffectSprite, kMaxQuickParticles> scratch; // the quick particles' sprites while drawing
};

extern QuickEffects quickEffects;

void resetQuickEffects();                    // all slots free, queue empty
void spawnQuick(float x, float y, int kind); // one particle of preset kind (0..17) at (x, y)
void spawnQuickRing(float x, float y, int kind, int count, float radius); // count of them round (x, y)
void spawnMarker(float x, float y, float x2, float y2, int kind);         // kinds 0..4
// A sprite of the sheet for this frame only; dropped when outside the view or the queue is full.
void queueSprite(const glm::vec3& position, float rotationDeg, float halfSize, uint32_t argb, int blend,
                 int frame);
void drawQuick(); // the queue, then the marker emitters and quick particles, advanced by frameTimeMs
int liveQuickParticles();
