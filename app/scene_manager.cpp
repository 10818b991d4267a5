#include "app/scene_manager.h"

#include "app/scene.h"

SceneManager sceneManager;

void requestScene(Scene& target) {
    sceneManager.pendingScene = &target;
    sceneManager.switchPending = true;
}

void performSwitch() {
    if (!sceneManager.switchPending) return;
    // Requesting the current scene is a restart: it leaves and enters again.
    if (sceneManager.currentScene) sceneManager.currentScene->leave();
    sceneManager.pendingScene->enter();
    sceneManager.currentScene = sceneManager.pendingScene;
    sceneManager.switchPending = false;
}

void resetSceneManager() {
    sceneManager = SceneManager{};
}
