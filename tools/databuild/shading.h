// Shared painting helpers of the builder's glossy style: lit spheres, soft glows, bevelled shapes.
#pragma once

#include "image.h"

#include <functional>

struct SphereLook {
    Rgba base;             // body colour
    float gloss = 1.0f;    // strength of the sharp highlight
    float bounce = 0.45f;  // light coming back through the glass at the lower right
    float rim = 0.5f;      // darkening toward the edge
    float outline = 0.55f; // darkness of the thin outline (0 none)
};

// Paints a glossy ball of radius r centred at (cx, cy) with 4 x 4 samples per pixel. colourAt, when
// given, replaces the body colour by one that depends on the surface normal (x, y, z).
void paintSphere(Image& img, float cx, float cy, float r, const SphereLook& look,
                 const std::function<Rgba(float, float, float)>& colourAt = nullptr);

// A radial glow: colour at the centre fading to nothing at radius r (power shapes the falloff).
void paintGlow(Image& img, float cx, float cy, float rx, float ry, const Rgba& c, float power);

// Soft shadow of a shape: blurs the alpha of src and paints it in colour c, offset by (dx, dy).
Image blurred(const Image& src, int radius);
Image tinted(const Image& src, const Rgba& c); // same alpha, every pixel colour c
Image dropShadow(const Image& src, int radius, const Rgba& c, int dx, int dy); // shadow under src

// Light level of an additive picture: its alpha follows its brightness so that it works either way.
void alphaFromBrightness(Image& img);
