// Stars that fly from removed pieces (or cleared squares) to the level bar; their arrival shortens the bar.
#pragma once

#include "engine/limits.h"
#include "game/board.h"

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
    BarStar stars[kMaxBarStars]; // a ring: a new star replaces the oldest
    int next = 0;                // slot of the next star
};

extern BarStars barStars;

void sendBarStar(float x, float y, float value); // a star sets off from (x, y)
void updateBarStars();                           // one frame of flight; stars that arrive call barStarArrived
void barStarArrived(float value);                // a star reached the bar
Point barStarTarget();                           // the bar marker, or the score box in puzzle mode
void updateBarFraction(); // barFraction and its eased display barShownFraction, once per frame
void resetBarStars();     // no star in flight
