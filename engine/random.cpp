#include "engine/random.h"

RandomGenerator rulesRandom;
RandomGenerator presentationRandom;
NoiseState noise;

// A fixed permutation of the byte values; it only shapes the jitter pattern.
const uint8_t kNoisePermutation[256] = {
    133, 171, 66,  160, 222, 251, 136, 120, 70,  214, 55,  105, 18,  216, 240, 1,   23,  95,  182, 106,
    249, 126, 128, 104, 218, 192, 195, 40,  50,  98,  33,  147, 29,  108, 34,  234, 88,  196, 99,  130,
    28,  190, 117, 153, 68,  110, 9,   118, 86,  208, 48,  197, 226, 116, 231, 59,  140, 220, 183, 178,
    129, 245, 241, 123, 5,   212, 12,  112, 177, 139, 154, 169, 202, 223, 142, 17,  107, 253, 77,  10,
    78,  230, 30,  91,  243, 252, 109, 242, 90,  63,  228, 60,  175, 213, 69,  134, 87,  143, 15,  80,
    227, 161, 42,  4,   113, 191, 89,  75,  57,  49,  138, 157, 181, 93,  132, 233, 114, 47,  115, 94,
    35,  150, 207, 135, 189, 72,  173, 85,  239, 54,  193, 145, 185, 200, 236, 45,  8,   198, 83,  44,
    119, 11,  122, 188, 219, 194, 211, 73,  101, 19,  246, 39,  176, 247, 144, 62,  141, 149, 65,  148,
    14,  22,  38,  217, 97,  254, 125, 82,  0,   46,  203, 215, 174, 127, 187, 186, 244, 41,  16,  199,
    100, 210, 172, 221, 3,   180, 131, 229, 31,  92,  56,  7,   25,  43,  146, 27,  158, 24,  232, 168,
    13,  167, 64,  166, 74,  159, 71,  184, 204, 163, 209, 225, 102, 67,  124, 248, 121, 205, 156, 237,
    152, 96,  61,  52,  53,  32,  111, 103, 51,  170, 2,   58,  162, 224, 235, 137, 250, 164, 81,  206,
    151, 155, 20,  6,   21,  76,  255, 84,  165, 36,  37,  179, 238, 26,  201, 79,
};

int RandomGenerator::next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

int randomInt(RandomGenerator& g, int n) {
    // Drawing first keeps the count of draws the same whatever n is; a range of size 0 has only 0 to give.
    int v = g.next();
    return n != 0 ? v % n : 0;
}

float randomSigned(RandomGenerator& g, float x) {
    return static_cast<float>(2 * g.next() - kRandomMax) / static_cast<float>(kRandomMax) * x;
}

float randomUnit(RandomGenerator& g, float x) {
    return static_cast<float>(g.next()) / static_cast<float>(kRandomMax) * x;
}

void seedNoise(int s) {
    noise.a = s / 256;
    noise.b = s % 256;
}

float noiseSigned(float x) {
    // A negative seed leaves negative positions; the mask keeps every table read inside its 256 bytes
    // and equals the remainder for the positions a non-negative seed gives.
    noise.a = (noise.a + 1) & 255;
    noise.b = (noise.b + 3) & 255;
    int v = kNoisePermutation[noise.a] * 256 + kNoisePermutation[noise.b];
    return static_cast<float>(v) / 32768.0f * x - x;
}
