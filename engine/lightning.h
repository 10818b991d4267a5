// Lightning bolts: jagged glowing lines between two 3D points, made anew every frame and drawn in one
// go with "flare.jpg"; and two ray tests of the scenery and the mesh bounds.
#pragma once

#include <cstdint>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "engine/limits.h"
#include "platform/fixed_list.h"

struct LightningBolt {
    glm::vec3 points[kMaxLightningSegments + 1];
    int segments;          // 1 to 100
    float segmentWidth;    // half-width of the core beams
    float glowWidth;       // half-width of the glow beam from end to end
    uint32_t segmentColor; // ARGB
    uint32_t glowColor;
};

struct LightningQueue {
    FixedList<LightningBolt, kMaxLightningBolts> bolts; // queued this frame; full: later bolts are ignored
};

extern LightningQueue lightning;

void resetLightning(); // empties the queue (tests)

// Queues a bolt; ignored when 63 are already queued this frame.
void addLightning(const glm::vec3& start, const glm::vec3& end, float segmentLength, float segmentWidth,
                  float glowWidth, float jitter, uint32_t segmentColor, uint32_t glowColor);
void drawLightning(); // draws every queued bolt additively and empties the queue

// t = -(normal . origin + d) / (normal . direction); -1 when the ray runs parallel to the plane.
float rayPlaneDistance(const glm::vec3& direction, const glm::vec3& origin, const glm::vec3& normal, float d);
// Distance along a unit ray to the segment a-b, or -1 when nearly parallel, behind or beside it.
float rayHitsSegment2D(const glm::vec2& a, const glm::vec2& b, const glm::vec2& origin,
                       const glm::vec2& direction);
