#include "platform/gamepad.h"

#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/game_scene.h"
#include "game/live_rules.h"
#include "gameplay/gameplay_fixture.h"
#include "ui/menu_system.h"

namespace {

SDL_Event padButton(Uint8 button, Uint32 type = SDL_CONTROLLERBUTTONDOWN) {
    SDL_Event e{};
    e.type = type;
    e.cbutton.button = button;
    return e;
}

SDL_Event stick(Uint8 axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = axis;
    e.caxis.value = value;
    return e;
}

int keyOf(const SDL_Event& e, PadStick& s) {
    AppEvent a = translatePadEvent(e, s);
    return a.kind == EventKind::keyDown ? a.key : 0;
}

TEST(Gamepad, ButtonsAreTheKeysTheGameKnows) {
    PadStick s;
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_DPAD_UP), s), kKeyUp);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), s), kKeyDown);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT), s), kKeyLeft);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), s), kKeyRight);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_A), s), kKeyReturn);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_B), s), kKeyEscape);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_START), s), kKeyEscape);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_X), s), kKeySpace);
    // Releases, unmapped buttons and events of other devices mean nothing.
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLERBUTTONUP), s), 0);
    EXPECT_EQ(keyOf(padButton(SDL_CONTROLLER_BUTTON_GUIDE), s), 0);
    SDL_Event added{};
    added.type = SDL_CONTROLLERDEVICEADDED;
    EXPECT_EQ(translatePadEvent(added, s).kind, EventKind::none);
}

TEST(Gamepad, TheStickPressesOnceForEachPushAndAgainOnlyAfterComingBack) {
    PadStick s;
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 5000), s), 0) << "a slight lean is not a push";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 25000), s), kKeyRight);
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 32767), s), 0) << "still the same push";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 15000), s), 0) << "not back near the centre yet";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 25000), s), 0);
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 2000), s), 0);
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, 21000), s), kKeyRight) << "a second push";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTX, -32768), s), kKeyLeft) << "straight across";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTY, -30000), s), kKeyUp) << "the axes are apart";
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTY, 0), s), 0);
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_LEFTY, 30000), s), kKeyDown);
    EXPECT_EQ(keyOf(stick(SDL_CONTROLLER_AXIS_RIGHTX, 30000), s), 0) << "the right stick is not used";
}

class GamepadPlay : public GameplayTest {
  protected:
    PadStick s;
    void pad(const SDL_Event& e) {
        AppEvent a = translatePadEvent(e, s);
        if (a.kind == EventKind::keyDown) gameScene.keyDown(a.key);
    }
};

TEST_F(GamepadPlay, APadPlaysAMoveOnTheBoard) {
    loadPicture("a--\n"
                "---\n",
                kPlayLeft, kPlayTop, true);
    game.running = true;
    mouseOnCell(kPlayLeft, kPlayTop);
    pad(padButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)); // shows the cursor cell under the mouse
    ASSERT_TRUE(boardInput.keyCursorShown);
    pad(padButton(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(game.selectedX, kPlayLeft);
    EXPECT_EQ(game.selectedY, kPlayTop);
    pad(stick(SDL_CONTROLLER_AXIS_LEFTX, 30000));
    pad(stick(SDL_CONTROLLER_AXIS_LEFTX, 0));
    pad(stick(SDL_CONTROLLER_AXIS_LEFTY, 30000));
    EXPECT_EQ(boardInput.keyCursorX, kPlayLeft + 1);
    EXPECT_EQ(boardInput.keyCursorY, kPlayTop + 1);
    pad(padButton(SDL_CONTROLLER_BUTTON_A));
    EXPECT_TRUE(game.ballMoving);
    EXPECT_EQ(liveRules.at(kPlayLeft, kPlayTop).ball.moveTargetX, kPlayLeft + 1);
    EXPECT_EQ(liveRules.at(kPlayLeft, kPlayTop).ball.moveTargetY, kPlayTop + 1);
}

} // namespace
