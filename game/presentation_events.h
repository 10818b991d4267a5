// The one narrow interface through which the rules reach sounds, effects, tips, texts, the shake, the
// music, the scenery and the menu pages. The game scene implements it; tests substitute a recorder; the
// default does nothing, so the rules run headless (the simulator) without any presentation.
#pragma once

struct PresentationEvents {
    virtual ~PresentationEvents() = default;

    // Sounds and music.
    virtual void sound(const char* file, int frequencyHz) {
        (void)file, (void)frequencyHz;
    }                                                  // 0 = the sample's own rate
    virtual void music(int section) { (void)section; } // ask the music for a section (track)

    // Effects at screen points (centred units, y up).
    virtual void effect(const char* name, float x, float y) {
        (void)name, (void)x, (void)y;
    } // a named effect
    virtual void effectPreset(int preset, float x, float y) {
        (void)preset, (void)x, (void)y;
    }                                                                 // a numbered preset
    virtual void targetMarker(float x, float y) { (void)x, (void)y; } // the aim marker of a move's target
    virtual void lightning(float fromX, float fromY, float toX, float toY) { // a diamond's bolt to a ball
        (void)fromX, (void)fromY, (void)toX, (void)toY;
    }
    virtual void starTrail(float x, float y) { (void)x, (void)y; } // the spark a flying bar star throws
    virtual void shake(int durationMs, float strength) { (void)durationMs, (void)strength; } // board shake

    // Tips and texts.
    virtual void tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int priority) {
        (void)key, (void)x, (void)y, (void)cellX, (void)cellY, (void)delayMs, (void)priority;
    } // offer an in-game tip; cellX/cellY -1 when it points at no cell
    virtual void textKey(const char* key, int value, float x, float y, float size, int durationMs) {
        (void)key, (void)value, (void)x, (void)y, (void)size, (void)durationMs;
    } // floating text of a text-table key, formatted with value when it holds a placeholder
    virtual void textLiteral(const char* text, float x, float y, float size, int durationMs) {
        (void)text, (void)x, (void)y, (void)size, (void)durationMs;
    } // floating literal text ("+5000")
    virtual void bigText(const char* key, float size) { (void)key, (void)size; } // big centred text of a key
    virtual void clearBigTexts() {}      // remove the big centred texts
    virtual void clearFloatingTexts() {} // remove the floating texts
    virtual void scorePopup(float x, float y, int points) {
        (void)x, (void)y, (void)points;
    } // points at a point

    // Level flow.
    virtual void levelStarted(int levelIndex) {
        (void)levelIndex;
    }                                                           // reset effects, pop-ups, texts; set scenery
    virtual void sceneryVariant(int variant) { (void)variant; } // switch the scenery's time of day
    virtual void pageOpened(const char* page) { (void)page; }   // the rules opened a menu page over the board
    virtual void leaveToMap() {}                                // a finished stage returns to the level map

    // Questions the rules ask of the surroundings.
    virtual bool tipOnScreen() { return false; }     // an in-game tip is shown (the bar and idle timer wait)
    virtual bool gameSceneCurrent() { return true; } // points and saves count only in the game scene
    virtual bool cheatKeysOn() { return false; }     // the typed-word cheat-key mode is on
};

PresentationEvents& silentPresentation(); // answers nothing: a board without a presentation
