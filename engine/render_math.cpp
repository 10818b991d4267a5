// The table square root of the effects and the periodic pulse.
#include <cmath>
#include <cstring>

#include "engine/app_state.h"
#include "engine/render.h"

namespace {

constexpr int kSqrtTableSize = 32768; // indexed by the top 15 bits of the mantissa

struct SqrtTables {
    uint32_t evenExponent[kSqrtTableSize]; // mantissa bits of sqrt(1.m)
    uint32_t oddExponent[kSqrtTableSize];  // mantissa bits of sqrt(2 * 1.m)
    bool built = false;
};

SqrtTables sqrtTables;

uint32_t mantissaOf(double value) {
    float f = static_cast<float>(value);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits & 0x7FFFFF;
}

} // namespace

void buildSqrtTables() {
    for (int i = 0; i < kSqrtTableSize; i++) {
        // The middle of each bucket of mantissas halves the worst error.
        double m = 1.0 + (i + 0.5) / kSqrtTableSize;
        sqrtTables.evenExponent[i] = mantissaOf(std::sqrt(m));
        sqrtTables.oddExponent[i] = mantissaOf(std::sqrt(2.0 * m));
    }
    sqrtTables.built = true;
}

float fastSqrt(float x) {
    if (!sqrtTables.built) buildSqrtTables();
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    int biased = static_cast<int>((bits >> 23) & 0xFF);
    if (biased == 0 || (bits & 0x80000000u)) return 0.0f; // zero, denormals and negatives
    if (biased == 255) return x;                          // infinity and NaN pass through
    int exponent = biased - 127;
    uint32_t index = (bits >> 8) & 0x7FFF;
    // The halved exponent rounds down (an arithmetic shift), so numbers below 1 keep their scale.
    int half = exponent >> 1;
    uint32_t mantissa = (exponent & 1) ? sqrtTables.oddExponent[index] : sqrtTables.evenExponent[index];
    uint32_t out = (static_cast<uint32_t>(half + 127) << 23) | mantissa;
    float result;
    std::memcpy(&result, &out, sizeof result);
    return result;
}

float pulse(float frequency, float timeMs) {
    if (timeMs < -1000000.0f) timeMs = app.runTimeMs;
    return 0.5f + 0.5f * std::sin(2.0f * 3.14159265358979f * frequency * timeMs / 1000.0f);
}
