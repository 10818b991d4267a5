#include "game/removal_queue.h"

#include <cmath>

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
    case kQuadroBomb:
        events.bombExploded(entry.cellX, entry.cellY, entry.kind == kQuadroBomb);
        break;
    case kDiamond:
        events.diamondExploded(entry.cellX, entry.cellY);
        addPoints(r, saturatingAdd(saturatingMultiply(10, r.game.combo), entry.onBusySquare ? 100 : 0),
                  entry.cellX, entry.cellY);
        break;
    default:
        events.ballPopped(entry.cellX, entry.cellY, r.game.combo, r.game.mode, !queue.ballPopped);
        queue.ballPopped = true;
        addPoints(r, saturatingMultiply(10, r.game.combo), entry.cellX, entry.cellY);
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

void addRemovalEntry(Rules& r, int cellX, int cellY, int kind, bool onBusySquare) {
    RemovalQueue& queue = r.removals;
    if (queue.entries.full()) makeRoom(r, queue);
    int queued = queue.entries.size();
    RemovalEntry& entry = *queue.entries.add(); // makeRoom left a place
    Point centre = cellCentre(cellX, cellY);
    entry.x = centre.x;
    entry.y = centre.y;
    entry.cellX = cellX;
    entry.cellY = cellY;
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
        entry.ageMs += r.frameMs;
        if (popped(entry)) pop(r, queue, entry);
    }
    if (!anyWaiting) {
        queue.entries.clear();
        queue.ballPopped = false;
    }
}
