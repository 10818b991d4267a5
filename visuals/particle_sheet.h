// Frames of the particle sheet "particles.tga" and the drawing of effect sprites from it.
#pragma once

#include "engine/render.h"
#include "visuals/particle_effects.h"

constexpr int kSheetCell = 64; // texels per side of one frame

// Frame n: column n mod (W / 64), row n / (W / 64) from the top, shrunk by 0.001 against bleeding.
TexRect sheetFrame(int frame, int sheetWidth, int sheetHeight);
// Camera-facing squares, consecutive sprites of one blend type sharing the blend state.
void drawSprites(const EffectSprite* sprites, int count, const Texture* sheet);
// One sheet frame stretched to width x height at (x, y), facing the camera (the splash's glows).
void drawSheetSprite(float x, float y, float width, float height, int frame, uint32_t argb, int blend);
uint32_t spriteColor(const float rgba[4]); // 0..1 floats to ARGB
