#include "gameplay/sprites.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "engine/render.h"
#include "engine/texture.h"
#include "visuals/particle_effects.h"
#include "visuals/particle_sheet.h"

namespace {
void setSpriteBlend(const Texture* texture, bool additive) {
    setRenderState(kPresetAlphaBlend, true);
    setBlendMode(additive ? kBlendAdditive : kBlendNormal);
    setTexture(texture);
}

// Corners from billboardCorners run bottom-right, top-right, top-left, bottom-left; the strip wants
// bottom-right, top-right, bottom-left, top-left.
void spriteQuad(float x, float y, float angleDeg, float halfSize, const TexRect& r, uint32_t argb) {
    glm::vec3 corners[4];
    billboardCorners(glm::vec3(x, y, 0.0f), angleDeg, halfSize, corners);
    const glm::vec3 strip[4] = {corners[0], corners[1], corners[3], corners[2]};
    const glm::vec2 uv[4] = {{r.right, r.bottom}, {r.right, r.top}, {r.left, r.bottom}, {r.left, r.top}};
    drawQuadStrip(strip, uv, tintColor(argb));
}
} // namespace

uint32_t argbColor(float red, float green, float blue, float alpha) {
    auto byte = [](float v) -> uint32_t {
        if (!(v > 0.0f)) return 0u;
        return v >= 255.0f ? 255u : static_cast<uint32_t>(v);
    };
    return byte(alpha) << 24 | byte(red) << 16 | byte(green) << 8 | byte(blue);
}

void drawSprite(const Texture* texture, float x, float y, float angleDeg, float halfSize, uint32_t argb,
                bool additive) {
    setSpriteBlend(texture, additive);
    spriteQuad(x, y, angleDeg, halfSize, kWholeTexture, argb);
}

void drawSheetFrame(int frame, float x, float y, float angleDeg, float halfSize, uint32_t argb,
                    bool additive) {
    const Texture* sheet = particleSystem.sheet;
    setSpriteBlend(sheet, additive);
    // The sheet's light frames are white wherever they shine at all and are shaped by their alpha alone;
    // added by their colour they would land as hard white discs, so they are weighted by their alpha, as
    // the effect sprites are.
    if (additive) setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    spriteQuad(x, y, angleDeg, halfSize,
               sheetFrame(frame, sheet ? sheet->width : 1024, sheet ? sheet->height : 1024), argb);
}

void drawPicture(const Texture* texture, float left, float top, float right, float bottom, float u0, float v0,
                 float u1, float v1, uint32_t argb, bool additive) {
    setSpriteBlend(texture, additive);
    drawRect(left, top, right, bottom, TexRect{u0, v0, u1, v1}, argb);
}
