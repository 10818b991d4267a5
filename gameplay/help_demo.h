// The help demonstration: a small board from a help level on which a drawn cursor makes a move by
// itself, again and again, with "click" at each click. The help page and the tip balloons show it.
#pragma once

#include "game/board.h"

struct Rules;

constexpr int kDemoStops = 6;
constexpr float kDemoStopMs[kDemoStops] = {1500, 3000, 4500, 6000, 7500, 9500};

struct HelpDemo {
    bool demoRunning;
    int demoVariant; // 0: a plain ball; 1..4: the piece of kind 9 + variant
    int demoCycle;   // 0..3: which help level of the variant is shown
    int demoColour;  // 0..6: the plain ball's colour, one further each cycle
    int demoStep;    // 0..5
    float demoTime;  // ms in the cycle
    Point stops[kDemoStops];
    Point cursor;                    // board units, before the demonstration's scale and origin
    float cursorScale;               // pressed: a little smaller
    float clickU;                    // progress of the step's "click" text, -1: none
    int helpLevel;                   // number of the help file shown
    int clicksInCycle;               // clicks made since the cycle began
    void (*click)(float x, float y); // the demonstration board's left click (tests record here)
    bool startedByTip;               // a tip balloon started it (and stops it when it closes)
};

extern HelpDemo helpDemo;
extern Rules helpDemoRules; // the demonstration's own board and rules

constexpr float kDemoScale = 0.5f; // the demonstration board against the game board

void resetHelpDemo();                     // stopped, colour 0, the board's own click
int helpLevelFor(int variant, int cycle); // "help%i.lvl": cycle + 5 for plain balls, cycle + 1 otherwise
void startDemo(int variant);              // the first cycle of a variant
// The demonstration's frame round its board, for a demonstration drawn at (x, y): room beside and below
// the board for the drawn pointer.
constexpr float kDemoFrameSide = 22, kDemoFrameTop = 12, kDemoFrameBelow = 36;
struct DemoFrame {
    float left, top, right, bottom;
};
DemoFrame demoFrame(float x, float y);
Point demoPoint(float x, float y, const Point& boardPoint); // a board point where the demonstration shows it
void advanceDemo(float ms);        // cursor, steps, clicks and cycles by ms of (already halved) time
void stepDemoBoard(float frameMs); // one frame of the demonstration's board and rules, frameMs long
void drawDemo(float x, float y);   // one frame of the demonstration with its origin at (x + 20, y - 20)
void stopDemo();                   // ends it and clears the board
// A tip balloon's picture (0 ball, 1..4 the special pieces) drawn in its frame, centred on a point of
// the balloon; reuses the help page's running demonstration.
void drawTipDemo(int picture, float centreX, float centreY);
void tipDemoClosed(); // the tip is gone: a demonstration it started stops
