#include "engine/app_state.h"

AppState app;

void resetAppState() { app = AppState{}; }
