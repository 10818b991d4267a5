// Lightning bolts and the ray tests.
#include "engine/lightning.h"

#include <cmath>

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include "engine/random.h"
#include "engine/render.h"
#include "engine/texture.h"

LightningQueue lightning;

void resetLightning() {
    lightning.bolts.clear();
}

void addLightning(const glm::vec3& start, const glm::vec3& end, float segmentLength, float segmentWidth,
                  float glowWidth, float jitter, uint32_t segmentColor, uint32_t glowColor) {
    if (lightning.bolts.full()) return;
    glm::vec3 direction = end - start;
    float length = glm::length(direction);
    // A bolt without length or a segment length of zero has no direction or no count to work with.
    if (!(length > 0.0f) || !(segmentLength > 0.0f)) return;
    glm::vec3 unit = direction / length;
    float count = length / segmentLength;
    int n = count >= kMaxLightningSegments ? kMaxLightningSegments : static_cast<int>(count) + 1;
    if (n >= kMaxLightningSegments) {
        n = kMaxLightningSegments;
        segmentLength = length / kMaxLightningSegments;
    }
    glm::vec3 side = glm::cross(unit, glm::vec3(0.0f, 0.0f, 1.0f));
    float sideLength = glm::length(side);
    // A bolt along the z axis has no side from that product; any perpendicular will do.
    side = sideLength > 0.0f ? side / sideLength : glm::vec3(1.0f, 0.0f, 0.0f);
    LightningBolt& bolt = *lightning.bolts.add();
    bolt.points[0] = start;
    for (int i = 1; i < n; i++) {
        float angle = glm::radians(randomSigned(180.0f));
        glm::vec3 offset = glm::angleAxis(angle, unit) * side * randomSigned(jitter);
        bolt.points[i] = start + unit * segmentLength * static_cast<float>(i) + offset;
    }
    bolt.points[n] = end;
    bolt.segments = n;
    bolt.segmentWidth = segmentWidth;
    bolt.glowWidth = glowWidth;
    bolt.segmentColor = segmentColor;
    bolt.glowColor = glowColor;
}

void drawLightning() {
    if (lightning.bolts.empty()) return;
    setRenderState(kPresetLighting, false);
    setRenderState(kPresetAlphaBlend, true);
    setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    setRenderState(kPresetDepthWrite, false);
    setTexture(getTexture("flare.jpg", false));
    for (const LightningBolt& bolt : lightning.bolts) {
        int n = bolt.segments;
        glm::vec3 overshoot = bolt.points[n - 1] - bolt.points[0];
        float length = glm::length(overshoot);
        overshoot = length > 0.0f ? overshoot * (0.05f / length) : glm::vec3(0.0f);
        drawBeam(bolt.points[0], bolt.points[n], bolt.glowWidth, bolt.glowColor);
        // The small overshoot closes the joints between segments.
        for (int j = 0; j < n; j++) {
            drawBeam(bolt.points[j], bolt.points[j + 1] + overshoot, bolt.segmentWidth, bolt.segmentColor);
        }
    }
    lightning.bolts.clear();
    setRenderState(kPresetDepthWrite, true);
    setBlendMode(kBlendNormal);
}

float rayPlaneDistance(const glm::vec3& direction, const glm::vec3& origin, const glm::vec3& normal,
                       float d) {
    float denominator = glm::dot(normal, direction);
    if (denominator == 0.0f) return -1.0f;
    return -(glm::dot(normal, origin) + d) / denominator;
}

float rayHitsSegment2D(const glm::vec2& a, const glm::vec2& b, const glm::vec2& origin,
                       const glm::vec2& direction) {
    glm::vec2 along = b - a;
    float length = glm::length(along);
    if (!(length > 0.0f)) return -1.0f;
    glm::vec2 normal(-along.y / length, along.x / length);
    // Turn the normal towards the line as seen from the origin.
    float originSide = glm::dot(a - origin, normal);
    if (originSide < 0.0f) {
        normal = -normal;
        originSide = -originSide;
    }
    float approach = glm::dot(direction, normal);
    if (approach < 0.0001f) return -1.0f;
    float t = originSide / approach;
    if (t < 0.0f) return -1.0f;
    glm::vec2 hit = origin + direction * t;
    float s = glm::dot(hit - a, along) / (length * length);
    if (s < 0.0f || s > 1.0f) return -1.0f;
    return t;
}
