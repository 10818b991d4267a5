#include "app/game_scene.h"

#include <algorithm>

#include "app/typed_words.h"
#include "game/game_state.h"

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
    // A testing aid: only in cheat-key mode does the middle button charge the hammer.
    if (typedWords.cheatKeyMode) game.hammerCharge = std::min(1.0f, game.hammerCharge + 0.2f);
}

void GameScene::mouseMove() {
    // Not yet: mark the menu's hover state for recomputation.
}
