// Quads, billboards and beams: the geometry and texture coordinates of every quad operation.
#include <algorithm>
#include <cmath>
#include <cstring>

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "engine/render.h"

namespace {

constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr float kScreenRectInset = 0.001f; // keeps a picture's border texels from bleeding in

ColoredVertex vertex(const glm::vec3& p, uint32_t color, float u, float v) {
    return {p.x, p.y, p.z, color, u, v};
}

// A screen rectangle as the strip top-right, bottom-right, top-left, bottom-left.
void stripRect(float left, float top, float right, float bottom, const TexRect& tex, uint32_t color,
               float z) {
    ColoredVertex v[4] = {
        {right, top, z, color, tex.right, tex.top},
        {right, bottom, z, color, tex.right, tex.bottom},
        {left, top, z, color, tex.left, tex.top},
        {left, bottom, z, color, tex.left, tex.bottom},
    };
    submitQuad(v, true);
}

void listQuad(const glm::vec3 c[4], const uint32_t colors[4], const glm::vec2 uv[4]) {
    ColoredVertex v[4];
    for (int i = 0; i < 4; i++) v[i] = vertex(c[i], colors[i], uv[i].x, uv[i].y);
    submitQuad(v, false);
}

const glm::vec2 kHalfTurnUv[4] = {{0.0f, 0.0f}, {0.0f, -1.0f}, {-1.0f, -1.0f}, {-1.0f, 0.0f}};
const glm::vec2 kOneColorUv[4] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};
const glm::vec2 kBillboardUv[4] = {{1.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, 0.0f}, {0.0f, 1.0f}};

// A packed picture's texture points into its page rectangle. A quad reads the picture within one period
// of the wrap (the half-turned quads run from 0 to -1), so the whole periods below the middle of its
// points (the middle of a diagonal: corners 0 and 3 of a strip, 0 and 2 of a pair) are taken off first;
// the page's border repeats the picture's edges, as the wrap would.
float wholePeriods(float middle) {
    int whole = static_cast<int>(middle); // floor without the library call: the points are small numbers
    return static_cast<float>(middle < static_cast<float>(whole) ? whole - 1 : whole);
}

void mapToPage(ColoredVertex v[4], bool strip) {
    const TexRect& r = render.pageRect;
    const ColoredVertex& across = v[strip ? 3 : 2];
    float shiftU = wholePeriods((v[0].u + across.u) * 0.5f),
          shiftV = wholePeriods((v[0].v + across.v) * 0.5f);
    float w = r.right - r.left, h = r.bottom - r.top;
    for (int i = 0; i < 4; i++) {
        v[i].u = r.left + (v[i].u - shiftU) * w;
        v[i].v = r.top + (v[i].v - shiftV) * h;
    }
}

bool blendsPerQuadWith(const RenderStates& s) {
    return s.alphaBlend && blendsWithoutDestination(s.srcBlend) && blendsWithoutDestination(s.dstBlend);
}

// The quad may join the gathered batch: the same states, or states that differ only in blend factors
// that the backend applies per quad.
bool joinsBatch(const RenderStates& batch, const RenderStates& now) {
    if (std::memcmp(&batch, &now, sizeof(RenderStates)) == 0) return true;
    if (!render.blendsPerQuad || !blendsPerQuadWith(batch) || !blendsPerQuadWith(now)) return false;
    RenderStates same = now;
    same.srcBlend = batch.srcBlend;
    same.dstBlend = batch.dstBlend;
    return std::memcmp(&batch, &same, sizeof(RenderStates)) == 0;
}

} // namespace

void submitQuad(const ColoredVertex vertices[4], bool strip) {
    if (render.batchQuads > 0 &&
        (render.batchQuads == kMaxBatchQuads || !joinsBatch(render.batchStates, render.states))) {
        flushBatch();
    }
    if (render.batchQuads == 0) {
        render.batchStates = render.states;
        render.batchMixed = false;
    }
    uint8_t blend = quadBlendCode(render.states.srcBlend, render.states.dstBlend);
    render.batchBlends[render.batchQuads] = blend;
    if (blend != render.batchBlends[0]) render.batchMixed = true;
    int base = render.batchQuads * 4;
    std::memcpy(&render.batchVertices[base], vertices, 4 * sizeof(ColoredVertex));
    if (render.texturePacked && render.states.texture) mapToPage(&render.batchVertices[base], strip);
    // A strip's second triangle keeps the first one's winding as 2 1 3; a pair shares the diagonal 0-2.
    static constexpr uint16_t kStrip[6] = {0, 1, 2, 2, 1, 3};
    static constexpr uint16_t kPair[6] = {0, 1, 2, 0, 2, 3};
    const uint16_t* pattern = strip ? kStrip : kPair;
    uint16_t* out = &render.batchIndices[render.batchQuads * 6];
    for (int i = 0; i < 6; i++) out[i] = static_cast<uint16_t>(base + pattern[i]);
    render.batchQuads++;
    render.triangleCount += 2;
    if (!render.batching) flushBatch();
}

void drawRect(float left, float top, float right, float bottom, const TexRect& tex, uint32_t color, float z) {
    stripRect(left, top, right, bottom, tex, tintColor(color), z);
}

void drawCentered(float x, float y, float width, float height, const TexRect& tex, uint32_t color, float z) {
    drawRect(x - width / 2, y + height / 2, x + width / 2, y - height / 2, tex, color, z);
}

void drawRotated(float x, float y, float pivotX, float pivotY, float angleDeg, float width, float height,
                 const TexRect& tex, uint32_t color, float z) {
    float a = glm::radians(angleDeg);
    float c = std::cos(a), s = std::sin(a);
    auto turn = [&](float px, float py) {
        float rx = px - pivotX, ry = py - pivotY;
        return glm::vec3(pivotX + rx * c - ry * s, pivotY + rx * s + ry * c, z);
    };
    float l = x - width / 2, r = x + width / 2, t = y + height / 2, b = y - height / 2;
    uint32_t tinted = tintColor(color);
    ColoredVertex v[4] = {
        vertex(turn(r, t), tinted, tex.right, tex.top),
        vertex(turn(r, b), tinted, tex.right, tex.bottom),
        vertex(turn(l, t), tinted, tex.left, tex.top),
        vertex(turn(l, b), tinted, tex.left, tex.bottom),
    };
    submitQuad(v, true);
}

void drawScreenRect(float left, float top, float right, float bottom, const TexRect& tex, uint32_t color) {
    float l = left - 400.0f, r = right - 400.0f, t = 300.0f - top, b = 300.0f - bottom;
    TexRect in = {tex.left + kScreenRectInset, tex.top + kScreenRectInset, tex.right - kScreenRectInset,
                  tex.bottom - kScreenRectInset};
    const glm::vec3 corners[4] = {{r, t, 10.0f}, {r, b, 10.0f}, {l, t, 10.0f}, {l, b, 10.0f}};
    const glm::vec2 uv[4] = {
        {in.right, in.top}, {in.right, in.bottom}, {in.left, in.top}, {in.left, in.bottom}};
    drawQuadStrip(corners, uv, tintColor(color));
}

void drawQuad4(const glm::vec3 corners[4], const uint32_t colors[4]) {
    listQuad(corners, colors, kHalfTurnUv);
}

void drawQuad(const glm::vec3 corners[4], uint32_t color) {
    const uint32_t colors[4] = {color, color, color, color};
    listQuad(corners, colors, kOneColorUv);
}

void drawQuadStrip(const glm::vec3 corners[4], const glm::vec2 uv[4], uint32_t color) {
    ColoredVertex v[4];
    for (int i = 0; i < 4; i++) v[i] = vertex(corners[i], color, uv[i].x, uv[i].y);
    submitQuad(v, true);
}

void drawQuadTextured(const glm::vec3 corners[4], const glm::vec2 uv[4]) {
    // Without a colour the vertices are opaque white, which is what the coloured batch draws too.
    const uint32_t colors[4] = {kOpaqueWhite, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite};
    listQuad(corners, colors, uv);
}

void billboardCorners(const glm::vec3& centre, float angleDeg, float size, glm::vec3 out[4]) {
    const glm::mat4& v = render.transforms.view;
    glm::vec3 right(v[0][0], v[1][0], v[2][0]);
    glm::vec3 up(v[0][1], v[1][1], v[2][1]);
    // The picture's up axis points at 90 degrees minus the angle: 0 is upright, 90 lies to the right.
    float a = glm::radians(90.0f - angleDeg);
    float c = std::cos(a), s = std::sin(a);
    glm::vec3 pictureUp = (right * c + up * s) * size;
    glm::vec3 pictureRight = (right * s - up * c) * size;
    out[0] = centre + pictureRight - pictureUp;
    out[1] = centre + pictureRight + pictureUp;
    out[2] = centre - pictureRight + pictureUp;
    out[3] = centre - pictureRight - pictureUp;
}

void drawBillboard(const Texture* texture, const glm::vec3& centre, float angleDeg, float size) {
    if (render.isVisible && !render.isVisible(centre, size)) return;
    setRenderState(kPresetAlphaBlend, true);
    setBlendMode(kBlendNormal);
    setTexture(texture);
    glm::vec3 corners[4];
    billboardCorners(centre, angleDeg, size, corners);
    const uint32_t colors[4] = {kOpaqueWhite, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite};
    listQuad(corners, colors, kBillboardUv);
}

void drawBillboard2D(const Texture* texture, float x, float y, float angleDeg, float size, uint32_t color) {
    glm::vec3 centre(x, y, 0.0f);
    if (render.isVisible && !render.isVisible(centre, size)) return;
    setRenderState(kPresetAlphaBlend, true);
    setBlendMode(kBlendNormal);
    setTexture(texture);
    glm::vec3 corners[4];
    billboardCorners(centre, angleDeg, size, corners);
    // Board sprites follow the tint like every other flat picture (fades, the greyed board).
    uint32_t tinted = tintColor(color);
    const uint32_t colors[4] = {tinted, tinted, tinted, tinted};
    drawQuad4(corners, colors);
}

namespace {

bool beamCorners(const glm::vec3& start, const glm::vec3& end, float halfWidth, glm::vec3 out[4]) {
    const glm::mat4& v = render.transforms.view;
    glm::vec3 viewDirection(v[0][2], v[1][2], v[2][2]);
    glm::vec3 side = glm::cross(end - start, -viewDirection);
    float length = glm::length(side);
    if (!(length > 0.0f)) return false; // a beam along the line of sight has no width to show
    side *= halfWidth / length;
    out[0] = start - side;
    out[1] = start + side;
    out[2] = end + side;
    out[3] = end - side;
    return true;
}

} // namespace

void drawBeam(const glm::vec3& start, const glm::vec3& end, float halfWidth, uint32_t color) {
    glm::vec3 corners[4];
    if (beamCorners(start, end, halfWidth, corners)) drawQuad(corners, color);
}

void drawBeam2(const glm::vec3& start, const glm::vec3& end, float halfWidth, uint32_t startColor,
               uint32_t endColor) {
    glm::vec3 corners[4];
    if (!beamCorners(start, end, halfWidth, corners)) return;
    const uint32_t colors[4] = {startColor, startColor, endColor, endColor};
    listQuad(corners, colors, kOneColorUv);
}
