#include "gameplay/game_view.h"

#include "engine/input.h"
#include "player/comfort.h"

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
    if (comfort.reduceFlashes) return; // the blast is seen and heard; the screen keeps still
    gameView.shakeMs = durationMs;
    gameView.shakeStrength = strength;
}
