#include "gameplay/beams.h"

#include <glm/vec3.hpp>

#include "engine/app_state.h"
#include "engine/lightning.h"
#include "gameplay/sprites.h"

Beams beams;

void resetBeams() {
    beams = Beams{};
}

void addBeam(float fromX, float fromY, float toX, float toY) {
    beams.beams.push(Beam{fromX, fromY, toX, toY, 0, true});
}

void queueBeams() {
    for (Beam& b : beams.beams) {
        if (!b.active) continue;
        float fade = 1 - b.ageMs / kBeamLifeMs;
        if (fade > 0) {
            addLightning(glm::vec3(b.fromX, b.fromY, 0), glm::vec3(b.toX, b.toY, 0), 12, 2, 7, 5,
                         argbColor(200 * fade, 220 * fade, 255 * fade, 255),
                         argbColor(80 * fade, 110 * fade, 255 * fade, 255));
        }
        b.ageMs += app.frameTimeMs;
        if (b.ageMs >= kBeamLifeMs) b.active = false;
    }
}

int liveBeams() {
    int n = 0;
    for (const Beam& b : beams.beams) n += b.active ? 1 : 0;
    return n;
}
