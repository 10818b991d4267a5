// The rule work of one frame of the game scene, in the frame's order. The game scene calls rulesFrame()
// once per frame (after setting the board's frameMs and frameDeltaMs from the frame clock) and then draws
// what the state shows; the simulator calls it alone. Results are the same either way because the rules
// advance every clock they depend on themselves:
//   1. idle timer, level bar, result sequences (a finished sequence opens its page via openResultPage);
//   2. pauseMs and menuFadeMs (the board stands still while paused past 500 ms, hidden behind a menu,
//      or broken up below 7500 ms of the level-complete sequence);
//   3. the board sweep: lost selection, cell clocks, highlight scales and preview timers, ballMoving,
//      path distances, ball clocks, appearance and its removal pass, travel and landing, the empty-board
//      check, the level-state check, the hint's display time;
//   4. the removal queue (not while the help board is active);
//   5. barFraction and its eased display barShownFraction, the flight and arrival of bar stars;
//   6. levelTimeMs while playing.
// The presentation only reads: it never changes scale, pendingMs, barShownFraction or the stars itself.
// The dips of a square under a travelling ball and under the selected ball's hop are made here too, as
// the path search waits for every scale to be back at 1: the game and the simulator then agree.
#pragma once

struct Rules;

constexpr float kHopRate = 0.007f;      // the selected ball hops with |sin(hopClockMs x 0.007)|, every 449 ms
constexpr float kHopDipScale = 0.92f;   // its square dips to this each time the hop lands
constexpr float kTravelDipScale = 0.8f; // the square under a travelling ball

// One whole frame of the rules. An in-game tip on screen (the live game says so) holds the level bar and the
// idle timer.
void rulesFrame(Rules& r, bool tipOnScreen = false);
void boardSweep(Rules& r);         // step 3 alone (the help board runs it through helpBoardSweep)
bool boardSweepRuns(Rules& r);     // the board is shown this frame
bool anyPieceOnPlayArea(Rules& r); // some piece stands on the playing area
