// The level-map scene: the map of the mode's levels with the menus over it.
#pragma once

#include "app/scene.h"

class MapScene : public Scene {
  public:
    void enter() override;
    void leave() override;
    void update() override;
    void draw() override;
    void keyDown(int virtualKey) override;
    void leftDown() override;
    void leftDoubleClick() override;
    void leftUp() override;
    void rightDown() override;
    void mouseMove() override;
    void textTyped(const char* text) override;
};

extern MapScene mapScene;
