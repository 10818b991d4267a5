#include "app/map_scene.h"

MapScene mapScene;

// Not yet: the level map, the menus, particle effects, scenery and sounds fill these operations in. What
// stands here is what the scene does without them.

void MapScene::enter() {
    // Not yet: clear all particle effects; scenery colour to white and load the map's animated background;
    // stop every sound sample that is playing.
}

void MapScene::leave() {
    // Not yet: clear all particle effects.
}

void MapScene::update() {
    // Not yet: pendingKey goes to the menu's key input first.
    Scene::update();
    pendingKey = 0;
}

void MapScene::draw() {
    // Not yet: the level map and the menu page over it.
}

void MapScene::keyDown(int virtualKey) {
    pendingKey = virtualKey;
}

void MapScene::leftDown() {
    // Not yet: the map click.
}

void MapScene::leftDoubleClick() {
    // Not yet: the map double click.
}

void MapScene::leftUp() {
    // Not yet: the menu's button release.
}

void MapScene::mouseMove() {
    // Not yet: mark the menu's hover state for recomputation.
}
