// Stars that fly from removed pieces (or cleared squares) to the level bar; their arrival shortens the bar.
#pragma once

#include "engine/limits.h"
#include "game/board.h"
#include "platform/ring.h"

struct Rules;

struct BarStar {
    bool active;
    float x; // position in screen units
    float y;
    float velocityX; // initial drift
    float velocityY;
    float ageMs;
    float rotation;      // degrees
    float rotationSpeed; // degrees per 10 ms
    int red;             // 155..254; green and blue are 255
    float value;         // what the arrival takes off the bar
    float trailMs;       // time towards the next spark
};

struct BarStars {
    Ring<BarStar, kMaxBarStars> stars; // a new star replaces the oldest, which still delivers its value
};

void sendBarStar(Rules& r, float x, float y, float value); // a star sets off from (x, y)
void updateBarStars(Rules& r);              // one frame of flight; stars that arrive call barStarArrived
void barStarArrived(Rules& r, float value); // a star reached the bar
Point barStarTarget(Rules& r);              // the bar marker, or the score box in puzzle mode
void updateBarFraction(Rules& r); // barFraction and its eased display barShownFraction, once per frame
