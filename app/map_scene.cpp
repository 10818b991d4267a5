#include "app/map_scene.h"

#include "engine/audio.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "visuals/particle_effects.h"
#include "visuals/scenery.h"

MapScene mapScene;

void MapScene::enter() {
    clearEffects();
    setSceneryForMenus(); // white, and the menus' own landscape
    stopAllSounds();
}

void MapScene::leave() {
    clearEffects();
}

void MapScene::update() {
    Scene::update();
    pendingKey = 0;
}

void MapScene::draw() {
    drawMap();
}

void MapScene::keyDown(int virtualKey) {
    pendingKey = virtualKey; // the typed-letter words of the update
    menuKey(static_cast<unsigned>(virtualKey));
}

void MapScene::textTyped(const char* text) {
    menuText(text);
}

void MapScene::leftDown() {
    menuClick();
}

void MapScene::leftDoubleClick() {
    menuDoubleClick();
}

void MapScene::rightDown() {
    menuRightClick();
}

void MapScene::leftUp() {
    menuButtonUp();
}

void MapScene::mouseMove() {
    menuMouseMove();
}
