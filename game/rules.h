// One board's rules as a value: everything the rules read and write for one board. The live game is one
// Rules; the help page's demonstration, a balloon's picture, the map's preview, the simulator, the bot
// and every test own another. The rules' functions take the value they work on by reference, so a second
// board can never reach the first, and a reset is the assignment of a fresh value.
#pragma once

#include "engine/random.h"
#include "game/autosave.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/idle_hint.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"

struct Rules {
    GameState game{};         // counters, timers and parameters of the level
    Board board{};            // the playing field
    RemovalQueue removals{};  // removed pieces waiting to pop
    BarStars stars{};         // stars flying to the level bar
    AwardState awards{};      // "excellent" and "perfect" alternate
    HintScratch hint{};       // the idle hint's search marks
    Autosave autosave{};      // when this board was last saved
    RandomGenerator random{}; // colours, cells, jokers, bar stars: the draws that decide the play
    PresentationEvents* presentation = nullptr; // what answers this board's events; nullptr = none
    // Points and saves count: whoever runs the board says so (the live game: while its scene is the current
    // one). Headless boards and tests keep the default.
    bool pointsCount = true;
    // The length of the frame the board is stepped by, in ms: whoever steps it sets it (the live game: the
    // frame clock's; the help demonstration: half of it, its own slower time). frameDeltaMs is the clock's
    // step in whole ms, which the idle timer and the level's play time count.
    float frameMs = 0;
    uint32_t frameDeltaMs = 0;
    void stepBy(float ms) { // a board stepped headless: both lengths from one
        frameMs = ms;
        frameDeltaMs = static_cast<uint32_t>(ms);
    }
    // A demonstration (the help page, a tip's picture) shows the moves alone: it deals no balls, earns no
    // pieces, scores nothing, sends no star to the bar, never ends and is never saved.
    bool demonstration = false;
    // The help page is open over this board: its removal queue, bar, result sequences, points and saves
    // wait until the page closes.
    bool helpPageOpen = false;

    Rules();
    // The level's own course is held: a demonstration, or the game behind the help page. No balls are
    // dealt, nothing is earned or scored, the bar stands and the level neither ends nor is saved.
    bool levelHeld() const { return demonstration || helpPageOpen; }
    Cell& at(int x, int y) { return board.cells[x * kBoardSize + y]; } // x, y in 0..29
    const Cell& at(int x, int y) const { return board.cells[x * kBoardSize + y]; }
    PresentationEvents& events() { return presentation ? *presentation : silentPresentation(); }
};
