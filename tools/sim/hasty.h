// The hasty player of the soak: it plays a level as an impatient person does, through the same board
// clicks and board keys as the game scene: it clicks while balls travel and appear, opens and closes the
// in-game menu and pauses mid-route, double-clicks, right-clicks and skips the result sequences, in frames
// of uneven length. Its choices come from its own generator, seeded per game, so a seed repeats a
// simRules.game.
#pragma once

#include "engine/random.h"

struct HastyPlayer {
    RandomGenerator choice;  // the player's own choices; the rules keep their generator
    int menuFramesLeft = 0;  // the in-game menu it opened stays this many frames
    int pauseFramesLeft = 0; // the pause it took lasts this many frames
};

void startHasty(HastyPlayer& player, unsigned seed);
float hastyFrameMs(HastyPlayer& player); // the length of the next frame: 4 to 60 ms
void hastyAct(HastyPlayer& player);      // what the player does between two frames (often nothing)
