// The bottom message, pop-up texts and flying letters.
#include "engine/text_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/app_state.h"
#include "engine/font.h"
#include "engine/random.h"
#include "engine/render.h"

TextEffects textEffects;

namespace {

constexpr float kPi = 3.14159265358979f;

uint8_t byteOf(float v) {
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f));
}

uint32_t withAlpha(uint32_t argb, uint8_t alpha) {
    return (argb & 0x00FFFFFF) | static_cast<uint32_t>(alpha) << 24;
}

} // namespace

void resetTextEffects() {
    auto spawn = textEffects.spawnQuick;
    textEffects = TextEffects();
    textEffects.spawnQuick = spawn;
}

void bottomMessage(const char* str) {
    std::snprintf(textEffects.bottomText, sizeof textEffects.bottomText, "%s", str);
    // A message set while another shows takes over its remaining time.
    if (textEffects.bottomRemainingMs <= 0.0f) textEffects.bottomRemainingMs = kBottomMessageMs;
}

void clearTextEffects() {
    textEffects.bottomRemainingMs = 0.0f;
    // The message at time 0 still draws one last frame; with no text that frame shows nothing.
    textEffects.bottomText[0] = 0;
    textEffects.popups.clear();
}

void clearLetterTexts() {
    textEffects.letters.clear();
}

BottomMessageLook bottomMessageLook(float t) {
    BottomMessageLook look;
    look.alpha = byteOf(std::sin(t * kPi / 1500.0f) * 127.0f + 127.0f);
    if (t > 1000.0f) {
        look.y = -270.0f - (t - 1000.0f) * 0.1f;
        look.size = (std::sin(t * kPi / 1500.0f) * 12.0f + 6.0f) * 1.3f;
    } else if (t >= 500.0f) {
        look.y = -270.0f;
        look.size = std::sin((t - 500.0f) * 2.0f * kPi / 125.0f) + 21.58f;
    } else {
        look.y = -270.0f - (500.0f - t) * 0.1f;
        look.size = 21.58f;
    }
    return look;
}

void drawBottomMessage() {
    float& t = textEffects.bottomRemainingMs;
    if (t < 0.0f) return;
    // The message lingers in the middle phase: time runs at 0.3 there.
    t -= (t >= 500.0f && t <= 1000.0f) ? 0.3f * app.frameTimeMs : app.frameTimeMs;
    BottomMessageLook look = bottomMessageLook(t);
    uint32_t saved = text.color;
    setTextColor(255, 255, 255, look.alpha);
    drawTextCentered(0.0f, look.y, look.size, textEffects.bottomText);
    text.color = saved;
}

void popupText(const char* str, float x, float y, float size, float durationMs) {
    if (durationMs <= 0.0f) return;
    PopupText& p = textEffects.popups.push(PopupText{});
    std::snprintf(p.text, sizeof p.text, "%s", str);
    p.x = x;
    p.y = y;
    p.size = size;
    p.width = measureText(p.text, size);
    p.remainingMs = kPopupLifeMs;
    p.decayPerMs = kPopupLifeMs / durationMs;
}

void drawPopupTexts() {
    for (PopupText& p : textEffects.popups) {
        float r = p.remainingMs;
        if (r <= 0.0f) continue;
        uint8_t green = byteOf(230.0f + 25.0f * pulse(3.0f));
        uint8_t blue = byteOf(100.0f + 155.0f * pulse(4.0f));
        uint8_t alpha = 255;
        float factor;
        if (r > 1400.0f) {
            factor = (2000.0f - r) / 600.0f;
            alpha = byteOf(std::min(255.0f, (2000.0f - r) * 256.0f / 600.0f));
            if (textEffects.spawnQuick) {
                textEffects.spawnQuick(p.x + randomSigned(p.width / 2), p.y, kPopupSparkleKind);
            }
        } else if (r > 600.0f) {
            factor = 1.0f + 0.1f * std::sin(3.0f * kPi * (r - 600.0f) / 800.0f);
        } else {
            factor = r / 600.0f;
            alpha = byteOf(std::min(255.0f, r * 256.0f / 600.0f));
        }
        setTextColor(255, green, blue, alpha);
        drawTextCentered(p.x, p.y, p.size * factor, p.text);
        p.remainingMs -= app.frameTimeMs * p.decayPerMs;
    }
    setTextColor(0xFFFFFFFF);
}

void letterText(const char* str, float x, float y, uint32_t color, float size) {
    const Font* f = currentFont();
    if (!f) return;
    // Laid out like centred text: the same glyph centres, line by line.
    float lineY = y;
    int letterIndex = 0;
    int i = 0;
    while (true) {
        float lineWidth = 0.0f;
        int end = i;
        while (str[end] && str[end] != '\r' && str[end] != '\n')
            lineWidth += size * f->advance[static_cast<uint8_t>(str[end++])];
        float offset = -lineWidth / 2 + size / 2;
        for (int lineStart = i; i < end; i++) {
            float advance = f->advance[static_cast<uint8_t>(str[i])];
            if (i > lineStart) offset += size * advance / 2;
            LetterText& l = textEffects.letters.push(LetterText{});
            l.character = static_cast<uint8_t>(str[i]);
            l.x = x + offset;
            l.y = lineY;
            l.color = color;
            l.size = size;
            l.driftX = (l.x - x) * 0.001f;
            l.driftY = 0.7f + randomSigned(0.1f);
            l.remainingMs = 6000.0f + 40.0f * letterIndex++;
            offset += size * advance / 2;
        }
        if (!str[i]) break;
        i += (str[i] == '\r' && str[i + 1] == '\n') ? 2 : 1;
        lineY -= kLineStep * size;
    }
}

void drawLetterTexts() {
    const Font* f = currentFont();
    if (!f) return;
    setTexture(f->texture);
    float frames = app.frameTimeMs * 0.06f; // the drift is given per 1/60 s
    for (LetterText& l : textEffects.letters) {
        if (l.remainingMs <= 0.0f) continue;
        l.remainingMs -= app.frameTimeMs;
        float t = l.remainingMs;
        if (t > 6000.0f || t <= 0.0f) continue; // waiting for its turn, or just finished
        l.x += l.driftX * frames;
        l.y += l.driftY * frames;
        float alphaFactor = 1.0f, scale, angle = 0.0f;
        if (t >= 5000.0f) {
            float k = (6000.0f - t) / 1000.0f;
            alphaFactor = k;
            scale = (2.0f - k) * (2.0f - k);
        } else if (t > 1500.0f) {
            float phi = (t - 1500.0f) / 3500.0f * 3.0f * kPi;
            float s = 1.0f + 0.08f * std::sin(phi);
            scale = s * s;
            angle = 2.0f * std::sin(2.0f * phi);
        } else {
            float k = t / 1500.0f;
            alphaFactor = k;
            scale = k * k;
        }
        uint32_t color = withAlpha(l.color, byteOf((l.color >> 24) * alphaFactor));
        float halfWidth = l.size * scale * f->scaleX;
        float halfHeight = halfWidth * f->scaleY;
        drawRotated(l.x, l.y, l.x, l.y, angle, 2 * halfWidth, 2 * halfHeight, glyphRect(*f, l.character),
                    color, kTextZ);
    }
}
