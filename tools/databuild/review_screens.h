// Review only: the game screen and a menu page put together from the built pictures and font.
#pragma once

#include "catalogue.h"

Image mockGameScreen(const Catalogue& catalogue);
Image mockMenuScreen(const Catalogue& catalogue);
