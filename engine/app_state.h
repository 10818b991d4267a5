// The application's process-wide state: frame clock, mouse, run flags. Read by every subsystem.
#pragma once

#include <cstdint>

struct AppState {
    bool appActive = true;        // the window is active; frames run only while true
    bool quitRequested = false;   // the main loop ends after the iteration in which this became true
    bool startupPending = false;  // the splash asks for the start-up sequence
    bool startupDone = false;     // the start-up sequence has run; player files are written at exit only then

    uint32_t lastFrameClock = 0;  // millisecond clock at the previous frame
    uint32_t frameDeltaMs = 0;    // clock difference of the last two frames (unsigned: the wrap is harmless)
    float timeScale = 1.0f;       // game time per real time; nothing changes it
    float frameTimeMs = 0.0f;     // the step every timer, animation and effect adds once per frame
    float runTimeMs = 0.0f;       // sum of frameTimeMs since launch; drives periodic pulses

    uint32_t fpsAccumMs = 0;      // milliseconds gathered towards the next frame-rate reading
    int fpsFrames = 0;            // frames gathered towards the next reading
    char fpsText[32] = {};        // last reading, "%.1f FPS"
    uint32_t framesRun = 0;       // frames since launch (the benchmarks' frame rate)

    int mouseX = 0;               // last mouse position in window pixels (mouseInScreenUnits maps it)
    int mouseY = 0;
};

extern AppState app;

void resetAppState();  // back to launch values (tests)
