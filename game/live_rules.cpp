#include "game/live_rules.h"

Rules liveRules;
