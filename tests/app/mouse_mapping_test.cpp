// The road of a mouse position from the window's event to every reader: the window hands on window
// pixels, and the board, the panel, the drawn cursor and the menus all see the same screen point, mapped
// once through the picture's rectangle, on every window size players have.
#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/recording_scene.h"
#include "app/scene_manager.h"
#include "app/window_messages.h"
#include "engine/app_state.h"
#include "engine/input.h"
#include "gameplay/game_view.h"
#include "platform/headless.h"
#include "ui/menu_system.h"

namespace {

struct WindowSize {
    int width, height;
};

// Full screen 1920 x 1080 (bars left and right), 1024 x 1000 (bars above and below), a resized window of
// 1000 x 700 (a scale that is not a whole number of pixels) and the plain 800 x 600 window.
const WindowSize kSizes[] = {{1920, 1080}, {1024, 1000}, {1000, 700}, {800, 600}};

struct ScreenSpot {
    float x, y;
};

// The picture's corners and centre, the panel's Menu button, a board cell's centre and a point inside
// the board's first column.
const ScreenSpot kSpots[] = {{-400, 300}, {399, -299}, {0, 0}, {345, -30}, {-240, 160}, {-379, 0}};

class MouseMapping : public testing::Test {
  protected:
    std::vector<std::string> log;
    RecordingScene scene{"scene", &log};

    void SetUp() override {
        installHeadlessPlatform();
        resetAppState();
        resetSceneManager();
        resetGameView();
        sceneManager.currentScene = &scene;
    }
    void TearDown() override {
        resetSceneManager();
        removeHeadlessPlatform();
    }

    // The window's motion event at the pixel where a screen point is drawn, through the window procedure.
    void moveTo(const ViewRect& picture, const ScreenSpot& s) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = picture.x + static_cast<int>(std::floor((s.x + 400) * picture.w / 800));
        e.motion.y = picture.y + static_cast<int>(std::floor((300 - s.y) * picture.h / 600));
        handleAppEvent(translateEvent(e));
        refreshMousePosition(); // the game scene's reader
    }
};

TEST_F(MouseMapping, EveryReaderSeesThePointWhereThePointerIsDrawn) {
    for (const WindowSize& size : kSizes) {
        const ViewRect picture = fitPicture(size.width, size.height);
        headless.picture = picture;
        // One window pixel is this many screen units; the pointer lies within it.
        const float pixel = 800.0f / static_cast<float>(picture.w) + 0.001f;
        for (const ScreenSpot& s : kSpots) {
            moveTo(picture, s);
            SCOPED_TRACE(testing::Message()
                         << size.width << " x " << size.height << " at " << s.x << ", " << s.y);
            EXPECT_NEAR(gameView.mouseX, s.x, pixel);
            EXPECT_NEAR(gameView.mouseY, s.y, pixel);
            MenuPoint m = menuMouse();
            EXPECT_FLOAT_EQ(m.x, gameView.mouseX);
            EXPECT_FLOAT_EQ(m.y, gameView.mouseY);
            ScreenPoint p = mouseInScreenUnits();
            EXPECT_FLOAT_EQ(p.x, gameView.mouseX);
            EXPECT_FLOAT_EQ(p.y, gameView.mouseY);
        }
    }
}

TEST_F(MouseMapping, APointerOnABarIsOffTheScreenForEveryReader) {
    headless.picture = fitPicture(1920, 1080); // bars of 240 pixels left and right
    handleAppEvent(translateEvent([] {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = 100;
        e.motion.y = 540;
        return e;
    }()));
    refreshMousePosition();
    EXPECT_LT(gameView.mouseX, -400);
    EXPECT_LT(menuMouse().x, -400);
    headless.picture = fitPicture(1024, 1000); // bars of 116 pixels above and below
    app.mouseX = 512;
    app.mouseY = 40;
    refreshMousePosition();
    EXPECT_GT(gameView.mouseY, 300);
    EXPECT_GT(menuMouse().y, 300);
}

TEST_F(MouseMapping, AResizedWindowMapsTheRestingPointerThroughItsNewPicture) {
    headless.picture = fitPicture(800, 600);
    app.mouseX = 500; // the pointer rests at the window's pixel (500, 350) while the window grows
    app.mouseY = 350;
    EXPECT_FLOAT_EQ(menuMouse().x, 100);
    headless.picture = fitPicture(1000, 700); // picture 933 x 700 from x = 33
    EXPECT_NEAR(menuMouse().x, (500 - 33) * 800.0f / 933 - 400, 0.001f);
    EXPECT_NEAR(menuMouse().y, 300 - 350 * 600.0f / 700, 0.001f);
}

} // namespace
