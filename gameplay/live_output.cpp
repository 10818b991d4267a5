#include "gameplay/live_output.h"

#include <cstring>

#include "engine/audio.h"
#include "engine/font.h"
#include "engine/text_effects.h"
#include "engine/text_table.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "gameplay/beams.h"
#include "gameplay/board_input.h"
#include "gameplay/board_view.h"
#include "gameplay/game_flow.h"
#include "gameplay/game_view.h"
#include "gameplay/hud.h"
#include "gameplay/tips.h"
#include "ui/menu_system.h"
#include "ui/number_text.h"
#include "visuals/particle_effects.h"
#include "visuals/quick_effects.h"

LiveOutput liveOutput;

namespace {
constexpr uint32_t kBigTextColour = 0xFFFFF080; // warm white

struct PresentationScratch {
    char text[128];
};
PresentationScratch scratch;

const char* textOf(const char* key) {
    const char* found = findText(key);
    return found ? found : key;
}
} // namespace

void LiveOutput::sound(const char* file, int frequencyHz) {
    if (frequencyHz > 0) {
        playSoundAt(file, frequencyHz);
    } else {
        playSound(file);
    }
}

void LiveOutput::music(int section) {
    requestMusicSection(section);
}

void LiveOutput::effect(const char* name, float x, float y) {
    startEffect(name, x, y);
}

void LiveOutput::effectPreset(int preset, float x, float y) {
    spawnQuick(x, y, preset);
}

void LiveOutput::targetMarker(float x, float y) {
    spawnMarker(x, y, x, y, 1);
}

void LiveOutput::lightning(float fromX, float fromY, float toX, float toY) {
    addBeam(fromX, fromY, toX, toY);
}

void LiveOutput::starTrail(float x, float y) {
    spawnQuick(x, y, 15);
}

void LiveOutput::shake(int durationMs, float strength) {
    startShake(durationMs, strength);
}

void LiveOutput::tip(const char* key, float x, float y, int cellX, int cellY, int delayMs, int pieceKind) {
    showTip(x, y, key, cellX, cellY, static_cast<float>(delayMs), pieceKind > 0 ? pieceKind : -1);
}

void LiveOutput::textKey(const char* key, int value, float x, float y, float size, int durationMs) {
    const char* text = textOf(key);
    if (std::strchr(text, '%')) {
        formatNumberText(scratch.text, sizeof scratch.text, text, value);
        text = scratch.text;
    }
    popupText(text, x, y, size, static_cast<float>(durationMs));
}

void LiveOutput::textLiteral(const char* text, float x, float y, float size, int durationMs) {
    popupText(text, x, y, size, static_cast<float>(durationMs));
}

void LiveOutput::bigText(const char* key, float size) {
    letterText(textOf(key), 0, 40, kBigTextColour, size);
}

void LiveOutput::clearBigTexts() {
    clearLetterTexts();
}

void LiveOutput::clearFloatingTexts() {
    clearTextEffects();
}

void LiveOutput::scorePopup(float x, float y, int points) {
    scoreNumber(points, x, y, 0, 0.03f, 14);
}

void LiveOutput::levelStarted(int levelIndex) {
    resetLevelPresentation(levelIndex);
}

void LiveOutput::sceneryVariant(int variant) {
    setTimeOfDay(variant);
}

void LiveOutput::pageOpened(MenuId page) {
    openGamePage(page);
}

void LiveOutput::leaveToMap() {
    ::leaveToMap();
}

void resetLevelPresentation(int levelIndex) {
    int lastMode = gameView.lastHammerMode;
    resetGameView();
    gameView.lastHammerMode = lastMode; // a level start that changes the cursor mode still bursts
    refreshMousePosition();
    resetBoardView();
    resetBoardInput();
    setCursorMode(0);
    resetTips();
    resetBeams();
    resetScoreNumbers();
    resetHud();
    clearEffects();
    resetQuickEffects();
    clearTextEffects();
    clearLetterTexts();
    prepareBreakUp(levelIndex);
    // The scenery of the level and its time of day (level index modulo 3).
    setLevelScenery(levelIndex);
}
