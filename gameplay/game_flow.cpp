// The game scene's links to the menus, the level map and the scenery. Those subsystems are built
// beside this one; each link below says what it calls once they are on main.
#include "gameplay/game_flow.h"

#include "game/game_state.h"
#include "game/moves.h"
#include "gameplay/board_input.h"

void openGamePage(const char* page) {
    (void)page; // MENU LINK: openPage(page) of the menu system, once it is on main.
    game.menuOpen = true;
    setCursorMode(kCursorNormal); // also disarms the help cursor
    deselect();
}

void leaveToMap() {
    // SCENE LINK: requestScene(mapScene), then the map opens "main" when the game is passed, else the
    // page of the current mode ("mode1", "mode2", "mode3"); both arrive with the level map and menus.
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
    return true; // SCENE LINK: sceneManager.currentScene == &gameScene once the scenes are on main.
}

const char* openPageName() {
    return ""; // MENU LINK: the name of the menu system's current page while one is open.
}

bool cheatKeysEnabled() {
    return false; // SCENE LINK: typedWords.cheatKeyMode once the typed words are on main.
}
