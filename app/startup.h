// The start-up sequence, run once by the main loop after the frame in which the splash asked for it.
#pragma once

#include <cstdint>

constexpr float kCameraDistance = 50; // the camera stands this far before the screen's plane

// One step of the loading: archives, texts and fonts, player files and menus, sounds and music, pictures,
// levels, the map, effects.
struct StartupPhase {
    const char* name;
    void (*run)();
};
constexpr int kStartupPhaseCount = 8;
extern const StartupPhase kStartupPhases[kStartupPhaseCount];

void loadEverything(); // archives, texts, fonts, player files, menus, game resources, levels, map, effects
void setCamera();      // the camera's view, which the overlay restores after every frame's drawing

struct StartupSteps {
    void (*load)() = loadEverything; // tests of the main loop replace the loading
};
extern StartupSteps startupSteps;

bool runStartup(); // seeds the generators and loads everything the game needs; true when done

// Loading frames keep the bar moving without holding the loading up: at most one per display frame of
// wall-clock time, their presents never wait for the display, and where a frame is dear (software
// OpenGL on a large window) the drawing takes at most one part in kLoadingFrameShare of the loading:
// the next frame waits that many times as long as the last one took.
constexpr uint32_t kLoadingFrameMs = 16;
constexpr uint32_t kLoadingFrameShare = 4;
struct LoadingPace {
    bool drawnOnce = false;   // a loading frame has been drawn in this start-up
    uint32_t lastFrameMs = 0; // clock when the last one began
    uint32_t lastCostMs = 0;  // how long the last one took to draw and present
    int framesDrawn = 0;      // loading frames of this start-up (benchmarks, tests)
};
extern LoadingPace loadingPace;
bool loadingFrameDue();   // true (and counted) when a loading frame may be drawn now
void loadingFrameDrawn(); // after that frame is presented: its cost sets the next one's wait
