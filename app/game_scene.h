// The game scene: the level being played, with the menus over it.
#pragma once

#include "app/scene.h"

class GameScene : public Scene {
  public:
    void enter() override;
    void leave() override;
    void draw() override;
    void keyDown(int virtualKey) override;
    void leftDown() override;
    void leftDoubleClick() override;
    void leftUp() override;
    void rightDown() override;
    void rightUp() override;
    void middleDown() override;
    void mouseMove() override;
};

extern GameScene gameScene;
