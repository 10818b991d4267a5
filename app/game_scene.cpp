#include "app/game_scene.h"

GameScene gameScene;

// Not yet: the board, its view and input, the heads-up display and the menus fill these operations in.
// The update is the base update (typed letters, waiting background).

void GameScene::enter() {}

void GameScene::leave() {}

void GameScene::draw() {
    // Not yet: the game's frame.
}

void GameScene::keyDown(int virtualKey) {
    // Not yet: the key goes to the menu when a page has the input, else to the board's key handler.
    pendingKey = virtualKey;
}

void GameScene::leftDown() {
    // Not yet: board input.
}

void GameScene::leftDoubleClick() {
    // Not yet: board double click, only while no menu page is shown and none has the input.
}

void GameScene::leftUp() {
    // Not yet: board release, then the menu's button release.
}

void GameScene::rightDown() {
    // Not yet: board right click.
}

void GameScene::rightUp() {
    // Not yet: board right release.
}

void GameScene::middleDown() {
    // Not yet: in cheat-key mode (typedWords.cheatKeyMode) the hammer charge grows by 0.2, at most 1.
}

void GameScene::mouseMove() {
    // Not yet: mark the menu's hover state for recomputation.
}
