#include "game/bar_stars.h"

#include <cmath>

#include "engine/random.h"
#include "engine/saturate.h"
#include "game/game_state.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/rules.h"

namespace {
constexpr float kBarLeft = -410; // the progress bar: 64 wide, its lower left corner at (-410, -225)
constexpr float kBarBottom = -225;
constexpr float kBarWidth = 64;
constexpr float kStarFlightMs = 3000;
constexpr float kTrailEveryMs = 50;
} // namespace

Point barStarTarget(Rules& r) {
    if (r.game.mode == kModePuzzle) return {345, 245}; // centre of the score box
    return {kBarLeft + kBarWidth / 2, kBarBottom + 23 + std::ceil(466 * r.game.barShownFraction)};
}

void sendBarStar(Rules& r, float x, float y, float value) {
    // The ring is full only in a flood of stars; the star it replaces still delivers its value.
    if (r.stars.stars.full() && r.stars.stars.oldest().active) {
        BarStar& replaced = r.stars.stars.oldest();
        replaced.active = false;
        barStarArrived(r, replaced.value);
    }
    BarStar& star = r.stars.stars.push(BarStar{});
    star.active = true;
    star.x = x;
    star.y = y;
    star.ageMs = 0;
    // The flight decides when the bar changes, so its draws come from the rules' generator.
    star.velocityX = randomSigned(r.random, 2.0f);
    star.velocityY = 1.0f + randomUnit(r.random, 1.0f);
    star.rotation = randomSigned(r.random, 360.0f);
    star.rotationSpeed = randomSigned(r.random, 10.0f);
    star.red = 155 + randomInt(r.random, 100);
    star.value = value;
    star.trailMs = 0;
}

void updateBarStars(Rules& r) {
    float frameMs = r.frameMs;
    for (BarStar& star : r.stars.stars) {
        if (!star.active) continue;
        Point target = barStarTarget(r);
        float dx = target.x - star.x;
        float dy = target.y - star.y;
        if (dx * dx + dy * dy < 100) {
            star.active = false;
            if (r.game.completeCountdownMs <= 0) barStarArrived(r, star.value);
            continue;
        }
        star.ageMs += frameMs;
        float k = star.ageMs / kStarFlightMs;
        if (k > 1) k = 1;
        star.x += star.velocityX * (1 - k) * frameMs * 0.2f;
        star.y += star.velocityY * (1 - k) * frameMs * 0.2f;
        float pull = k * k * k;
        star.x += (target.x - star.x) * pull;
        star.y += (target.y - star.y) * pull;
        star.rotation += star.rotationSpeed * frameMs * 0.1f;
        star.trailMs += frameMs;
        if (star.trailMs >= kTrailEveryMs) {
            star.trailMs -= kTrailEveryMs;
            r.events().barStarFlying(star.x, star.y);
        }
    }
}

void barStarArrived(Rules& r, float value) {
    if (r.game.completeCountdownMs != 0) return;
    r.events().barStarArrived(r.game.mode, r.game.barFraction);
    if (r.game.mode == kModePuzzle) {
        addPlayerScore(r, 100);
        r.game.score = saturatingAdd(r.game.score, 100);
    }
    if (r.game.barValue > 0) {
        r.game.barValue -= value;
        if (r.game.barValue < 0) r.game.barValue = 0;
    }
}

void updateBarFraction(Rules& r) {
    if (r.game.barGoal != 0) r.game.barFraction = (r.game.barGoal - r.game.barValue) / r.game.barGoal;
    // A long frame must not make the display overshoot its target.
    float step = r.frameMs * 0.005f;
    if (step > 1) step = 1;
    r.game.barShownFraction += (r.game.barFraction - r.game.barShownFraction) * step;
    if (r.game.barValue <= 0) r.game.barShownFraction = r.game.barFraction;
}
