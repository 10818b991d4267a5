// A scene that writes every operation it receives into a shared log, for tests of the frame, the main
// loop and the scene switch.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/scene.h"

struct RecordingScene : Scene {
    RecordingScene(const char* name, std::vector<std::string>* log) : name(name), log(log) {}

    void enter() override { note("enter"); }
    void leave() override { note("leave"); }
    void update() override {
        note("update");
        if (onUpdate) onUpdate();
    }
    void draw() override {
        note("draw");
        if (onDraw) onDraw();
    }
    void keyDown(int key) override { note("key" + std::to_string(key)); }
    void leftDown() override { note("leftDown"); }
    void leftDoubleClick() override { note("leftDoubleClick"); }
    void leftUp() override { note("leftUp"); }
    void rightDown() override { note("rightDown"); }
    void rightUp() override { note("rightUp"); }
    void middleDown() override { note("middleDown"); }
    void mouseMove() override { note("mouseMove"); }

    void note(const std::string& what) { log->push_back(std::string(name) + "." + what); }

    const char* name;
    std::vector<std::string>* log;
    std::function<void()> onDraw;   // runs inside draw
    std::function<void()> onUpdate; // runs inside update
};
