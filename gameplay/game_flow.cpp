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

void openGamePage(const char* page) {
    (void)page; // MENU LINK: openPage(page) of the menu system, once it is on main.
    game.menuOpen = true;
    setCursorMode(kCursorNormal); // also disarms the help cursor
    deselect();
}

void leaveToMap() {
    requestScene(mapScene);
    // MENU LINK: the map then opens "main" when the game is passed, else the page of the current mode
    // ("mode1", "mode2", "mode3"), once the menu system is on main.
}

void setTimeOfDay(int variant) {
    (void)variant; // SCENERY LINK: the scenery's time of day, once the animated scenery is on main.
}

void setLevelScenery(int levelIndex) {
    (void)levelIndex; // SCENERY LINK: the level's scenery at time of day levelIndex % 3.
}

void menuEscape() {
    // MENU LINK: menuKey(27) — the menu button while a page is open acts as Escape.
}

void menuClick() {
    // MENU LINK: menuClick() of the menu system.
}

void menuButtonUp() {
    // MENU LINK: menuButtonUp() of the menu system.
}

bool gameSceneIsCurrent() {
    return sceneManager.currentScene == &gameScene;
}

const char* openPageName() {
    return ""; // MENU LINK: the name of the menu system's current page while one is open.
}

bool cheatKeysEnabled() {
    return typedWords.cheatKeyMode;
}

void menuKeyDown(int virtualKey) {
    (void)virtualKey; // MENU LINK: menuKey(virtualKey) of the menu system.
}

void menuMouseMove() {
    // MENU LINK: menuMouseMove() of the menu system.
}
