// The scene current from launch: splash pictures, the loading screen and the press-any-key screen.
#pragma once

#include <cstdint>

#include "app/scene.h"

struct Texture;

class SplashScene : public Scene {
  public:
    void update() override; // replaces the base update: no typed-letter words here
    void draw() override;
    void keyDown(int virtualKey) override;
    void leftDown() override; // a click acts as the Return key
    void leave() override;    // the splash is never shown again: its four pictures are released
};

extern SplashScene splashScene;

struct SplashState {
    float splashTimeMs = 0;       // time the current splash picture has been shown
    bool secondSplash = false;    // the second picture is showing
    bool hasSecondSplash = false; // "splash2.jpg" lies in the data folder
    bool pressStarted = false;    // the press-any-key stage has begun
    float pressTimeMs = 0;        // time since that stage began
    float fadeOutMs = 0;          // 0 until a key in that stage; then up to 800
    uint32_t fadeColor = 0xFFFFFFFFu;
    int filesLoaded = 0; // counted on every registration during the start-up
    int64_t bytesLoaded = 0;
    int64_t expectedBytes = 1; // the full start-up's byte total, from "loadtotal.txt"
    Texture* splash1 = nullptr;
    Texture* splash2 = nullptr;
    Texture* loadScreen = nullptr;
    Texture* loadBar = nullptr;
};

extern SplashState splash;

void resetSplash();                // launch values (tests)
void loadSplashPictures();         // the pictures from the data folder (again after the start-up, by name)
void onFileRegistered(int size);   // the registry's report: one loading frame while the start-up runs
float loadingProgress();           // the bar's fill, 0..1 and beyond; 1 once the press stage begins
void advanceSplash(float frameMs); // the timers of one frame without drawing (tests and draw)
