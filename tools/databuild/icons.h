// The program's icon: the window's picture in the Data folder and the desktop's icons at every size.
#pragma once

#include "image.h"

#include <string>

Image makeProgramIcon(int size);                   // the icon drawn natively at size x size pixels
bool writeDesktopIcons(const std::string& folder); // folder/NxN/apps/pebblecraft.png for 48, 64, 128, 256
