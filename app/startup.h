// The start-up sequence, run once by the main loop after the frame in which the splash asked for it.
#pragma once

bool runStartup(); // seeds the generators and loads everything the game needs; true when done
