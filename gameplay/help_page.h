// The help page ("helpscreen"): the mode's help and the ball tip around a live demonstration.
#pragma once

#include "platform/fixed_list.h"

void drawHelpPage();  // the page's draw routine
void helpPageStart(); // opening the page: the demonstration with a plain ball
void helpPageStop();  // leaving it

// The page's size. Its texts are laid out 330 wide in a panel 390 wide; when that makes the page too
// tall for the screen (its frame reaching past an edge), the texts get wider, 40 at a time, until it
// fits or the panel has the screen's width.
struct HelpLayout {
    float textWidth, panelWidth;
    float tipHeight, helpHeight; // the ball tip and the mode's help at that width
    float height;                // the panel's
};
using TextHeightAt = float (*)(const char* text, float width); // wrapped text height, size 12
HelpLayout helpLayout(TextHeightAt heightAt, const char* ballTip, const char* modeHelp);

// The pieces of one of the page's two divider lines, a panel half-width on either side of the centre:
// half-size edge tiles, stretched a little so that the line ends inside the frame on both sides.
constexpr int kMaxDividerPieces = 32;
struct DividerPiece {
    float x, width; // centre and length
};
using DividerPieces = FixedList<DividerPiece, kMaxDividerPieces>;
DividerPieces helpDividerPieces(float halfWidth);
