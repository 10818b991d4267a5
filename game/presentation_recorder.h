// A presentation that writes every event as one line of text, for tests and the simulator's traces.
// Questions are answered from plain fields the test sets.
#pragma once

#include <string>
#include <vector>

#include "game/presentation_events.h"

struct PresentationRecorder : PresentationEvents {
    std::vector<std::string> lines; // one line per event, e.g. "sound selectball.ogg 0"
    bool tipShownAnswer = false;    // answer of tipOnScreen()
    bool gameSceneAnswer = true;    // answer of gameSceneCurrent()
    bool cheatAnswer = false;       // answer of cheatKeysOn()

    void sound(const char* file, int frequencyHz) override;
    void music(int section) override;
    void effect(const char* name, float x, float y) override;
    void effectPreset(int preset, float x, float y) override;
    void targetMarker(float x, float y) override;
    void lightning(float fromX, float fromY, float toX, float toY) override;
    void starTrail(float, float) override {} // too frequent to be worth recording
    void shake(int durationMs, float strength) override;
    void tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int priority) override;
    void textKey(const char* key, int value, float x, float y, float size, int durationMs) override;
    void textLiteral(const char* text, float x, float y, float size, int durationMs) override;
    void bigText(const char* key, float size) override;
    void clearBigTexts() override;
    void clearFloatingTexts() override;
    void scorePopup(float x, float y, int points) override;
    void levelStarted(int levelIndex) override;
    void sceneryVariant(int variant) override;
    void pageOpened(const char* page) override;
    void leaveToMap() override;
    bool tipOnScreen() override { return tipShownAnswer; }
    bool gameSceneCurrent() override { return gameSceneAnswer; }
    bool cheatKeysOn() override { return cheatAnswer; }

    int count(const std::string& prefix) const; // lines starting with prefix
    bool has(const std::string& prefix) const { return count(prefix) > 0; }
    void clear() { lines.clear(); }
};
