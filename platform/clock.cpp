#include "platform/clock.h"

#include <SDL2/SDL_timer.h>

#include "platform/headless.h"

uint32_t clockMs() {
    return headless.installed ? headless.nowMs : SDL_GetTicks();
}

void sleepMs(uint32_t ms) {
    if (headless.installed) {
        // The fake clock moves by exactly the time slept, so tests see what a real sleep would cost.
        headless.nowMs += ms;
        headless.sleptMs += ms;
        headless.sleeps += 1;
        return;
    }
    SDL_Delay(ms);
}
