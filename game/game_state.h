// The per-level rule state: counters, timers and parameters of the level being played.
#pragma once

#include <cstdint>

#include "engine/limits.h"

// Modes of play.
constexpr int kModeClassic = 0;
constexpr int kModePuzzle = 1;
constexpr int kModeAction = 2;

// Values of `cursorMode`.
constexpr int kCursorNormal = 0;
constexpr int kCursorHammer = 1;
constexpr int kCursorHelp = 2;

struct PathPoint {
    float x;
    float y;
};

struct GameState {
    // Level parameters.
    int32_t mode = 0;            // 0 classic, 1 puzzle, 2 action
    int32_t levelIndex = 0;      // 0..3 tutorial, 4..69 pack levels
    int32_t lineLength = 3;      // balls needed in a row
    int32_t colourCount = 5;     // colours dealt
    int32_t ballsPerTurn = 0;    // previews drawn after a move that removes nothing
    int32_t jokerFrequency = 20; // one new ball in this many is a joker; >= 1 000 000 never
    bool hammerEnabled = true;   // the hammer can be charged in this level
    int32_t levelDownTimeMs = 0; // action mode: the bar grows back by one every this many ms
    int32_t timeLimitSec = 0;    // puzzle mode: time allowed
    int32_t bonusFigure[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1}; // 3 x 3, entry (i, j) at i * 3 + j

    // Level bar.
    float barValue = 0;         // balls still to destroy, or ms used in puzzle mode
    float barGoal = 0;          // full length of the bar
    float barFraction = 0;      // (barGoal - barValue) / barGoal
    float barShownFraction = 0; // eased display of barFraction
    float downTimeAccumMs = 0;  // action mode: time gathered towards the next growth of the bar

    // Counters.
    int32_t score = 0;       // the level's score
    int32_t movesMade = 0;   // completed moves
    int32_t streak = 0;      // +1 per move, minus the combo at every combo of 2 or more
    int32_t combo = 0;       // consecutive moves that removed something
    int32_t maxCombo = 0;    // highest combo of the level
    int32_t levelTimeMs = 0; // play time of the level
    float hammerCharge = 0;  // 0..1; 1 = ready
    int32_t cursorMode = 0;  // 0 normal, 1 hammer armed, 2 help query
    int32_t freeCells = 0;   // existing cells without a ball

    // Selection and the move in progress.
    int32_t selectedX = -1; // selected ball, -1 = none
    int32_t selectedY = -1;
    int32_t landingX = -1; // target of the last completed move, -1 = none
    int32_t landingY = -1;
    int32_t hoverX = -1; // cell under the mouse, -1 = none
    int32_t hoverY = -1;
    PathPoint pathPoints[kMaxPathPoints] =
        {};                     // route of the move, entry 0 = target, from the start cell's centre
    int32_t pathLength = 0;     // steps of that route
    int32_t moveDurationMs = 0; // duration of the move in progress
    float ballSpeed = 70;       // move-duration factor from the player's settings
    bool ballMoving = false;    // a ball moves in this frame; moves are refused while set

    // Flow.
    bool running = true;           // false while paused
    float completeCountdownMs = 0; // 0 playing, > 0 level-complete sequence, -1 ended
    float defeatCountdownMs = 0;   // the same for the defeat sequence
    bool noMoves = false;          // the last defeat came from a full board
    bool defeatDone = false;       // a defeat sequence has ended in this level; no save is made
    bool menuOpen = false;         // a menu page is open over the board; the rules stand still
    bool stageComplete = false;    // the won level closed a stage of the map
    bool gamePassed = false;       // the won level closed the last stage of the mode
    float pauseMs = 0;             // grows while paused; the board stands still past 500
    float menuFadeMs = 0;          // 0..300, grows while a menu is open; the board stands still at 300
    float hopClockMs = 0; // phase of the selected ball's hop; each landing of the hop dips its square

    // Counts of the current removal pass, zero between passes.
    int32_t passDiamonds = 0;
    int32_t passJokers = 0;
    int32_t passBombs = 0;
    int32_t passQuadroBombs = 0;
    int32_t passBallsRemoved = 0;
    int32_t passSquaresCleared = 0;

    // Idle hint.
    int32_t idleMs = 0;     // time without a selection while idle
    bool hintShown = false; // a hint is displayed
    float hintAgeMs = 0;    // age of the displayed hint
    int32_t hintFromX = -1; // the suggested ball
    int32_t hintFromY = -1;
    int32_t hintToX = -1; // the suggested target
    int32_t hintToY = -1;

    // Values of the presentation that the saved game carries.
    int32_t hudLives = 0;       // lives count last shown by the HUD
    float hudClockMs = 0;       // HUD animation clock
    float sceneryClockMs = 0;   // scenery animation clock
    float reservedClock = 2000; // set to 2000 at level start
    bool rightHeld = false;     // the right button was pressed while running and not released
};
