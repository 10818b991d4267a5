// The shader programs of the OpenGL backend. The drawing program comes in variants, one per combination
// of what a draw needs (a texture, the alpha test, blending done in the shader, the light, coverage only),
// each compiled with only its own steps: a software rasteriser runs every step a program holds for every
// pixel, so a program that asks uniforms whether to do a step costs about twice one without them.
#pragma once

#include <cstdint>

// What a drawing variant does, as bits of its index.
constexpr int kVariantTextured = 1;    // vertex colour times the texture (else the colour alone)
constexpr int kVariantAlphaTest = 2;   // fragments whose alpha is below the reference are dropped
constexpr int kVariantShaderBlend = 4; // blend factors computed per vertex's code (dual-source blending)
constexpr int kVariantLit = 8;         // one directional light on the vertex colour
constexpr int kVariantCoverage = 16;   // every channel is the fragment's alpha (coverage captures)
constexpr int kVariantCount = 32;

// One linked drawing variant and the uniforms it has (-1: not in this variant).
struct DrawProgram {
    uint32_t program = 0;
    int world = -1, view = -1, projection = -1;
    int lightDirection = -1, lightDiffuse = -1, lightAmbient = -1;
    int alphaRef = -1;
    // What was last given to it, to skip unchanged uploads.
    uint32_t transformSerial = 0;
    bool transformsValid = false;
    int appliedAlphaRef = -1;
};

// Links the drawing variant of the given bits; false (program 0) when it does not compile.
bool linkDrawProgram(int variant, DrawProgram& out);
// The helper programs: a triangle over the viewport in one colour (uniform "factor"), the captured
// picture copied pixel for pixel (uniforms "picture", "origin"), the low-detail picture stretched over
// the viewport (uniform "picture", drawn as a strip of four corners). 0 when one does not compile.
uint32_t linkFactorProgram();
uint32_t linkCopyProgram();
uint32_t linkStretchProgram();
