#include "app/game_scene.h"

#include "app/scene_manager.h"
#include "app/typed_words.h"
#include "engine/text_effects.h"
#include "game/board_keys.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/presentation_events.h"
#include "gameplay/board_input.h"
#include "gameplay/game_flow.h"
#include "gameplay/game_frame.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/system_cursor.h"
#include "ui/menu_system.h"
#include "visuals/game_textures.h"
#include "visuals/quick_effects.h"

GameScene gameScene;

namespace {

bool gameSceneCurrent() {
    return sceneManager.currentScene == &gameScene;
}

bool cheatKeys() {
    return typedWords.cheatKeyMode;
}

} // namespace

void installGameLinks() {
    gameLinks = GameLinks{gameSceneCurrent, cheatKeys};
}

void loadGameResources() {
    installGameLinks();
    if (!gameTextures.loaded) loadGameTextures();
    loadSystemCursors();
    boardInput.applySystemCursor = applySystemCursor;
    liveRules.presentation = &gamePresentation;
    textEffects.spawnQuick = spawnQuick;
}

void GameScene::enter() {}

void GameScene::leave() {}

void GameScene::draw() {
    runGameFrame();
}

void GameScene::textTyped(const char* text) {
    if (game.menuOpen) menuText(text); // a page's name editor; the board takes keys, not text
}

void GameScene::keyDown(int virtualKey) {
    pendingKey = virtualKey; // also for the typed words of the update
    if (game.menuOpen) {
        menuKey(static_cast<unsigned>(virtualKey));
        return;
    }
    if (boardTakesKey(virtualKey)) {
        boardKey(virtualKey); // the arrows' cursor cell; the board's other keys are untouched
    } else {
        onGameKey(liveRules, virtualKey, cheatKeysEnabled());
    }
    syncCursor(); // Space puts the hammer and the help cursor down, Return may arm or use them
}

void GameScene::leftDown() {
    refreshMousePosition();
    boardLeftDown();
}

void GameScene::leftDoubleClick() {
    refreshMousePosition();
    if (!game.menuOpen) boardDoubleClick();
}

void GameScene::leftUp() {
    refreshMousePosition();
    boardLeftUp();
}

void GameScene::rightDown() {
    refreshMousePosition();
    boardRightDown();
}

void GameScene::rightUp() {
    boardRightUp();
}

void GameScene::middleDown() {
    boardMiddleDown(typedWords.cheatKeyMode);
}

void GameScene::mouseMove() {
    refreshMousePosition();
    boardMouseMoved();
    menuMouseMove();
}
