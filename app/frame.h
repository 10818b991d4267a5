// One frame, and the frame clock that every timer, animation and effect reads.
#pragma once

#include <cstdint>

void runFrame();                        // draw, present, advance the clock, update, switch scenes
void advanceFrameClock(uint32_t nowMs); // frameDeltaMs, the frame-rate reading, frameTimeMs
void restartFrameClock(uint32_t nowMs); // no time before nowMs reaches the game (launch, reactivation)
