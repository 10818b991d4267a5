#include "gameplay/game_view.h"

#include "engine/app_state.h"
#include "engine/input.h"

GameView gameView;

void resetGameView() {
    gameView = GameView{};
}

void refreshMousePosition() {
    // Window coordinates through the picture's rectangle (scaled and centred in full screen).
    ScreenPoint p = screenUnitsFromWindow(app.mouseX, app.mouseY, windowPicture());
    gameView.mouseX = p.x;
    gameView.mouseY = p.y;
}

void startShake(int durationMs, float strength) {
    gameView.shakeMs = durationMs;
    gameView.shakeStrength = strength;
}
