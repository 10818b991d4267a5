#include "platform/headless.h"

HeadlessPlatform headless;

void installHeadlessPlatform() {
    headless = HeadlessPlatform{};
    headless.installed = true;
}

void removeHeadlessPlatform() {
    headless = HeadlessPlatform{};
}

bool pushHeadlessEvent(const AppEvent& event, uint32_t atMs) {
    if (headless.eventCount == kMaxHeadlessEvents) return false;
    int slot = (headless.eventHead + headless.eventCount) % kMaxHeadlessEvents;
    headless.events[slot] = event;
    headless.eventAtMs[slot] = atMs;
    headless.eventCount += 1;
    return true;
}

bool takeHeadlessEvent(AppEvent* event) {
    if (headless.eventCount == 0) return false;
    // Signed view of the unsigned difference: the event's time has come, across a clock wrap too.
    if (static_cast<int32_t>(headless.nowMs - headless.eventAtMs[headless.eventHead]) < 0) return false;
    *event = headless.events[headless.eventHead];
    headless.eventHead = (headless.eventHead + 1) % kMaxHeadlessEvents;
    headless.eventCount -= 1;
    return true;
}
