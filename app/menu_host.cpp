// The menus' links to the scenes and the rules.
#include "app/menu_host.h"

#include <SDL2/SDL.h>

#include "app/game_scene.h"
#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "app/typed_words.h"
#include "engine/audio.h"
#include "engine/render.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/saved_game.h"
#include "gameplay/game_presentation.h"
#include "gameplay/help_demo.h"
#include "gameplay/help_page.h"
#include "player/profile.h"
#include "player/settings.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "visuals/scenery.h"

namespace {

bool gameSceneCurrent() {
    return sceneManager.currentScene == &gameScene;
}

void showMap() {
    requestScene(mapScene);
}

void playLevel(int level) {
    game.mode = currentProfile().profileMode;
    game.ballSpeed = settings.ballSpeed;
    startLevel(liveRules, level);
    requestScene(gameScene);
}

bool resumeSavedGame() {
    game.mode = currentProfile().profileMode;
    game.ballSpeed = settings.ballSpeed;
    if (!resumeGame(liveRules)) return false;
    requestScene(gameScene);
    return true;
}

bool saveRunningGame() {
    return gameSceneCurrent() && saveGame(liveRules, levelCompletePageShown());
}

void restartLevel() {
    startLevel(liveRules, game.levelIndex);
}

void giveUpLevel() {
    loseLife(liveRules);
}

void applyScreenMode() {
    requestDisplayReset(settings.fullScreen);
}

void applyCursor() {
    // The drawn cursor replaces the system's arrow.
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(settings.customCursor ? SDL_DISABLE : SDL_ENABLE);
}

bool typedAllLevelsOpen() {
    return typedWords.allLevelsOpen;
}

bool helpDemoRunning() {
    return helpDemo.demoRunning;
}

} // namespace

void installMenuHost() {
    menuHost = MenuHost{
        gameSceneCurrent,   showMap,
        playLevel,          resumeSavedGame,
        saveRunningGame,    restartLevel,
        giveUpLevel,        helpPageStart,
        helpPageStop,       announceNextStage,
        applyScreenMode,    applyCursor,
        drawHelpPage,       requestBackgroundChange,
        typedAllLevelsOpen, helpDemoRunning,
    };
}

void enterMapFromSplash() {
    requestScene(mapScene);
    requestMusicSection(2);
    openPage(settings.profileCount > 0 ? MenuId::Main : MenuId::NewProfile);
}
