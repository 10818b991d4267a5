// The current scene and the switch between scenes. A switch is only requested; the frame carries it out
// at its very end, so no scene is left in the middle of its own draw or update.
#pragma once

class Scene;

struct SceneManager {
    Scene* currentScene = nullptr; // the scene the frame and the input address
    Scene* pendingScene = nullptr; // target of the last request
    bool switchPending = false;    // a request waits for the end of the frame
};

extern SceneManager sceneManager;

void requestScene(Scene& target); // the last request of a frame wins; the current scene may be requested
void performSwitch();             // leave the current scene, enter the pending one; frame end only
void resetSceneManager();         // no scene current (tests)
