// Beams: the short-lived lightning strokes between two points that mark a diamond's reach; each is
// drawn as a fresh jagged bolt every frame for 500 ms while it fades.
#pragma once

#include "platform/ring.h"

constexpr int kMaxBeams = 32;
constexpr float kBeamLifeMs = 500;

struct Beam {
    float fromX, fromY, toX, toY;
    float ageMs; // shown while below kBeamLifeMs
    bool active;
};

struct Beams {
    Ring<Beam, kMaxBeams> beams; // the newest overwrites the oldest
};

extern Beams beams;

void resetBeams();
void addBeam(float fromX, float fromY, float toX, float toY);
void queueBeams(); // queues this frame's bolts and ages the beams
int liveBeams();
