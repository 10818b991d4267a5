// Cutting the particle sheet into frames and drawing sprites from it.
#include "visuals/particle_sheet.h"

#include <algorithm>

#include "engine/texture.h"

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

void drawSprites(const EffectSprite* sprites, int count, const Texture* sheet) {
    if (count <= 0) return;
    int width = sheet ? sheet->width : 1024, height = sheet ? sheet->height : 1024;
    setRenderState(kPresetLighting, false);
    setRenderState(kPresetAlphaBlend, true);
    setRenderState(kPresetAlphaTest, false);
    setRenderState(kPresetFiltering, true);
    setRenderState(kPresetDepthTest, true);
    setRenderState(kPresetDepthWrite, false);
    bool culling = render.states.cullCounterClockwise != 0;
    setCulling(false); // the squares face the camera whichever way their corners run
    setTexture(sheet);
    int blend = -1;
    glm::vec3 corners[4], strip[4];
    glm::vec2 uv[4];
    for (int i = 0; i < count; ++i) {
        const EffectSprite& s = sprites[i];
        if (s.blend != blend) { // consecutive sprites of one type share the state
            blend = s.blend;
            setBlendMode(blend == 0 ? kBlendAdditive : kBlendNormal);
        }
        TexRect r = sheetFrame(s.frame, width, height);
        // Corners run bottom-right, top-right, top-left, bottom-left; the strip wants BR, TR, BL, TL.
        billboardCorners(s.position, s.rotationDeg, s.halfSize, corners);
        strip[0] = corners[0], uv[0] = glm::vec2(r.right, r.bottom);
        strip[1] = corners[1], uv[1] = glm::vec2(r.right, r.top);
        strip[2] = corners[3], uv[2] = glm::vec2(r.left, r.bottom);
        strip[3] = corners[2], uv[3] = glm::vec2(r.left, r.top);
        drawQuadStrip(strip, uv, s.color);
    }
    setCulling(culling);
}

void drawEffects() {
    drawSprites(particleSystem.drawList, particleSystem.drawCount, particleSystem.sheet);
    particleSystem.drawCount = 0;
}
