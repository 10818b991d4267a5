// Timed text effects: the bottom message, pop-up texts and flying letters. Each lives in fixed slots
// (rings: the newest overwrites the oldest) and is advanced and drawn once per frame by its scene.
#pragma once

#include <cstdint>

#include "engine/limits.h"
#include "platform/ring.h"

constexpr int kBottomMessageLength = 127; // characters kept of a bottom message
constexpr int kPopupTextLength = 63;      // characters kept of a pop-up text
constexpr float kBottomMessageMs = 1400.0f;
constexpr float kPopupLifeMs = 2000.0f;
constexpr int kPopupSparkleKind = 15; // quick effect raised while a pop-up text grows

struct PopupText {
    char text[kPopupTextLength + 1];
    float x, y, size;
    float width;       // measured at the given size
    float remainingMs; // 2000 down to 0; not drawn at or below 0
    float decayPerMs;  // 2000 / duration: remaining time lost per ms of frame time
};

struct LetterText {
    uint8_t character;
    float x, y;
    uint32_t color; // ARGB
    float size;
    float driftX, driftY; // units per 1/60 s
    float remainingMs;    // starts at 6000 + 40 per letter index; drawn while 0 < t <= 6000
};

struct TextEffects {
    char bottomText[kBottomMessageLength + 1] = {};
    float bottomRemainingMs = 0.0f;
    Ring<PopupText, kMaxPopupTexts> popups;    // the 17th overwrites the oldest
    Ring<LetterText, kMaxLetterTexts> letters; // the newest overwrites the oldest
    // Raises a quick particle effect (x, y, kind); set by the game scene, null draws no sparkles.
    void (*spawnQuick)(float x, float y, int kind) = nullptr;
};

extern TextEffects textEffects;

void resetTextEffects(); // every slot empty (tests)

void bottomMessage(const char* str); // shows the text at the bottom; a second one replaces the text only
void popupText(const char* str, float x, float y, float size, float durationMs);
void letterText(const char* str, float x, float y, uint32_t color, float size);
void clearTextEffects(); // ends the bottom message and every pop-up text
void clearLetterTexts(); // ends every flying letter (when a font is loaded)

// Per frame, in the scene's drawing: advance by frameTimeMs and draw.
void drawBottomMessage();
void drawPopupTexts();
void drawLetterTexts();

// The bottom message's look at remaining time t (tests and drawing).
struct BottomMessageLook {
    float y, size;
    uint8_t alpha;
};
BottomMessageLook bottomMessageLook(float t);
