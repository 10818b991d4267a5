#include "app/state_probe.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game_scene.h"
#include "app/map_scene.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "app/typed_words.h"
#include "engine/app_state.h"
#include "engine/language.h"
#include "engine/windows1252.h"
#include "game/autosave.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "gameplay/board_input.h"
#include "gameplay/tips.h"
#include "platform/memory_use.h"
#include "player/profile.h"
#include "player/settings.h"
#include "ui/menu_system.h"

namespace {

constexpr float kProbeIntervalMs = 100;
constexpr float kTipClickableMs = -250; // a balloon takes clicks this long after it showed

// 0 no balloon, 1 a balloon waits or grows (it swallows clicks on the board), 2 it takes a click.
int tipStage() {
    if (!tips.active) return 0;
    return tips.delayMs <= kTipClickableMs ? 2 : 1;
}

struct StateProbe {
    bool looked = false;        // the environment was read
    const char* path = nullptr; // PEBBLECRAFT_STATE_FILE, or null
    float sinceWriteMs = kProbeIntervalMs;
    const Scene* scene = nullptr; // the scene of the last write: a new one is written at once
};
StateProbe probe;

char pieceLetter(const Cell& cell) {
    if (cell.square == -1) return '#';
    int kind = cell.ball.kind;
    if (kind >= 0 && kind < kColourCount) return static_cast<char>((cell.ball.chains > 0 ? 'A' : 'a') + kind);
    switch (kind) {
    case kJoker:
        return 'J';
    case kTripleBomb:
        return 'T';
    case kDiamond:
        return '*';
    case kQuadroBomb:
        return 'Q';
    default:
        return '.';
    }
}

// A name as one word: spaces become "_", an empty name "-".
// One word of the state line, in UTF-8 (the texts and names are Windows-1252 in the game).
std::string word(const char* name) {
    char utf8[128];
    windows1252ToUtf8(name && *name ? name : "-", utf8, sizeof utf8);
    std::string out = utf8;
    for (char& c : out)
        if (c == ' ') c = '_';
    return out;
}

const char* sceneName() {
    const Scene* scene = sceneManager.currentScene;
    if (scene == &gameScene) return "game";
    if (scene == &mapScene) return "map";
    if (scene == &splashScene) return "splash";
    return "none";
}

} // namespace

void formatStateProbeLine(char* out, size_t size) {
    bool hasProfile = settings.profileCount > 0;
    const Profile& profile = currentProfile();
    int mode = game.mode >= 0 && game.mode < kModeCount ? game.mode : 0;
    bool pressKey = sceneManager.currentScene == &splashScene && splash.pressStarted && splash.fadeOutMs == 0;
    bool pageShown = menuShown();
    std::snprintf(
        out, size,
        "scene=%s presskey=%d page=%s ready=%d item=%s chosen=%d mode=%d level=%d moves=%d "
        "selected=%d,%d moving=%d running=%d menu=%d complete=%d defeat=%d free=%d lives=%d "
        "total=%d player=%s cheat=%d allopen=%d tip=%d tipbutton=%d,%d keycursor=%d,%d cursor=%d frames=%u "
        "removals=%d heapkb=%zu saved=%d lang=%s",
        sceneName(), pressKey ? 1 : 0, pageShown ? word(menus.currentPage->name).c_str() : "-",
        menus.opening || menus.closing ? 0 : 1, pageShown ? word(selectedItemName()).c_str() : "-",
        menus.selectedLevel, game.mode, game.levelIndex, game.movesMade, game.selectedX, game.selectedY,
        game.ballMoving ? 1 : 0, game.running ? 1 : 0, game.menuOpen ? 1 : 0,
        static_cast<int>(game.completeCountdownMs), static_cast<int>(game.defeatCountdownMs), game.freeCells,
        hasProfile ? profile.lives[mode] : 0, hasProfile ? profile.score[mode] : 0,
        hasProfile ? word(profile.name).c_str() : "-", typedWords.cheatKeyMode ? 1 : 0,
        typedWords.allLevelsOpen ? 1 : 0, tipStage(),
        static_cast<int>(tips.hasButton ? (tips.buttonLeft + tips.buttonRight) / 2 : tips.x),
        static_cast<int>(tips.hasButton ? (tips.buttonTop + tips.buttonBottom) / 2 : tips.y),
        boardInput.keyCursorShown ? boardInput.keyCursorX : -1,
        boardInput.keyCursorShown ? boardInput.keyCursorY : -1, game.cursorMode, app.framesRun,
        liveRules.removals.entries.size(), heapBytesInUse() / 1024, liveRules.autosave.savedMoves,
        loadedLanguage[0] ? loadedLanguage : "en");
}

void formatStateProbeRow(int y, char* out) {
    for (int x = kPlayLeft; x <= kPlayRight; ++x) out[x - kPlayLeft] = pieceLetter(liveRules.at(x, y));
    out[kPlayRight - kPlayLeft + 1] = 0;
}

void resetStateProbe() {
    probe = StateProbe{};
}

void writeStateProbe() {
    if (!probe.looked) {
        probe.looked = true;
        probe.path = std::getenv("PEBBLECRAFT_STATE_FILE");
        if (probe.path && !*probe.path) probe.path = nullptr;
    }
    if (!probe.path) return;
    probe.sinceWriteMs += app.frameTimeMs;
    if (probe.sinceWriteMs < kProbeIntervalMs && probe.scene == sceneManager.currentScene) return;
    probe.sinceWriteMs = 0;
    probe.scene = sceneManager.currentScene;
    std::string temporary = std::string(probe.path) + ".tmp";
    FILE* out = std::fopen(temporary.c_str(), "w");
    if (!out) return;
    char line[512];
    formatStateProbeLine(line, sizeof line);
    std::fprintf(out, "%s\n", line);
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        char row[kPlayRight - kPlayLeft + 2];
        formatStateProbeRow(y, row);
        std::fprintf(out, "%s\n", row);
    }
    std::fclose(out);
    std::rename(temporary.c_str(), probe.path);
}
