// The scene current from launch: splash pictures, the loading screen and the press-any-key screen.
#pragma once

#include "app/scene.h"

class SplashScene : public Scene {
  public:
    void update() override; // replaces the base update: no typed-letter words here
    void draw() override;
    void keyDown(int virtualKey) override;
    void leftDown() override; // a click acts as the Return key
};

extern SplashScene splashScene;
