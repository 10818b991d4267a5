#include "platform/events.h"

#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

namespace {

SDL_Event key(SDL_Keycode sym, bool repeat = false, Uint32 type = SDL_KEYDOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.repeat = repeat;
    return e;
}

SDL_Event button(Uint32 type, Uint8 which, Uint8 clicks) {
    SDL_Event e{};
    e.type = type;
    e.button.button = which;
    e.button.clicks = clicks;
    return e;
}

SDL_Event windowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

SDL_Event motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

EventKind kindOf(const SDL_Event& e) {
    return translateEvent(e).kind;
}

TEST(KeyTranslation, KeysBecomeTheVirtualKeyCodesTheGameCompares) {
    struct {
        SDL_Keycode sym;
        int code;
    } const table[] = {
        {SDLK_a, 65},        {SDLK_z, 90},      {SDLK_q, 81},        {SDLK_0, 48},      {SDLK_9, 57},
        {SDLK_BACKSPACE, 8}, {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13}, {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32},
        {SDLK_END, 35},      {SDLK_HOME, 36},   {SDLK_LEFT, 37},     {SDLK_UP, 38},     {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},     {SDLK_DELETE, 46}, {SDLK_F1, 112},      {SDLK_F12, 123},   {SDLK_KP_0, 96},
        {SDLK_KP_9, 105},    {SDLK_TAB, 9},     {SDLK_PAGEUP, 33},   {SDLK_INSERT, 45},
    };
    for (const auto& row : table) {
        AppEvent e = translateEvent(key(row.sym));
        EXPECT_EQ(e.kind, EventKind::keyDown) << SDL_GetKeyName(row.sym);
        EXPECT_EQ(e.key, row.code) << SDL_GetKeyName(row.sym);
    }
}

TEST(KeyTranslation, RepeatsCountReleasesAndUnknownKeysDoNot) {
    EXPECT_EQ(translateEvent(key(SDLK_LEFT, true)).key, kKeyLeft);
    EXPECT_EQ(kindOf(key(SDLK_LEFT, false, SDL_KEYUP)), EventKind::none);
    EXPECT_EQ(kindOf(key(SDLK_MENU)), EventKind::none);
    EXPECT_EQ(kindOf(key(0x00E9)), EventKind::none); // a letter outside A..Z ('é')
}

TEST(KeyTranslation, AltF10AndAltChordsBelongToTheSystemNotTheGame) {
    EXPECT_EQ(kindOf(key(SDLK_LALT)), EventKind::none);
    EXPECT_EQ(kindOf(key(SDLK_RALT)), EventKind::none);
    EXPECT_EQ(kindOf(key(SDLK_F10)), EventKind::none);
    for (SDL_Keycode sym : {SDLK_TAB, SDLK_a, SDLK_RETURN, SDLK_SPACE, SDLK_F4}) {
        SDL_Event chord = key(sym);
        chord.key.keysym.mod = KMOD_LALT;
        EXPECT_EQ(kindOf(chord), EventKind::none) << "Alt+" << SDL_GetKeyName(sym);
        chord.key.keysym.mod = KMOD_RALT;
        EXPECT_EQ(kindOf(chord), EventKind::none) << "AltGr+" << SDL_GetKeyName(sym);
    }
    // Shift, Ctrl and the lock keys leave a key the game's.
    SDL_Event shifted = key(SDLK_a);
    shifted.key.keysym.mod = KMOD_LSHIFT | KMOD_CTRL | KMOD_NUM | KMOD_CAPS;
    EXPECT_EQ(translateEvent(shifted).key, kKeyA);
    EXPECT_EQ(translateEvent(key(SDLK_F9)).key, kKeyF1 + 8);
    EXPECT_EQ(translateEvent(key(SDLK_F11)).key, kKeyF1 + 10);
}

TEST(ButtonTranslation, AQuickSecondLeftPressIsADoubleClickInsteadOfAPress) {
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1)), EventKind::leftDown);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2)), EventKind::leftDoubleClick);
    // A third quick press starts a new pair, as double clicks come in pairs.
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3)), EventKind::leftDown);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4)), EventKind::leftDoubleClick);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2)), EventKind::leftUp);
}

TEST(ButtonTranslation, RightAndMiddleButtonsHaveNoDoubleClick) {
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1)), EventKind::rightDown);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2)), EventKind::none);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2)), EventKind::rightUp);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1)), EventKind::middleDown);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1)), EventKind::none);
    EXPECT_EQ(kindOf(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1)), EventKind::none);
}

TEST(WindowTranslation, FocusCloseAndQuit) {
    EXPECT_EQ(kindOf(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)), EventKind::activate);
    EXPECT_EQ(kindOf(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)), EventKind::deactivate);
    EXPECT_EQ(kindOf(windowEvent(SDL_WINDOWEVENT_CLOSE)), EventKind::close);
    EXPECT_EQ(kindOf(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED)), EventKind::resize);
    EXPECT_EQ(kindOf(windowEvent(SDL_WINDOWEVENT_MOVED)), EventKind::none);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(kindOf(quit), EventKind::quit);
}

TEST(MotionTranslation, PositionsStayInWindowPixels) {
    // Mapping to the picture is the input layer's, done once when a reader asks; here it is not done.
    AppEvent e = translateEvent(motion(1679, 1079));
    EXPECT_EQ(e.kind, EventKind::mouseMove);
    EXPECT_EQ(e.x, 1679);
    EXPECT_EQ(e.y, 1079);
    e = translateEvent(motion(-5, 3));
    EXPECT_EQ(e.x, -5);
    EXPECT_EQ(e.y, 3);
}

} // namespace
