// The menus' links to the scenes and the rules: the hooks of ui/menu_system.h filled with the calls that
// reach the scene manager, the game scene, the help page and the typed words.
#pragma once

void installMenuHost();    // every hook of menuHost; the start-up sequence calls it first
void enterMapFromSplash(); // the level map with "main", or "newprofile" when there is no profile yet
