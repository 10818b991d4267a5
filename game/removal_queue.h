// The removal queue: removed pieces vanish one after another and, when they pop, score, are told to the
// presentation and send a star to the level bar.
#pragma once

#include <cstdint>

#include "engine/limits.h"
#include "platform/fixed_list.h"

struct Rules;

struct RemovalEntry {
    float x; // screen centre of the cell the piece was removed from (where its bar star sets off)
    float y;
    int cellX; // the cell the piece was removed from
    int cellY;
    int32_t kind;      // the removed piece's kind
    float ageMs;       // time since the entry was made
    float delayMs;     // min(entries already queued, 5) * 80
    bool onBusySquare; // the cell was a busy square when the piece was removed
};

struct RemovalQueue {
    FixedList<RemovalEntry, kMaxRemovalEntries> entries; // filled in order, emptied as a whole
    bool ballPopped = false; // a ball has popped since the last removal pass or since the queue ran empty
};

constexpr float kRemovalVanishMs = 250; // a piece pops this long after its delay

// Queues a removed piece. When all entries are taken, entries that have already popped are dropped and,
// if the queue is still full, the oldest waiting piece pops at once, so every removed piece still scores.
void addRemovalEntry(Rules& r, int cellX, int cellY, int kind, bool onBusySquare);
void updateRemovalQueue(Rules& r); // once per frame: ages the entries and pops those whose time has come
