#include "app/splash_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/menu_host.h"
#include "app/startup.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "engine/texture.h"
#include "platform/events.h"
#include "player/settings.h"
#include "ui/level_map.h"
#include "visuals/particle_sheet.h"

SplashScene splashScene;
SplashState splash;

namespace {

constexpr float kSplashMs = 4000;
constexpr float kSplashFadeStartMs = 3000;
constexpr float kSplashSkipToMs = 3500;
constexpr float kFinalFadeMs = 800;

uint32_t grey(int g, int a = 255) {
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(g) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(g);
}

// The byte total the data builder counted for a full start-up.
int64_t readExpectedBytes() {
    FILE* f = std::fopen("loadtotal.txt", "rb");
    long long total = 0;
    if (f) {
        if (std::fscanf(f, "%lld", &total) != 1) total = 0;
        std::fclose(f);
    }
    return total > 0 ? total : 1;
}

void drawSplashPicture() {
    clearColor(0xFF000000u);
    begin2D();
    setTextColor(0xFFFFFFFFu);
    setTexture(splash.secondSplash ? splash.splash2 : splash.splash1);
    float f = splash.splashTimeMs <= kSplashFadeStartMs ? 1 : (kSplashMs - splash.splashTimeMs) / 1000;
    int g = static_cast<int>(255 * std::fmax(0.0f, f));
    setRenderState(kPresetFiltering, false);
    setOpaqueDrawing(true);
    drawRect(-400, 300, 400, -300, kWholeTexture, grey(g));
    setOpaqueDrawing(false);
    setRenderState(kPresetFiltering, true);
}

void drawLoadScreen() {
    begin2D();
    setTextColor(0xFFFFFFFFu);
    setTexture(splash.loadScreen);
    setOpaqueDrawing(true);
    drawRect(-400, 300, 400, -300, kWholeTexture, splash.fadeColor);
    // The bar is drawn opaque, as the load screen beneath it.
    float p = std::clamp(loadingProgress(), 0.0f, 1.0f);
    setTexture(splash.loadBar);
    // Half a texel in from the picture's edges: its wrap would blend the far edge into them.
    constexpr float u = 0.5f / 310, v = 0.5f / 48;
    drawRect(6 - 155, -243, 6 - 155 + 310 * p, -243 - 48, {u, v, u + p * (1 - 2 * u), 1 - v},
             splash.fadeColor);
    setOpaqueDrawing(false);
}

} // namespace

void resetSplash() {
    splash = SplashState{};
}

void loadSplashPictures() {
    // The splash pictures are part of what the loading bar counts: read at launch, before the start-up,
    // they are counted without a loading frame; read again by the start-up they are found by name.
    fileRegistry.onFileRegistered = onFileRegistered;
    splash.fadeColor = 0xFFFFFFFFu;
    setCulling(false);
    splash.splash1 = loadPictureSized("splash1.jpg", 800, 600);
    if (FILE* f = std::fopen("splash2.jpg", "rb")) {
        std::fclose(f);
        splash.hasSecondSplash = true;
        splash.splash2 = loadPictureSized("splash2.jpg", 800, 600);
    }
    splash.loadScreen = loadPictureSized("loadscreen.jpg", 800, 600);
    splash.loadBar = loadPictureSized("loadbar.jpg", 310, 48);
    splash.expectedBytes = readExpectedBytes();
}

float loadingProgress() {
    if (splash.pressStarted) return 1;
    return static_cast<float>(static_cast<double>(splash.bytesLoaded) /
                              static_cast<double>(splash.expectedBytes));
}

void onFileRegistered(int size) {
    if (app.startupPending && loadingFrameDue()) {
        // A loading frame when a display frame's time has passed, so the bar moves while the start-up runs
        // and the loading never waits for the display.
        beginScene();
        drawLoadScreen();
        endScene();
        presentFrame();
        loadingFrameDrawn();
    }
    splash.filesLoaded += 1;
    splash.bytesLoaded += size;
}

void advanceSplash(float frameMs) {
    if (splash.splashTimeMs < kSplashMs) {
        splash.splashTimeMs += frameMs;
        if (splash.splashTimeMs >= kSplashMs) {
            if (splash.secondSplash || !splash.hasSecondSplash) {
                app.startupPending = true;
            } else {
                splash.secondSplash = true;
                splash.splashTimeMs = 0;
            }
        }
        return;
    }
    if (!app.startupDone) return; // the start-up runs after this frame
    if (!splash.pressStarted) {
        startMusicSection(2);
        splash.pressStarted = true;
    }
    splash.pressTimeMs += frameMs;
    if (splash.fadeOutMs > 0) {
        splash.fadeOutMs += frameMs;
        if (splash.fadeOutMs > kFinalFadeMs) {
            splash.fadeOutMs = kFinalFadeMs;
            enterMapFromSplash();
        }
    }
    int g = static_cast<int>(255 - splash.fadeOutMs / kFinalFadeMs * 255);
    splash.fadeColor = grey(g);
}

void SplashScene::update() {
    if (pendingKey != 0) {
        if (splash.splashTimeMs < kSplashSkipToMs) {
            splash.splashTimeMs = kSplashSkipToMs; // the picture jumps into its fade
        } else if (splash.fadeOutMs == 0) {
            // In the picture's last half second or while loading: the fade-out starts as soon as the
            // press-any-key stage begins.
            splash.fadeOutMs = 1;
        }
    }
    pendingKey = 0;
}

void SplashScene::draw() {
    if (splash.splashTimeMs < kSplashMs) {
        drawSplashPicture();
        advanceSplash(app.frameTimeMs);
        return;
    }
    advanceSplash(app.frameTimeMs);
    float k = splash.fadeOutMs / kFinalFadeMs;
    clearColor(0xFF000000u);
    drawLoadScreen();
    if (!splash.pressStarted) return;
    begin2D();
    setView(&render.cameraView); // the glows face the camera, in front of it
    float t = splash.pressTimeMs;
    float b = std::fmin(1.0f, t / 1500);
    float c = 10 * std::sin(t * 0.001f);
    int a = static_cast<int>((b * 220 - 3 * c) * (1 - k));
    a = a < 0 ? 0 : a > 255 ? 255 : a;
    uint32_t glow = static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(a / 2) << 16 |
                    static_cast<uint32_t>(a) << 8 | static_cast<uint32_t>(a / 2);
    // The sheet's type 0: their light is added to the picture (laid over it they would stain it).
    drawSheetSprite(12 - 26, -78, b * 160 + c, b * 90 + c, 12, glow, 0);
    drawSheetSprite(12 + 26, -78, b * 160 + c, b * 90 + c, 12, glow, 0);
    setBlendMode(kBlendNormal);
    begin2D();
    setTextColor(255, 255, static_cast<uint8_t>(200 + 55 * std::sin(t * 0.02f)),
                 static_cast<uint8_t>((1 - k) * 255));
    if (const char* press = findText("pressanykey"))
        drawTextCentered(10, -267, 15 + 0.1f * std::sin(t * 0.01f), press);
    setTextColor(0xFFFFFFFFu);
}

void SplashScene::leave() {
    // Four full-view pictures are a good part of the textures; nothing draws them after the splash.
    for (Texture** t : {&splash.splash1, &splash.splash2, &splash.loadScreen, &splash.loadBar}) {
        if (*t) releaseTexture(*t);
        *t = nullptr;
    }
}

void SplashScene::keyDown(int virtualKey) {
    pendingKey = virtualKey;
}

void SplashScene::leftDown() {
    pendingKey = kKeyReturn;
}
