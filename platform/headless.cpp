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
    if (headless.events.full()) return false;
    headless.events.push({event, atMs});
    return true;
}

bool takeHeadlessEvent(AppEvent* event) {
    if (headless.events.empty()) return false;
    const ScheduledEvent& oldest = headless.events.oldest();
    // Signed view of the unsigned difference: the event's time has come, across a clock wrap too.
    if (static_cast<int32_t>(headless.nowMs - oldest.atMs) < 0) return false;
    *event = oldest.event;
    headless.events.popOldest();
    return true;
}
