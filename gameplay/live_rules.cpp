#include "gameplay/live_rules.h"

Rules liveRules;
