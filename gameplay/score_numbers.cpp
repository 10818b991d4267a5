// Floating score numbers: each shown for a second, pulsing in size, fading over its last 300 ms.
#include <cmath>
#include <cstdio>

#include "engine/app_state.h"
#include "engine/font.h"
#include "gameplay/hud.h"

ScoreNumbers scoreNumbers;

namespace {
constexpr float kLifeMs = 1000;
constexpr float kOpaqueMs = 700;

struct NumberScratch {
    char text[16];
};
NumberScratch scratch;
} // namespace

void resetScoreNumbers() {
    scoreNumbers = ScoreNumbers{};
}

void scoreNumber(int value, float x, float y, float vx, float vy, float size) {
    scoreNumbers.numbers.push(ScoreNumber{value, x, y, vx, vy, size, 0}); // the newest overwrites the oldest
}

void drawScoreNumbers() {
    for (ScoreNumber& n : scoreNumbers.numbers) {
        if (n.size <= 0 || n.ageMs > kLifeMs) continue;
        float alpha = n.ageMs < kOpaqueMs ? 1 : 1 - (n.ageMs - kOpaqueMs) / (kLifeMs - kOpaqueMs);
        if (alpha < 0) alpha = 0;
        float size = n.size + 4 * (0.5f + 0.5f * std::sin(2 * 3.14159265f * 0.5f * n.ageMs / 1000));
        setTextColor(255, 225, 255, static_cast<uint8_t>(255 * alpha));
        std::snprintf(scratch.text, sizeof scratch.text, "%i", n.value);
        drawTextCentered(n.x, n.y, size, scratch.text);
        n.x += n.vx * app.frameTimeMs;
        n.y += n.vy * app.frameTimeMs;
        n.ageMs += app.frameTimeMs;
    }
    setTextColor(255, 255, 255, 255);
}
