#include "game/presentation_events.h"

PresentationEvents& silentPresentation() {
    static PresentationEvents silent; // holds no state: every board may share it
    return silent;
}
