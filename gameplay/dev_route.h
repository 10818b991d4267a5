// TEMPORARY developer route into a level, until the menus can start one: the environment variable
// PEBBLECRAFT_DEV_LEVEL=mode:level (mode 0 classic, 1 puzzle, 2 action; level 0..69) is read once after
// the start-up sequence and opens that level in the game scene. The menus replace it and remove it.
#pragma once

// Further variables of the route, for the end-to-end tests:
//   PEBBLECRAFT_DEV_LEVEL=mode:level:seconds  a third field sets the puzzle clock to that many seconds;
//   PEBBLECRAFT_DEV_PIECES=kind@x,y;...       pieces put on empty cells after the level starts;
//   PEBBLECRAFT_DEV_STATE=path                the board and counters written there four times a second.

// "1:4" -> 1, 4 (seconds 0); "1:4:6" -> seconds 6; false when malformed or out of range.
bool parseDevLevel(const char* value, int* mode, int* level, int* seconds);
bool startDevLevelFromEnvironment(); // true when the variable named a level and the game scene shows it
void keepDevLevel();                 // after the start-up sequence: the route's level stays current
void writeDevState();                // with PEBBLECRAFT_DEV_STATE: the state file, at most every 250 ms
