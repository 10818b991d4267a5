// The speech balloon of the tips and the tooltip: a tinted fill, a frame of "baloon.tga" tiles, the
// wrapped text at size 11 and an optional "continue" button; it grows in over its first 250 ms.
#pragma once

struct BalloonBox {
    float left, top, right, bottom;                         // the balloon
    float buttonLeft, buttonTop, buttonRight, buttonBottom; // its button (all 0 without one)
    float pictureTop, pictureBottom;                        // the room for a picture (0 without one)
};

// Size of a balloon for a text: the requested width, or the text width + 64 when smaller; height the
// wrapped text's height + 32, at least 64, plus the picture's room, plus 44.8 with a button.
void balloonSize(const char* text, float requestedWidth, bool button, float* width, float* height,
                 float pictureHeight = 0);
// Draws the balloon for the anchor point; grow is 0..1. A picture height leaves that much room across the
// balloon between the text and the button, for the caller to draw in. Returns its box in scene units.
BalloonBox drawBalloon(float anchorX, float anchorY, const char* text, float requestedWidth, bool button,
                       float grow, float pictureHeight = 0);
