#include "game/removal_queue.h"

#include <cmath>

#include "engine/app_state.h"
#include "engine/saturate.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/presentation_events.h"
#include "game/rules.h"

namespace {

bool popped(const RemovalEntry& entry) {
    return entry.ageMs > entry.delayMs + kRemovalVanishMs;
}

void pop(Rules& r, RemovalQueue& queue, const RemovalEntry& entry) {
    PresentationEvents& events = r.events();
    switch (entry.kind) {
    case kTripleBomb:
        events.effect("bomb1", entry.x, entry.y);
        events.effect("bomb2", entry.x, entry.y);
        events.sound("bomb1.ogg", 0);
        if (!r.levelHeld()) events.shake(800, 1.0f);
        break;
    case kQuadroBomb:
        events.effect("dbomb1", entry.x, entry.y);
        events.effect("dbomb2", entry.x, entry.y);
        events.sound("bomb2.ogg", 0);
        if (!r.levelHeld()) events.shake(800, 1.5f);
        break;
    case kDiamond:
        events.effect("diamond1", entry.x, entry.y);
        events.effect("diamond2", entry.x, entry.y);
        events.sound("diamond.ogg", 0);
        addPoints(r, entry.x, entry.y,
                  saturatingAdd(saturatingMultiply(10, r.game.combo), entry.onBusySquare ? 100 : 0));
        break;
    default:
        events.effect("ball1", entry.x, entry.y);
        events.effect("ball2", entry.x, entry.y);
        if (!queue.ballSoundPlayed) {
            int step = r.game.mode == kModeAction ? 2000 : 5000;
            events.sound("ball.ogg", saturatingAdd(35000, saturatingMultiply(r.game.combo, step)));
            queue.ballSoundPlayed = true;
        }
        addPoints(r, entry.x, entry.y, saturatingMultiply(10, r.game.combo));
        break;
    }
    if (r.game.mode == kModePuzzle || r.levelHeld()) return;
    float combo = static_cast<float>(r.game.combo);
    float value;
    if (r.game.mode == kModeAction) {
        value = std::sqrt(combo);
    } else if (r.game.levelIndex >= 6) {
        value = combo;
    } else {
        value = std::pow(combo * combo * combo, 0.25f);
    }
    sendBarStar(r, entry.x, entry.y, value);
}

// Makes room for one more entry when the queue is full.
void makeRoom(Rules& r, RemovalQueue& queue) {
    queue.entries.removeIf(popped);
    if (!queue.entries.full()) return;
    pop(r, queue, queue.entries[0]);
    queue.entries.removeAt(0);
}
} // namespace

void addRemovalEntry(Rules& r, float x, float y, int kind, bool onBusySquare) {
    RemovalQueue& queue = r.removals;
    if (queue.entries.full()) makeRoom(r, queue);
    int queued = queue.entries.size();
    RemovalEntry& entry = *queue.entries.add(); // makeRoom left a place
    entry.x = x;
    entry.y = y;
    entry.kind = kind;
    entry.ageMs = 0;
    entry.delayMs = static_cast<float>(queued < 5 ? queued : 5) * 80.0f;
    entry.onBusySquare = onBusySquare;
}

void updateRemovalQueue(Rules& r) {
    RemovalQueue& queue = r.removals;
    bool anyWaiting = false;
    for (int i = 0; i < queue.entries.size(); ++i) {
        RemovalEntry& entry = queue.entries[i];
        if (popped(entry)) continue;
        anyWaiting = true;
        entry.ageMs += app.frameTimeMs;
        if (popped(entry)) pop(r, queue, entry);
    }
    if (!anyWaiting) {
        queue.entries.clear();
        queue.ballSoundPlayed = false;
    }
}
