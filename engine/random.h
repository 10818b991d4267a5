// Random helpers on a 15-bit linear congruential generator, and repeatable noise.
//
// The game keeps two generators: one for the rules (colours, cells, jokers, default records) and one for
// presentation (effects, lightning, break-up tiles, shake), so that an animation can never change which
// ball comes next and a replay from the same seed and inputs is exact.
#pragma once

#include <cstdint>

struct RandomGenerator {
    uint32_t state = 1; // unsigned 32-bit state; the result is bits 16..30 of the new state

    void seed(uint32_t s) { state = s; }
    int next(); // 0..32767
};

extern RandomGenerator rulesRandom;        // default records (each board's rules carry their own generator)
extern RandomGenerator presentationRandom; // effects, lightning, break-up tiles, shake

constexpr int kRandomMax = 32767;

int randomInt(RandomGenerator& g, int n);        // next() mod n; 0 when n is 0
float randomSigned(RandomGenerator& g, float x); // (2 next() - 32767) / 32767 * x, in [-x, x]
float randomUnit(RandomGenerator& g, float x);   // next() / 32767 * x, in [0, x]

// Convenience forms drawing from the presentation generator (effects and visuals).
inline int randomInt(int n) {
    return randomInt(presentationRandom, n);
}
inline float randomSigned(float x) {
    return randomSigned(presentationRandom, x);
}
inline float randomUnit(float x) {
    return randomUnit(presentationRandom, x);
}

// Repeatable noise: a fixed permutation of 0..255 walked by two positions.
struct NoiseState {
    int a = 0;
    int b = 0;
};

extern NoiseState noise;
extern const uint8_t kNoisePermutation[256];

void seedNoise(int s);      // a = s / 256, b = s mod 256
float noiseSigned(float x); // advances a by 1 and b by 3, returns a value in [-x, x)
