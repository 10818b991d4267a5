// What the game's presentation can do in answer to the rules' events: sounds and music, effects at screen
// points (centred units, y up), tips, floating and big texts, score pop-ups, the shake, the scenery's time
// of day, pages and the way back to the map. The live game plays them (LiveOutput); tests record them.
#pragma once

#include "ui/menu_ids.h"

struct PresentationOutput {
    virtual ~PresentationOutput() = default;

    virtual void sound(const char* file, int frequencyHz) {
        (void)file, (void)frequencyHz;
    }                                                  // 0 = the sample's own rate
    virtual void music(int section) { (void)section; } // ask the music for a section (track)
    virtual void effect(const char* name, float x, float y) { (void)name, (void)x, (void)y; } // named effect
    virtual void effectPreset(int preset, float x, float y) { (void)preset, (void)x, (void)y; } // numbered
    virtual void targetMarker(float x, float y) { (void)x, (void)y; } // the aim marker of a move's target
    virtual void lightning(float fromX, float fromY, float toX, float toY) {
        (void)fromX, (void)fromY, (void)toX, (void)toY;
    }                                                              // a diamond's bolt
    virtual void starTrail(float x, float y) { (void)x, (void)y; } // the spark a flying bar star throws
    virtual void shake(int durationMs, float strength) { (void)durationMs, (void)strength; } // board shake
    virtual void tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int priority) {
        (void)key, (void)x, (void)y, (void)cellX, (void)cellY, (void)delayMs, (void)priority;
    } // offer an in-game tip; cellX/cellY -1 when it points at no cell
    virtual void textKey(const char* key, int value, float x, float y, float size, int durationMs) {
        (void)key, (void)value, (void)x, (void)y, (void)size, (void)durationMs;
    } // floating text of a text-table key, formatted with value when it holds a placeholder
    virtual void textLiteral(const char* text, float x, float y, float size, int durationMs) {
        (void)text, (void)x, (void)y, (void)size, (void)durationMs;
    }                                                                            // floating literal text
    virtual void bigText(const char* key, float size) { (void)key, (void)size; } // big centred text of a key
    virtual void clearBigTexts() {}                                              // remove the big texts
    virtual void clearFloatingTexts() {}                                         // remove the floating texts
    virtual void scorePopup(float x, float y, int points) { (void)x, (void)y, (void)points; } // points here
    virtual void levelStarted(int levelIndex) { (void)levelIndex; } // reset effects, pop-ups, texts; scenery
    virtual void sceneryVariant(int variant) { (void)variant; }     // switch the scenery's time of day
    virtual void pageOpened(MenuId page) { (void)page; }            // open a menu page over the board
    virtual void leaveToMap() {}                                    // back to the level map
};
