#include "platform/events.h"

#include <SDL2/SDL_events.h>
#include <cstring>

#include "platform/gamepad.h"
#include "platform/headless.h"

namespace {

AppEvent make(EventKind kind) {
    AppEvent e;
    e.kind = kind;
    return e;
}

} // namespace

int virtualKeyCode(int k) {
    if (k >= SDLK_a && k <= SDLK_z) return kKeyA + (k - SDLK_a); // letters arrive upper-case
    if (k >= SDLK_0 && k <= SDLK_9) return kKey0 + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return kKeyF1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return kKeyNumpad0 + 1 + (k - SDLK_KP_1);
    switch (k) {
    case SDLK_BACKSPACE:
        return kKeyBackspace;
    case SDLK_TAB:
        return kKeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return kKeyReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return kKeyShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return kKeyControl;
    case SDLK_PAUSE:
        return 19;
    case SDLK_CAPSLOCK:
        return 20;
    case SDLK_ESCAPE:
        return kKeyEscape;
    case SDLK_SPACE:
        return kKeySpace;
    case SDLK_PAGEUP:
        return kKeyPageUp;
    case SDLK_PAGEDOWN:
        return kKeyPageDown;
    case SDLK_END:
        return kKeyEnd;
    case SDLK_HOME:
        return kKeyHome;
    case SDLK_LEFT:
        return kKeyLeft;
    case SDLK_UP:
        return kKeyUp;
    case SDLK_RIGHT:
        return kKeyRight;
    case SDLK_DOWN:
        return kKeyDown;
    case SDLK_INSERT:
        return kKeyInsert;
    case SDLK_DELETE:
        return kKeyDelete;
    case SDLK_KP_0:
        return kKeyNumpad0;
    case SDLK_KP_MULTIPLY:
        return 106;
    case SDLK_KP_PLUS:
        return 107;
    case SDLK_KP_MINUS:
        return 109;
    case SDLK_KP_PERIOD:
        return 110;
    case SDLK_KP_DIVIDE:
        return 111;
    case SDLK_SEMICOLON:
        return 186;
    case SDLK_EQUALS:
        return 187;
    case SDLK_COMMA:
        return 188;
    case SDLK_MINUS:
        return 189;
    case SDLK_PERIOD:
        return 190;
    case SDLK_SLASH:
        return 191;
    case SDLK_BACKQUOTE:
        return 192;
    case SDLK_LEFTBRACKET:
        return 219;
    case SDLK_BACKSLASH:
        return 220;
    case SDLK_RIGHTBRACKET:
        return 221;
    case SDLK_QUOTE:
        return 222;
    default:
        return 0;
    }
}

AppEvent translateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        return make(EventKind::quit);
    case SDL_KEYDOWN: {
        // Auto-repeat counts as further presses; key releases are not the game's. Alt, F10
        // and every key pressed with Alt are the system's keys (the window menu, Alt+Tab, Alt+F4): they
        // never reach the scenes.
        if ((event.key.keysym.mod & KMOD_ALT) != 0 || event.key.keysym.sym == SDLK_F10)
            return make(EventKind::none);
        int code = virtualKeyCode(event.key.keysym.sym);
        if (code == 0) return make(EventKind::none);
        AppEvent e = make(EventKind::keyDown);
        e.key = code;
        return e;
    }
    case SDL_TEXTINPUT: {
        AppEvent e = make(EventKind::textInput);
        std::memcpy(e.text, event.text.text, sizeof e.text - 1);
        return e;
    }
    case SDL_MOUSEMOTION: {
        AppEvent e = make(EventKind::mouseMove);
        e.x = event.motion.x;
        e.y = event.motion.y;
        return e;
    }
    case SDL_MOUSEBUTTONDOWN: {
        // A quick second press is a double click and comes instead of the press, as with a window class
        // that asks for double clicks; the next quick press starts a new pair. The right and middle
        // buttons' double clicks are not handled by the game, so their second press is dropped.
        bool second = event.button.clicks >= 2 && event.button.clicks % 2 == 0;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            return make(second ? EventKind::leftDoubleClick : EventKind::leftDown);
        case SDL_BUTTON_RIGHT:
            return make(second ? EventKind::none : EventKind::rightDown);
        case SDL_BUTTON_MIDDLE:
            return make(second ? EventKind::none : EventKind::middleDown);
        default:
            return make(EventKind::none);
        }
    }
    case SDL_MOUSEBUTTONUP:
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            return make(EventKind::leftUp);
        case SDL_BUTTON_RIGHT:
            return make(EventKind::rightUp);
        default:
            return make(EventKind::none);
        }
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            return make(EventKind::activate);
        case SDL_WINDOWEVENT_FOCUS_LOST:
            return make(EventKind::deactivate);
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return make(EventKind::resize);
        case SDL_WINDOWEVENT_CLOSE:
            return make(EventKind::close);
        default:
            return make(EventKind::none);
        }
    default:
        return make(EventKind::none);
    }
}

bool pollAppEvent(AppEvent* event) {
    if (headless.installed) return takeHeadlessEvent(event);
    if (!windowOpen()) return false;
    SDL_Event sdlEvent;
    if (!SDL_PollEvent(&sdlEvent)) return false;
    *event = translateEvent(sdlEvent);
    if (event->kind == EventKind::none) *event = gamepadEvent(sdlEvent); // a pad's buttons and stick
    return true;
}
