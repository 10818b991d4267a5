#include "game/presentation_events.h"

namespace {
PresentationEvents silentEvents;
}

PresentationEvents* currentEvents = &silentEvents; // never null

PresentationEvents& presentation() {
    return *currentEvents;
}

void setPresentationEvents(PresentationEvents* events) {
    currentEvents = events ? events : &silentEvents;
}
