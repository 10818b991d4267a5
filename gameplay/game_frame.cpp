#include "gameplay/game_frame.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/mat4x4.hpp>

#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/lightning.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/text_effects.h"
#include "game/autosave.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/rules_step.h"
#include "gameplay/beams.h"
#include "gameplay/board_input.h"
#include "gameplay/board_view.h"
#include "gameplay/game_flow.h"
#include "gameplay/game_presentation.h"
#include "gameplay/game_view.h"
#include "gameplay/hud.h"
#include "gameplay/tips.h"
#include "player/profile.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"
#include "visuals/quick_effects.h"
#include "visuals/scenery.h"

namespace {
constexpr uint32_t kClearColour = 0xFF9696FF; // light red-blue behind everything
constexpr float kMenuFadeMs = 300;
constexpr int kCursorBurst = 32;

void bookkeeping() {
    gameView.animClock += app.frameTimeMs;
    advanceHeldTime(app.frameTimeMs);
    playAmbientSounds(profileLevel() / kLevelsPerZone, game.gamePassed); // before their clock advances
    gameView.ambientMs += static_cast<int>(app.frameDeltaMs);
    refreshMousePosition();
    updateAudio();
    // The rules' whole frame runs here in its own order (idle timer, level bar, sequences, fades, board
    // sweep, removal queue, level bar display, bar stars, play time), exactly as the simulator runs it;
    // everything after this only draws what it left and advances presentation clocks.
    liveRules.pointsCount = gameSceneIsCurrent(); // points and saves count only in the game scene
    liveRules.frameMs = app.frameTimeMs;
    liveRules.frameDeltaMs = app.frameDeltaMs;
    rulesFrame(liveRules, tipShownNow());
    autosaveFrame(liveRules, levelCompletePageShown()); // a completed move is on the disk before the next one
    if (game.defeatCountdownMs < 0) gameView.boardGreyed = true; // the defeat sequence has ended
    syncCursor(); // the rules may have put the hammer down or opened a page
}

// The board's jolt after a bomb; returns the translation of the board for this frame.
glm::vec2 shakeStep() {
    // The shake of the board clear at the level's end is held back for good: the board has gone.
    if (completeSequenceStarted(liveRules) || gameView.shakeMs <= 0) return glm::vec2(0.0f);
    int before = gameView.shakeMs;
    int after = before - static_cast<int>(app.frameDeltaMs);
    if (after < 0) after = 0;
    // SCENERY LINK: the scenery is drawn under a random scale of 1 + 0..(shakeMs x 0.02 / 800) per axis.
    if (before / 20 != after / 20) {
        gameView.joltX = randomSigned(1.0f);
        gameView.joltY = randomSigned(1.0f);
    }
    float size = 5 * (static_cast<float>(before) / 800) * gameView.shakeStrength;
    gameView.shakeMs = after;
    return glm::vec2(gameView.joltX * size, gameView.joltY * size);
}

// The board's tint: white or green-grey after a defeat, faded out behind an open menu.
float menuFadeAlpha() {
    if (!game.menuOpen && game.menuFadeMs <= 0) return 1;
    float alpha = 1 - game.menuFadeMs / kMenuFadeMs;
    return alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
}

void drawBoardStep(const glm::vec2& jolt) {
    float alpha = menuFadeAlpha();
    gameView.boardTintAlpha = alpha;
    if (alpha <= 0) return; // hidden behind the menu
    render.tint =
        gameView.boardGreyed ? glm::vec4(0.2f, 1.0f, 0.2f, alpha) : glm::vec4(1.0f, 1.0f, 1.0f, alpha);
    glm::mat4 world = glm::translate(glm::mat4(1.0f), glm::vec3(jolt, 0.0f));
    setWorld(&world);
    drawBoard(liveRules);
    setWorld(nullptr);
    render.tint = glm::vec4(1.0f);
}

void drawRemovalsAndBeams() {
    if (liveRules.helpPageOpen) return;
    drawRemovalAnimations();
    queueBeams();
    setRenderState(kPresetAlphaTest, false);
    drawLightning();
    setupGameRender();
}

void cursorModeBurst() {
    if (game.cursorMode == gameView.lastHammerMode) return;
    for (int i = 0; i < kCursorBurst; ++i) {
        spawnQuick(gameView.mouseX + randomUnit(32.0f), gameView.mouseY - randomUnit(50.0f), 10);
    }
    gameView.lastHammerMode = game.cursorMode;
}

bool sequenceRunning() {
    return game.completeCountdownMs > 0 || game.defeatCountdownMs > 0;
}

void tipOrTooltip() {
    if (tips.active) {
        drawTip(0);
        return;
    }
    if (!game.menuOpen && !sequenceRunning() && game.running &&
        insideRect(gameView.helpButton, gameView.mouseX, gameView.mouseY)) {
        drawTooltip();
    }
}

// The particle system advances before it is drawn, so every sprite is drawn in the frame that made it.
// Behind an open menu the particles age on but their sprites are dropped: none is kept for a later frame.
void particleStep() {
    if (liveRules.helpPageOpen) return;
    updateEffects();
    if (game.menuOpen) {
        particleSystem.drawList.clear();
        quickEffects.queue.clear();
        return;
    }
    drawEffects();
    drawQuick();
}

void firstHelp() {
    int mode = game.mode >= 0 && game.mode < kModeCount ? game.mode : 0;
    Profile& profile = currentProfile();
    if (!profile.showHelp[mode]) return;
    profile.showHelp[mode] = 0;
    openGamePage(MenuId::HelpScreen);
}
} // namespace

void setupGameRender() {
    begin2D();
    setCulling(false);
    setRenderState(kPresetLighting, false);
    setRenderState(kPresetDepthTest, false);
    setRenderState(kPresetDepthWrite, false);
    setRenderState(kPresetAlphaTest, true);
    setAlphaReference(1);
    setRenderState(kPresetAlphaBlend, true);
    setBlendMode(kBlendNormal);
    glm::mat4 view = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 50.0f));
    setView(&view);
    setOrthographic(800, 600, 1, 100);
}

void runGameFrame() {
    bookkeeping();            // 1
    clearColor(kClearColour); // 2
    setupGameRender();
    {
        // 3: the scenery under a random scale while the board shakes, dimmed behind an open menu.
        float a =
            !completeSequenceStarted(liveRules) && gameView.shakeMs > 0 ? gameView.shakeMs * 0.02f / 800 : 0;
        setSceneryMenuFade(menuFadeAlpha());
        drawScenery(1 + randomUnit(a), 1 + randomUnit(a));
    }
    glm::vec2 jolt = shakeStep(); // 3
    drawBoardStep(jolt);          // 4, 5
    drawRemovalsAndBeams();       // 6
    drawHud();                    // 7
    drawProgressBar();
    drawScoreNumbers(); // 8
    setRenderState(kPresetAlphaTest, true);
    drawLetterTexts();
    drawBottomMessage();
    cursorModeBurst(); // 9
    particleStep();    // 10 and 16
    setupGameRender();
    tipOrTooltip();                     // 11
    drawPauseTexts();                   // 12 (the play time advanced with the rules' frame)
    firstHelp();                        // 13
    drawPopupTexts();                   // 14
    if (game.menuOpen || menuShown()) { // 15
        menuUpdate();
        menuDraw();
    }
    drawCursor(gameView.mouseX, gameView.mouseY); // 17: the drawn cursor, when that option is on
}
