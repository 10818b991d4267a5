#include "gameplay/game_view.h"

#include "engine/app_state.h"

GameView gameView;

void resetGameView() {
    gameView = GameView{};
}

void refreshMousePosition() {
    // Client pixels of the 800 x 600 picture to scene units: origin at the centre, y upward.
    gameView.mouseX = static_cast<float>(app.mouseX) - 400.0f;
    gameView.mouseY = 300.0f - static_cast<float>(app.mouseY);
}

void startShake(int durationMs, float strength) {
    gameView.shakeMs = durationMs;
    gameView.shakeStrength = strength;
}
