#include "gameplay/game_view.h"

#include "engine/input.h"

GameView gameView;

void resetGameView() {
    gameView = GameView{};
}

void refreshMousePosition() {
    ScreenPoint p = mouseInScreenUnits();
    gameView.mouseX = p.x;
    gameView.mouseY = p.y;
}

void startShake(int durationMs, float strength) {
    gameView.shakeMs = durationMs;
    gameView.shakeStrength = strength;
}
