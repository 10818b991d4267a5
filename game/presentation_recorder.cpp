#include "game/presentation_recorder.h"

#include <cstdarg>
#include <cstdio>

namespace {
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(text, sizeof(text), fmt, args);
    va_end(args);
    return text;
}
} // namespace

void PresentationRecorder::sound(const char* file, int frequencyHz) {
    lines.push_back(format("sound %s %d", file, frequencyHz));
}
void PresentationRecorder::music(int section) {
    lines.push_back(format("music %d", section));
}
void PresentationRecorder::effect(const char* name, float x, float y) {
    lines.push_back(format("effect %s %g %g", name, x, y));
}
void PresentationRecorder::effectPreset(int preset, float x, float y) {
    lines.push_back(format("preset %d %g %g", preset, x, y));
}
void PresentationRecorder::targetMarker(float x, float y) {
    lines.push_back(format("marker %g %g", x, y));
}
void PresentationRecorder::lightning(float fromX, float fromY, float toX, float toY) {
    lines.push_back(format("lightning %g %g %g %g", fromX, fromY, toX, toY));
}
void PresentationRecorder::shake(int durationMs, float strength) {
    lines.push_back(format("shake %d %g", durationMs, strength));
}
void PresentationRecorder::tip(const char* key, float x, float y, int cellX, int cellY, int delayMs,
                               int priority) {
    lines.push_back(format("tip %s %g %g %d %d %d %d", key, x, y, cellX, cellY, delayMs, priority));
}
void PresentationRecorder::textKey(const char* key, int value, float x, float y, float size, int durationMs) {
    lines.push_back(format("text %s %d %g %g %g %d", key, value, x, y, size, durationMs));
}
void PresentationRecorder::textLiteral(const char* text, float x, float y, float size, int durationMs) {
    lines.push_back(format("literal %s %g %g %g %d", text, x, y, size, durationMs));
}
void PresentationRecorder::bigText(const char* key, float size) {
    lines.push_back(format("big %s %g", key, size));
}
void PresentationRecorder::clearBigTexts() {
    lines.push_back("clearbig");
}
void PresentationRecorder::clearFloatingTexts() {
    lines.push_back("cleartexts");
}
void PresentationRecorder::scorePopup(float x, float y, int points) {
    lines.push_back(format("popup %g %g %d", x, y, points));
}
void PresentationRecorder::levelStarted(int levelIndex) {
    lines.push_back(format("levelstart %d", levelIndex));
}
void PresentationRecorder::sceneryVariant(int variant) {
    lines.push_back(format("scenery %d", variant));
}
void PresentationRecorder::pageOpened(const char* page) {
    lines.push_back(format("page %s", page));
}
void PresentationRecorder::leaveToMap() {
    lines.push_back("leavetomap");
}

int PresentationRecorder::count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}
