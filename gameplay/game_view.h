// The game scene's own state beside the rules' game state: clocks, the shake, the greyed board, the
// cursor-mode burst, the mouse in scene units, and the fixed hit rectangles of the panel and the board.
#pragma once

#include <cstdint>

// A rectangle in scene units: left, top, right, bottom (y upward).
struct HitRect {
    float left, top, right, bottom;
};

// A point is inside when left <= x <= right and bottom <= y <= top: borders count.
inline bool insideRect(const HitRect& r, float x, float y) {
    return x >= r.left && x <= r.right && y >= r.bottom && y <= r.top;
}

constexpr HitRect kMenuButton = {300, -15, 390, -45};
constexpr HitRect kRelaxButton = {310, -83, 385, -113};
constexpr HitRect kNightButton = {305, -120, 335, -150};
constexpr HitRect kMorningButton = {330, -120, 360, -150};
constexpr HitRect kDayButton = {355, -120, 385, -150};
constexpr HitRect kScoreBox = {300, 260, 390, 230};
constexpr HitRect kLevelBox = {300, 170, 390, 140};
constexpr HitRect kLivesBox = {300, 70, 390, 40};
constexpr HitRect kHammerBar = {320, -162, 384, -290};
constexpr HitRect kRightPanel = {272, 300, 400, -212};
constexpr HitRect kBoardArea = {-360, 300, 300, -300};
constexpr HitRect kProgressBarRect = {-410, 287, -346, -225}; // 64 wide, 512 high

struct GameView {
    float animClock = 0; // ms, advanced every game frame
    float mouseX = 0;    // the mouse in scene units (origin at the centre, y up)
    float mouseY = 0;
    int shakeMs = 0; // board and background shake left
    float shakeStrength = 1;
    float joltX = 0; // direction of the board's current jolt, each in -1..1
    float joltY = 0;
    bool boardGreyed = false; // the defeat sequence has ended: the board is tinted green-grey
    int lastHammerMode = 0;   // cursor mode of the previous frame (the burst on a change)
    int ambientMs = 0;        // clock of the ambient sounds
    HitRect helpButton = {-398, -250, -358, -290}; // moves with the HUD slide and its pulse
    float boardTintAlpha = 1;                      // menu fade of the board (1 = fully shown)
};

extern GameView gameView;

void resetGameView();        // launch values (level start, tests)
void refreshMousePosition(); // mouseX/mouseY from the window's last mouse position
void startShake(int durationMs, float strength);
