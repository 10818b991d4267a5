// How the game scene reaches the menus, the level map and the scenery: opening a page over the board,
// leaving to the map, the time of day. The menus' own input calls (menuKey, menuClick, menuButtonUp,
// menuMouseMove) come from ui/menu_system.h.
#pragma once

#include "ui/menu_ids.h"

void openGamePage(MenuId page);       // opens a menu page over the board, drops selection and cursors
void leaveToMap();                    // back to the level map with the page of the mode (or "main")
void setTimeOfDay(int variant);       // 0 night, 1 morning, 2 day
void setLevelScenery(int levelIndex); // the level's scenery at its time of day (level index modulo 3)
bool gameSceneIsCurrent();            // the game scene is the current scene (gameLinks)
bool cheatKeysEnabled();              // the typed word's cheat-key mode (gameLinks)

// What only the application knows, filled in by the game scene's wiring (app/game_scene.cpp); null
// hooks answer false.
struct GameLinks {
    bool (*gameSceneCurrent)(); // the game scene is the current scene
    bool (*cheatKeys)();        // the typed word's cheat-key mode is on
};
extern GameLinks gameLinks;
