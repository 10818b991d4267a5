// The game scene's links to the menus, the level map and the scenery. Those subsystems are built
// beside this one; each link below says what it calls once they are on main.
#include "gameplay/game_flow.h"

#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "app/typed_words.h"
#include "game/game_state.h"
#include "game/moves.h"
#include "gameplay/board_input.h"
#include "gameplay/game_scene.h"
#include "ui/menu_system.h"

void openGamePage(const char* page) {
    openPage(page);
    game.menuOpen = true;
    setCursorMode(kCursorNormal); // also disarms the help cursor
    deselect();
}

void leaveToMap() {
    requestScene(mapScene);
    openPage(game.gamePassed ? "main" : game.mode == 2 ? "mode3" : game.mode == 1 ? "mode2" : "mode1");
}

void setTimeOfDay(int variant) {
    (void)variant; // SCENERY LINK: the scenery's time of day, once the animated scenery is on main.
}

void setLevelScenery(int levelIndex) {
    (void)levelIndex; // SCENERY LINK: the level's scenery at time of day levelIndex % 3.
}

void menuEscape() {
    menuKey(27); // the menu button while a page is open acts as Escape
}

// menuClick, menuButtonUp and menuMouseMove are the menu system's own (ui/menu_system.h).

bool gameSceneIsCurrent() {
    return sceneManager.currentScene == &gameScene;
}

const char* openPageName() {
    return game.menuOpen ? currentPageName() : "";
}

bool cheatKeysEnabled() {
    return typedWords.cheatKeyMode;
}

void menuKeyDown(int virtualKey) {
    menuKey(static_cast<unsigned>(virtualKey));
}
