// The live game's presentation output: sounds and music through the audio layer, effects through the
// particle systems, tips, texts, the shake, beams, pages and the level's start.
#pragma once

#include "gameplay/presentation_output.h"

struct LiveOutput : PresentationOutput {
    void sound(const char* file, int frequencyHz) override;
    void music(int section) override;
    void effect(const char* name, float x, float y) override;
    void effectPreset(int preset, float x, float y) override;
    void targetMarker(float x, float y) override;
    void lightning(float fromX, float fromY, float toX, float toY) override;
    void starTrail(float x, float y) override;
    void shake(int durationMs, float strength) override;
    // The last argument carries the piece kind the tip is about (0: none).
    void tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int pieceKind) override;
    void textKey(const char* key, int value, float x, float y, float size, int durationMs) override;
    void textLiteral(const char* text, float x, float y, float size, int durationMs) override;
    void bigText(const char* key, float size) override;
    void clearBigTexts() override;
    void clearFloatingTexts() override;
    void scorePopup(float x, float y, int points) override;
    void levelStarted(int levelIndex) override;
    void sceneryVariant(int variant) override;
    void pageOpened(MenuId page) override;
    void leaveToMap() override;
};

extern LiveOutput liveOutput;

void resetLevelPresentation(int levelIndex); // the scene's part of a level start
