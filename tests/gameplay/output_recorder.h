// A presentation output that writes every call as one line of text ("sound bomb1.ogg 0", "effect ball1
// -320 240"), so a test sees what the game would play and show.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "gameplay/presentation_output.h"

struct OutputRecorder : PresentationOutput {
    std::vector<std::string> lines;

    void sound(const char* file, int frequencyHz) override { add("sound %s %d", file, frequencyHz); }
    void music(int section) override { add("music %d", section); }
    void effect(const char* name, float x, float y) override { add("effect %s %g %g", name, x, y); }
    void effectPreset(int preset, float x, float y) override { add("preset %d %g %g", preset, x, y); }
    void targetMarker(float x, float y) override { add("marker %g %g", x, y); }
    void lightning(float fromX, float fromY, float toX, float toY) override {
        add("lightning %g %g %g %g", fromX, fromY, toX, toY);
    }
    void starTrail(float, float) override {} // too frequent to be worth recording
    void shake(int durationMs, float strength) override { add("shake %d %g", durationMs, strength); }
    void tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int priority) override {
        add("tip %s %g %g %d %d %d %d", key, x, y, cellX, cellY, delayMs, priority);
    }
    void textKey(const char* key, int value, float x, float y, float size, int durationMs) override {
        add("text %s %d %g %g %g %d", key, value, x, y, size, durationMs);
    }
    void textLiteral(const char* text, float x, float y, float size, int durationMs) override {
        add("literal %s %g %g %g %d", text, x, y, size, durationMs);
    }
    void bigText(const char* key, float size) override { add("big %s %g", key, size); }
    void clearBigTexts() override { add("clearbig"); }
    void clearFloatingTexts() override { add("cleartexts"); }
    void scorePopup(float x, float y, int points) override { add("popup %g %g %d", x, y, points); }
    void levelStarted(int levelIndex) override { add("levelstart %d", levelIndex); }
    void sceneryVariant(int variant) override { add("scenery %d", variant); }
    void pageOpened(MenuId page) override { add("page %s", menuName(page)); }
    void leaveToMap() override { add("leavetomap"); }

    int count(const std::string& prefix) const { // lines starting with prefix
        int n = 0;
        for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }
    bool has(const std::string& prefix) const { return count(prefix) > 0; }

  private:
    void add(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        char text[256];
        va_list args;
        va_start(args, fmt);
        vsnprintf(text, sizeof text, fmt, args);
        va_end(args);
        lines.push_back(text);
    }
};
