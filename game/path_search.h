// Path distances from the selected ball and the route a move follows.
#pragma once

void computePathDistances(); // pathDistance of every cell from the selected ball; -1 = unreached
bool buildRoute(int toX,
                int toY);       // fills pathPoints/pathLength walking back from the target; false if too long
int moveDurationFor(int steps); // trunc(sqrt(steps * 10) * ballSpeed), in single precision
