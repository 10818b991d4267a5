#include "game/bar_stars.h"

#include <cmath>

#include "engine/app_state.h"
#include "engine/random.h"
#include "engine/saturate.h"
#include "game/game_state.h"
#include "game/player_link.h"
#include "game/presentation_events.h"

BarStars barStars;

void resetBarStars() {
    barStars = BarStars{};
}

namespace {
constexpr float kBarLeft = -410; // the progress bar: 64 wide, its lower left corner at (-410, -225)
constexpr float kBarBottom = -225;
constexpr float kBarWidth = 64;
constexpr float kStarFlightMs = 3000;
constexpr float kTrailEveryMs = 50;
} // namespace

Point barStarTarget() {
    if (game.mode == kModePuzzle) return {345, 245}; // centre of the score box
    return {kBarLeft + kBarWidth / 2, kBarBottom + 23 + std::ceil(466 * game.barShownFraction)};
}

void sendBarStar(float x, float y, float value) {
    BarStar& star = barStars.stars[barStars.next];
    // The ring is full only in a flood of stars; the star it replaces still delivers its value.
    if (star.active) {
        star.active = false;
        barStarArrived(star.value);
    }
    barStars.next = (barStars.next + 1) % kMaxBarStars;
    star.active = true;
    star.x = x;
    star.y = y;
    star.ageMs = 0;
    // The flight decides when the bar changes, so its draws come from the rules' generator.
    star.velocityX = randomSigned(rulesRandom, 2.0f);
    star.velocityY = 1.0f + randomUnit(rulesRandom, 1.0f);
    star.rotation = randomSigned(rulesRandom, 360.0f);
    star.rotationSpeed = randomSigned(rulesRandom, 10.0f);
    star.red = 155 + randomInt(rulesRandom, 100);
    star.value = value;
    star.trailMs = 0;
}

void updateBarStars() {
    float frameMs = app.frameTimeMs;
    for (BarStar& star : barStars.stars) {
        if (!star.active) continue;
        Point target = barStarTarget();
        float dx = target.x - star.x;
        float dy = target.y - star.y;
        if (dx * dx + dy * dy < 100) {
            star.active = false;
            if (game.completeCountdownMs <= 0) barStarArrived(star.value);
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
            presentation().starTrail(star.x, star.y);
        }
    }
}

void barStarArrived(float value) {
    if (game.completeCountdownMs != 0) return;
    if (game.mode == kModePuzzle) {
        presentation().sound("score.ogg", 0);
        addPlayerScore(100);
        game.score = saturatingAdd(game.score, 100);
    } else {
        presentation().sound("score.ogg", static_cast<int>(game.barFraction * 40000 + 15000));
    }
    if (game.barValue > 0) {
        game.barValue -= value;
        if (game.barValue < 0) game.barValue = 0;
    }
}

void updateBarFraction() {
    if (game.barGoal != 0) game.barFraction = (game.barGoal - game.barValue) / game.barGoal;
    // A long frame must not make the display overshoot its target.
    float step = app.frameTimeMs * 0.005f;
    if (step > 1) step = 1;
    game.barShownFraction += (game.barFraction - game.barShownFraction) * step;
    if (game.barValue <= 0) game.barShownFraction = game.barFraction;
}
