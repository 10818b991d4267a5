// Path distances from the selected ball and the route a move follows.
#pragma once

struct Rules;

void computePathDistances(Rules& r); // pathDistance of every cell from the selected ball; -1 = unreached
bool buildRoute(Rules& r, int toX,
                int toY); // fills pathPoints/pathLength walking back from the target; false if too long
int moveDurationFor(Rules& r, int steps); // trunc(sqrt(steps * 10) * ballSpeed), in single precision
