// Camera-facing squares of the game scene: a picture or a frame of the particle sheet at a centre,
// turned by an angle (degrees, clockwise), with a half-size and an ARGB colour, normal or additive.
// Both follow the render layer's tint (menu fade, pause fade, the greyed board).
#pragma once

#include <cstdint>

struct Texture;

void drawSprite(const Texture* texture, float x, float y, float angleDeg, float halfSize, uint32_t argb,
                bool additive);
void drawSheetFrame(int frame, float x, float y, float angleDeg, float halfSize, uint32_t argb,
                    bool additive);
// A picture stretched over a screen rectangle (left, top, right, bottom), with its own texture rectangle.
void drawPicture(const Texture* texture, float left, float top, float right, float bottom, float u0, float v0,
                 float u1, float v1, uint32_t argb, bool additive);

// ARGB from bytes, each clamped to 0..255.
uint32_t argbColor(float red, float green, float blue, float alpha);
