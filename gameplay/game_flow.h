// How the game scene reaches the menus, the level map and the scenery: opening a page over the board,
// leaving to the map, the time of day.
#pragma once

void openGamePage(const char* page);  // opens a menu page over the board, drops selection and cursors
void leaveToMap();                    // back to the level map with the page of the mode (or "main")
void setTimeOfDay(int variant);       // 0 night, 1 morning, 2 day
void menuEscape();                    // the menu button while a page is open: as the Escape key
void menuClick();                     // a left click goes to the open page
void menuButtonUp();                  // the left button was released
void setLevelScenery(int levelIndex); // the level's scenery at its time of day (level index modulo 3)
bool gameSceneIsCurrent();            // the game scene is the current scene
const char* openPageName();           // the open menu page, "" when none
bool cheatKeysEnabled();              // the typed word's cheat-key mode
void menuKeyDown(int virtualKey);     // a key while a page is open
void menuMouseMove();                 // the mouse moved: the menu's hover state is recomputed
