// The game scene: the level being played, with the menus over it. `gameScene` is the one static scene
// object that the scene manager and the other scenes compare with.
#pragma once

#include "app/scene.h"

class GameScene : public Scene {
  public:
    void enter() override;
    void leave() override;
    void draw() override; // the game's frame
    void keyDown(int virtualKey) override;
    void textTyped(const char* text) override;
    void leftDown() override;
    void leftDoubleClick() override;
    void leftUp() override;
    void rightDown() override;
    void rightUp() override;
    void middleDown() override;
    void mouseMove() override;
};

extern GameScene gameScene;

// The game's resources and wiring: the board and HUD pictures, the rules' presentation, the text
// effects' sparkles. Called by the start-up sequence; safe to call again.
void loadGameResources();
void installGameLinks(); // the game's hooks into the scenes and the typed words (gameLinks)
