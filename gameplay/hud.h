// The heads-up display: the right panel (score, level, lives, buttons, hammer bar), the progress bar
// with its marker and the flying bar stars, the help button, the pause and end-of-game texts, and the
// floating score numbers.
#pragma once

#include "gameplay/game_view.h"
#include "platform/ring.h"

constexpr float kBarLeft = -410; // the progress bar: 64 x 512, lower left corner here
constexpr float kBarBottom = -225;
constexpr float kBarWidth = 64;
constexpr float kBarHeight = 512;

struct Hud {
    int shownScore = 0;      // the score as displayed, counting towards the profile's total
    float timeUpMs = 0;      // towards the next "timeup.ogg" of the puzzle clock
    float markerSparkMs = 0; // towards the next spark at the moving marker
};

extern Hud hud;

void resetHud();        // the shown score jumps to the profile's total (level start)
void drawHud();         // the right panel and the help button, with the slide of the phases
void drawProgressBar(); // the bar, its marker, the puzzle flash and the bar stars
void drawPauseTexts();  // relax, "keytoresume", "congratulations"

// The slide of the panel and the bar: hidden, or shifted (panel to the right, bar to the left).
struct HudSlide {
    bool hidden;
    float shift;
};
HudSlide hudSlide();
bool hudPhaseRunning(); // pause, defeat or level-complete sequence: the selection is cleared

// The score display's step towards its target: 1 % of the gap per ms, at least 1, never past it.
int countScoreToward(int shown, int target, int frameDeltaMs);

// What the lives box shows for a number of lives.
struct LivesDisplay {
    int hearts;      // hearts drawn
    float heartX[3]; // their centres (y is 55)
    bool lastLife;   // the text "lastlife" instead
    bool countText;  // " X %i" beside one heart
};
LivesDisplay livesDisplay(int lives);

float progressMarkerY(float shownFraction); // 23 .. 489 above the bar's bottom, whatever the fraction

// Floating score numbers: a ring of 64.
constexpr int kMaxScoreNumbers = 64;
struct ScoreNumber {
    int value;
    float x, y, vx, vy, size;
    float ageMs; // shown from 0 to 1000
};
struct ScoreNumbers {
    Ring<ScoreNumber, kMaxScoreNumbers> numbers; // the newest overwrites the oldest
};
extern ScoreNumbers scoreNumbers;
void resetScoreNumbers();
void scoreNumber(int value, float x, float y, float vx, float vy, float size);
void drawScoreNumbers();
