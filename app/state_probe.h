// A test hook: with PEBBLECRAFT_STATE_FILE=path in the environment, the game writes what it shows to
// that file ten times a second, so that the end-to-end tests (tests/e2e) can wait for a state instead of
// guessing how long it takes. Without the variable it does nothing. It only reports; it changes nothing.
//
// The file is replaced whole each time (written beside, then renamed). Its first line holds
// space-separated name=value pairs:
//   scene     splash, map or game
//   presskey  1 while the splash waits for a key (loading done, no key pressed yet)
//   page      the menu page on screen, spaces as "_"; "-" when none (or closed and faded out)
//   ready     1 when no page transition runs, so a key reaches the page
//   item      the page's selected item, spaces as "_"; "-" when none
//   chosen    the level chosen on the level map
//   mode level moves selected=x,y moving running menu complete defeat free
//             the game state: mode, level, moves made, selected cell, a ball travelling, not paused,
//             a page over the board, the two sequence countdowns (ms, -1 when ended), free cells
//   lives total  the current profile's lives and score in the mode; player  its name, spaces as "_"
//   cheat     1 while the cheat keys are on; allopen  1 while the level map opens every level
//   tip       0 no tip balloon; 1 one waits or grows (board clicks only reach it); 2 it takes a click
//   tipbutton x,y  where a click closes the balloon (screen units, origin in the centre, y upward)
//   keycursor x,y  the keyboard's cursor cell, -1,-1 while hidden; cursor  the cursor mode (0, 1 hammer, 2
//   help)
//   frames    frames run since launch (a file whose count moved on was written after an earlier one)
//   removals  entries waiting in the removal queue
//   heapkb    the heap in live allocations, kB (the monkey's leak check)
//   saved     the moves of the level at its last autosave
// The 15 lines after it are the rows of the playing area, left to right: "." empty, "#" no cell, "a".."h"
// a ball of that colour ("A".."H" chained), "J" joker, "T" triple bomb, "*" diamond, "Q" quadro bomb.
#pragma once

#include <cstddef>

void writeStateProbe(); // once per frame; writes when the variable is set and 100 ms have passed
void resetStateProbe(); // the variable is read again by the next write (tests)

// The first line for the current state, into out (tests).
void formatStateProbeLine(char* out, size_t size);
// The row of the playing area at board row y, 20 letters and a 0, into out (tests).
void formatStateProbeRow(int y, char* out);
