// Cutting the particle sheet into frames and drawing sprites from it.
#include "visuals/particle_sheet.h"

#include <algorithm>

#include "engine/texture.h"
#include "player/comfort.h"

TexRect sheetFrame(int frame, int sheetWidth, int sheetHeight) {
    int columns = std::max(1, sheetWidth / kSheetCell);
    int rows = std::max(1, sheetHeight / kSheetCell);
    // A frame beyond the sheet wraps round instead of reading outside it.
    frame = std::max(0, frame) % (columns * rows);
    float w = float(std::max(sheetWidth, kSheetCell)), h = float(std::max(sheetHeight, kSheetCell));
    int column = frame % columns, row = frame / columns;
    const float inset = 0.001f;
    return TexRect{column * kSheetCell / w + inset, row * kSheetCell / h + inset,
                   (column + 1) * kSheetCell / w - inset, (row + 1) * kSheetCell / h - inset};
}

uint32_t spriteColor(const float rgba[4]) {
    auto byte = [](float v) { return uint32_t(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    return byte(rgba[3]) << 24 | byte(rgba[0]) << 16 | byte(rgba[1]) << 8 | byte(rgba[2]);
}

namespace {

// The states every sheet sprite is drawn with; returns the culling flag to put back afterwards.
bool setSpriteStates(const Texture* sheet) {
    setRenderState(kPresetLighting, false);
    setRenderState(kPresetAlphaBlend, true);
    setRenderState(kPresetAlphaTest, false);
    setRenderState(kPresetFiltering, true);
    setRenderState(kPresetDepthTest, true);
    setRenderState(kPresetDepthWrite, false);
    bool culling = render.states.cullCounterClockwise != 0;
    setCulling(false); // the squares face the camera whichever way their corners run
    setTexture(sheet);
    return culling;
}

// Type 0 adds the sprite's light to the picture, weighted by its alpha: the sheet's glows are shaped by
// their alpha and effects fade out through it. Type 1 lays the sprite over the picture.
void setSpriteBlend(int blend) {
    if (blend == 0)
        setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    else
        setBlendMode(kBlendNormal);
}

// Corners run bottom-right, top-right, top-left, bottom-left; the strip wants BR, TR, BL, TL.
void sheetQuad(const glm::vec3 corners[4], const TexRect& r, uint32_t color) {
    const glm::vec3 strip[4] = {corners[0], corners[1], corners[3], corners[2]};
    const glm::vec2 uv[4] = {{r.right, r.bottom}, {r.right, r.top}, {r.left, r.bottom}, {r.left, r.top}};
    drawQuadStrip(strip, uv, color);
}

// An additive sprite adds its light weighted by its alpha: with flashes reduced it adds half of it.
uint32_t glowColor(uint32_t argb) {
    if (!comfort.reduceFlashes) return argb;
    uint32_t alpha = static_cast<uint32_t>(static_cast<float>(argb >> 24) * kReducedGlow);
    return alpha << 24 | (argb & 0xFFFFFFu);
}

} // namespace

void drawSprites(const EffectSprite* sprites, int count, const Texture* sheet) {
    if (count <= 0) return;
    int width = sheet ? sheet->width : 1024, height = sheet ? sheet->height : 1024;
    bool culling = setSpriteStates(sheet);
    int blend = -1;
    glm::vec3 corners[4];
    for (int i = 0; i < count; ++i) {
        const EffectSprite& s = sprites[i];
        if (s.blend != blend) { // consecutive sprites of one type share the state
            blend = s.blend;
            setSpriteBlend(blend);
        }
        billboardCorners(s.position, s.rotationDeg, s.halfSize, corners);
        sheetQuad(corners, sheetFrame(s.frame, width, height), blend == 0 ? glowColor(s.color) : s.color);
    }
    setCulling(culling);
}

void drawSheetSprite(float x, float y, float width, float height, int frame, uint32_t argb, int blend) {
    const Texture* sheet = particleSystem.sheet;
    bool culling = setSpriteStates(sheet);
    setSpriteBlend(blend);
    // The camera's right and up axes, from an upright unit square.
    glm::vec3 centre(x, y, 0.0f), unit[4];
    billboardCorners(centre, 0.0f, 1.0f, unit);
    glm::vec3 right = (unit[1] - unit[2]) * (width / 4.0f), up = (unit[1] - unit[0]) * (height / 4.0f);
    const glm::vec3 corners[4] = {centre + right - up, centre + right + up, centre - right + up,
                                  centre - right - up};
    sheetQuad(corners, sheetFrame(frame, sheet ? sheet->width : 1024, sheet ? sheet->height : 1024), argb);
    setCulling(culling);
}

void drawEffects() {
    drawSprites(particleSystem.drawList.begin(), particleSystem.drawList.size(), particleSystem.sheet);
    particleSystem.drawList.clear();
}
