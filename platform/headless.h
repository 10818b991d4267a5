// Headless stand-ins for the platform: a fake clock that sleeping advances, a scripted event queue and
// the picture's place in the window, so that the main loop, the frame and the input mapping run in tests
// without a display.
#pragma once

#include <cstdint>

#include "platform/events.h"
#include "platform/ring.h"
#include "platform/window.h"

constexpr int kMaxHeadlessEvents = 256;

struct ScheduledEvent {
    AppEvent event;
    uint32_t atMs = 0; // the event waits until the fake clock reaches this
};

struct HeadlessPlatform {
    bool installed = false;             // clock and events come from here instead of SDL
    uint32_t nowMs = 0;                 // the fake clock's reading; sleepMs advances it
    uint32_t sleptMs = 0;               // total slept, to check what the loop did while inactive
    int sleeps = 0;                     // number of sleepMs calls
    ViewRect picture{0, 0, 800, 600};   // the picture in window coordinates (and drawable pixels)
    ViewRect desktop{0, 0, 1920, 1040}; // the desktop's usable area a window may open in
    // Scripted events, taken oldest first; full refuses.
    Ring<ScheduledEvent, kMaxHeadlessEvents> events;
};

extern HeadlessPlatform headless;

void installHeadlessPlatform();                                   // fresh stand-ins, clock at 0
void removeHeadlessPlatform();                                    // back to SDL
bool pushHeadlessEvent(const AppEvent& event, uint32_t atMs = 0); // queued in order; false when full
bool takeHeadlessEvent(AppEvent* event); // oldest queued event once its time has come; false when none
