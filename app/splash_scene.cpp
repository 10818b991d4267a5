#include "app/splash_scene.h"

#include "engine/render.h"
#include "platform/events.h"

SplashScene splashScene;

void SplashScene::update() {
    // Not yet: a stored key shortens the splash picture or starts the final fade-out; that comes with
    // the splash timers, the pictures and the start-up sequence.
    pendingKey = 0;
}

void SplashScene::draw() {
    // Not yet: the splash pictures, the loading bar and the press-any-key screen. Until the pictures
    // exist the splash shows its background colour.
    clearColor(0xFF000000u);
}

void SplashScene::keyDown(int virtualKey) {
    pendingKey = virtualKey;
}

void SplashScene::leftDown() {
    pendingKey = kKeyReturn;
}
