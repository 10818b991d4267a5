// The game scene's links to the menus, the level map and the scenery.
#include "gameplay/game_flow.h"

#include "engine/limits.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/moves.h"
#include "gameplay/board_input.h"
#include "ui/menu_system.h"
#include "visuals/scenery.h"

void openGamePage(MenuId page) {
    openPage(page);
    game.menuOpen = true;
    setCursorMode(kCursorNormal); // also disarms the help cursor
    deselect(liveRules);
}

void leaveToMap() {
    // The same way back as "OK" on the statistics: the mode's page, or "main" with the next mode chosen
    // once the whole mode is passed.
    returnToMenus();
}

void setTimeOfDay(int variant) {
    setSceneryTimeOfDay(variant);
}

void setLevelScenery(int levelIndex) {
    enterLevelScenery(levelIndex);
    setSceneryTimeOfDayNow(levelIndex % 3);
}

GameLinks gameLinks;

bool gameSceneIsCurrent() {
    return gameLinks.gameSceneCurrent && gameLinks.gameSceneCurrent();
}

bool cheatKeysEnabled() {
    return gameLinks.cheatKeys && gameLinks.cheatKeys();
}
