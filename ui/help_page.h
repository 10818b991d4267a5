// The help page ("helpscreen"): the mode's help and the ball tip around a live demonstration.
#pragma once

void drawHelpPage();  // the page's draw routine
void helpPageStart(); // opening the page: the demonstration with a plain ball
void helpPageStop();  // leaving it
