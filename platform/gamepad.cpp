#include "platform/gamepad.h"

#include <SDL2/SDL.h>

namespace {

constexpr int kMaxPads = 4;

struct Gamepads {
    bool started = false;
    SDL_GameController* open[kMaxPads] = {};
    PadStick stick;
};
Gamepads pads;

AppEvent key(int code) {
    AppEvent e;
    e.kind = EventKind::keyDown;
    e.key = code;
    return e;
}

int buttonKey(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return kKeyUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return kKeyDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return kKeyLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kKeyRight;
    case SDL_CONTROLLER_BUTTON_A:
        return kKeyReturn;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_START:
        return kKeyEscape;
    case SDL_CONTROLLER_BUTTON_X:
        return kKeySpace;
    default:
        return 0;
    }
}

// One axis of the stick: the arrow of a new push, 0 when nothing new happened.
int stickKey(int value, int& direction, int negativeKey, int positiveKey) {
    int pushed = value >= kStickPress ? 1 : value <= -kStickPress ? -1 : 0;
    if (pushed != 0 && pushed != direction) {
        direction = pushed;
        return pushed > 0 ? positiveKey : negativeKey;
    }
    if (value > -kStickRelease && value < kStickRelease) direction = 0;
    return 0;
}

} // namespace

AppEvent translatePadEvent(const SDL_Event& event, PadStick& stick) {
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN: {
        int code = buttonKey(event.cbutton.button);
        return code ? key(code) : AppEvent{};
    }
    case SDL_CONTROLLERAXISMOTION: {
        int code = 0;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            code = stickKey(event.caxis.value, stick.x, kKeyLeft, kKeyRight);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            code = stickKey(event.caxis.value, stick.y, kKeyUp, kKeyDown);
        return code ? key(code) : AppEvent{};
    }
    default:
        return AppEvent{};
    }
}

void startGamepads() {
    if (pads.started) return;
    // A system without controller support still plays with the keyboard and mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        SDL_Log("no game controllers: %s", SDL_GetError());
        return;
    }
    pads.started = true; // pads present now are reported as added with the first events
}

void stopGamepads() {
    for (SDL_GameController*& c : pads.open) {
        if (c) SDL_GameControllerClose(c);
        c = nullptr;
    }
    if (pads.started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    pads = Gamepads{};
}

AppEvent gamepadEvent(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_GameController* c = SDL_GameControllerOpen(event.cdevice.which);
        if (!c) return AppEvent{};
        for (SDL_GameController*& slot : pads.open) {
            if (slot == c) {
                SDL_GameControllerClose(c); // reported twice: the second open only counted a reference
                return AppEvent{};
            }
        }
        for (SDL_GameController*& slot : pads.open) {
            if (!slot) {
                slot = c;
                return AppEvent{};
            }
        }
        SDL_GameControllerClose(c); // more pads than we keep
        return AppEvent{};
    }
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* gone = SDL_GameControllerFromInstanceID(event.cdevice.which);
        for (SDL_GameController*& slot : pads.open) {
            if (slot && slot == gone) {
                SDL_GameControllerClose(slot);
                slot = nullptr;
            }
        }
        pads.stick = PadStick{};
        return AppEvent{};
    }
    return translatePadEvent(event, pads.stick);
}
