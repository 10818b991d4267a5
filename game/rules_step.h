// The rule work of one frame of the game scene, in the frame's order. The game scene calls it while it
// draws; the simulator calls it alone. Both read the frame's length from app.frameTimeMs/frameDeltaMs.
#pragma once

void rulesFrame();     // one whole frame: bookkeeping, board sweep, removal queue, level bar, play time
void boardSweep();     // the board part: selection, clocks, distances, appearance, travel, outcome checks
bool boardSweepRuns(); // the board is shown this frame (not paused, hidden by a menu or broken up)
bool anyPieceOnPlayArea();
