#include "game/removal_queue.h"

#include <cmath>

#include "engine/app_state.h"
#include "engine/saturate.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/presentation_events.h"

RemovalQueue removalQueue;
RemovalQueue helpRemovalQueue;

void resetRemovalQueue() {
    removalQueue = RemovalQueue{};
    helpRemovalQueue = RemovalQueue{};
}

void resetHelpRemovalQueue() {
    helpRemovalQueue = RemovalQueue{};
}

namespace {
// The help demonstration's removals wait and pop in a queue of their own: the game's queue stands still
// behind the help page, and anything left in it pops on the game's board once the page has closed.
RemovalQueue& activeQueue() {
    return helpBoardActive ? helpRemovalQueue : removalQueue;
}

bool popped(const RemovalEntry& entry) {
    return entry.ageMs > entry.delayMs + kRemovalVanishMs;
}

void pop(RemovalQueue& queue, const RemovalEntry& entry) {
    PresentationEvents& events = presentation();
    switch (entry.kind) {
    case kTripleBomb:
        events.effect("bomb1", entry.x, entry.y);
        events.effect("bomb2", entry.x, entry.y);
        events.sound("bomb1.ogg", 0);
        if (!helpBoardActive) events.shake(800, 1.0f);
        break;
    case kQuadroBomb:
        events.effect("dbomb1", entry.x, entry.y);
        events.effect("dbomb2", entry.x, entry.y);
        events.sound("bomb2.ogg", 0);
        if (!helpBoardActive) events.shake(800, 1.5f);
        break;
    case kDiamond:
        events.effect("diamond1", entry.x, entry.y);
        events.effect("diamond2", entry.x, entry.y);
        events.sound("diamond.ogg", 0);
        addPoints(entry.x, entry.y,
                  saturatingAdd(saturatingMultiply(10, game.combo), entry.onBusySquare ? 100 : 0));
        break;
    default:
        events.effect("ball1", entry.x, entry.y);
        events.effect("ball2", entry.x, entry.y);
        if (!queue.ballSoundPlayed) {
            int step = game.mode == kModeAction ? 2000 : 5000;
            events.sound("ball.ogg", saturatingAdd(35000, saturatingMultiply(game.combo, step)));
            queue.ballSoundPlayed = true;
        }
        addPoints(entry.x, entry.y, saturatingMultiply(10, game.combo));
        break;
    }
    if (game.mode == kModePuzzle || helpBoardActive) return;
    float combo = static_cast<float>(game.combo);
    float value;
    if (game.mode == kModeAction) {
        value = std::sqrt(combo);
    } else if (game.levelIndex >= 6) {
        value = combo;
    } else {
        value = std::pow(combo * combo * combo, 0.25f);
    }
    sendBarStar(entry.x, entry.y, value);
}

// Makes room for one more entry when the queue is full.
void makeRoom(RemovalQueue& queue) {
    int kept = 0;
    for (int i = 0; i < queue.count; ++i) {
        if (!popped(queue.entries[i])) queue.entries[kept++] = queue.entries[i];
    }
    queue.count = kept;
    if (kept < kMaxRemovalEntries) return;
    pop(queue, queue.entries[0]);
    for (int i = 1; i < queue.count; ++i) queue.entries[i - 1] = queue.entries[i];
    queue.count -= 1;
}
} // namespace

void addRemovalEntry(float x, float y, int kind, bool onBusySquare) {
    RemovalQueue& queue = activeQueue();
    if (queue.count >= kMaxRemovalEntries) makeRoom(queue);
    int queued = queue.count;
    RemovalEntry& entry = queue.entries[queue.count++];
    entry.x = x;
    entry.y = y;
    entry.kind = kind;
    entry.ageMs = 0;
    entry.delayMs = static_cast<float>(queued < 5 ? queued : 5) * 80.0f;
    entry.onBusySquare = onBusySquare;
}

void updateRemovalQueue() {
    RemovalQueue& queue = activeQueue();
    bool anyWaiting = false;
    for (int i = 0; i < queue.count; ++i) {
        RemovalEntry& entry = queue.entries[i];
        if (popped(entry)) continue;
        anyWaiting = true;
        entry.ageMs += app.frameTimeMs;
        if (popped(entry)) pop(queue, entry);
    }
    if (!anyWaiting) {
        queue.count = 0;
        queue.ballSoundPlayed = false;
    }
}
