#include "app/window_messages.h"

#include "app/frame.h"
#include "app/scene.h"
#include "app/scene_manager.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/limits.h"
#include "engine/render.h"
#include "engine/windows1252.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/saved_game.h"
#include "gameplay/game_presentation.h"
#include "platform/clock.h"
#include "platform/window.h"

void handleAppEvent(const AppEvent& event) {
    Scene* scene = sceneManager.currentScene;
    switch (event.kind) {
    case EventKind::activate:
        // The window keeps its cursor (hidden under the drawn one) across focus changes: nothing to set.
        resumeAudio();
        app.appActive = true;
        restartFrameClock(clockMs()); // the time spent inactive never reaches the game
        break;
    case EventKind::deactivate:
        game.selectedX = -1; // the board's selection does not outlive the focus
        game.selectedY = -1;
        pauseAudio();
        app.appActive = false;
        break;
    case EventKind::resize:
        // The picture keeps its 800 x 600 shape whatever the window's size, and so does the projection.
        setPerspective(kScreenWidth, kScreenHeight);
        noteWindowResized(); // the window's size is kept for the next run
        break;
    case EventKind::close:
        saveGame(liveRules, levelCompletePageShown()); // a level in progress is kept; the saved game refuses
                                                       // when there is none to keep
        app.quitRequested = true;
        break;
    case EventKind::quit:
        app.quitRequested = true;
        break;
    case EventKind::keyDown:
        scene->keyDown(event.key);
        break;
    case EventKind::textInput: {
        char typed[sizeof event.text];
        if (utf8ToWindows1252(event.text, typed, sizeof typed) > 0) scene->textTyped(typed);
        break;
    }
    case EventKind::mouseMove:
        app.mouseX = event.x;
        app.mouseY = event.y;
        scene->mouseMove();
        break;
    case EventKind::leftDown:
        scene->leftDown();
        break;
    case EventKind::leftDoubleClick:
        scene->leftDoubleClick();
        break;
    case EventKind::leftUp:
        scene->leftUp();
        break;
    case EventKind::rightDown:
        scene->rightDown();
        break;
    case EventKind::rightUp:
        scene->rightUp();
        break;
    case EventKind::middleDown:
        scene->middleDown();
        break;
    case EventKind::none:
        break;
    }
}
