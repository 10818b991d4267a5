// The millisecond clock and sleeping. SDL_GetTicks and SDL_Delay, or the headless stand-in's fake clock.
#pragma once

#include <cstdint>

uint32_t clockMs();        // 32-bit milliseconds; compare readings by unsigned subtraction (it wraps)
void sleepMs(uint32_t ms); // gives the processor away for about ms milliseconds
