// TEMPORARY: see dev_route.h. Loads what a level needs when the start-up sequence has not loaded it yet,
// each step guarded so that it never loads anything twice.
#include "gameplay/dev_route.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/scene_manager.h"
#include "engine/app_state.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/text_table.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "gameplay/game_scene.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"

namespace {
struct DevRoute {
    const char* statePath = nullptr; // PEBBLECRAFT_DEV_STATE
    bool started = false;            // a level was started through the route
    float sinceWriteMs = 0;
};
DevRoute devRoute;

void placePieces(const char* list) {
    while (list && *list) {
        int kind = -1, x = -1, y = -1;
        if (std::sscanf(list, "%d@%d,%d", &kind, &x, &y) == 3 && cellExists(x, y) &&
            cellAt(x, y).ball.kind == kNoPiece &&
            ((kind >= 0 && kind < kColourCount) || (kind >= 10 && kind <= 13))) {
            Cell& cell = cellAt(x, y);
            newBall(cell);
            cell.ball.kind = kind;
            cell.ball.appearMs = 0;
            countFreeCells();
        }
        list = std::strchr(list, ';');
        if (list) ++list;
    }
}

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
} // namespace

bool parseDevLevel(const char* value, int* mode, int* level, int* seconds) {
    if (!value) return false;
    int m = -1, l = -1, s = 0, used = 0;
    if (std::sscanf(value, "%d:%d%n", &m, &l, &used) != 2) return false;
    const char* rest = value + used;
    if (*rest == ':') {
        int more = 0;
        if (std::sscanf(rest + 1, "%d%n", &s, &more) != 1) return false;
        rest += 1 + more;
    }
    if (*rest != 0) return false; // nothing may follow
    if (m < 0 || m >= kModeCount || l < 0 || l >= kLevelCount || s < 0) return false;
    *mode = m;
    *level = l;
    *seconds = s;
    return true;
}

void keepDevLevel() {
    if (devRoute.started) sceneManager.currentScene = &gameScene;
}

void writeDevState() {
    if (!devRoute.statePath) return;
    devRoute.sinceWriteMs += app.frameTimeMs;
    if (devRoute.sinceWriteMs < 250) return;
    devRoute.sinceWriteMs = 0;
    std::string temporary = std::string(devRoute.statePath) + ".tmp";
    FILE* out = std::fopen(temporary.c_str(), "w");
    if (!out) return;
    std::fprintf(
        out, "mode=%d level=%d moves=%d selected=%d,%d moving=%d running=%d menu=%d complete=%d defeat=%d\n",
        game.mode, game.levelIndex, game.movesMade, game.selectedX, game.selectedY, game.ballMoving ? 1 : 0,
        game.running ? 1 : 0, game.menuOpen ? 1 : 0, static_cast<int>(game.completeCountdownMs),
        static_cast<int>(game.defeatCountdownMs));
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        char row[kPlayRight - kPlayLeft + 2];
        for (int x = kPlayLeft; x <= kPlayRight; ++x) row[x - kPlayLeft] = pieceLetter(cellAt(x, y));
        row[kPlayRight - kPlayLeft + 1] = 0;
        std::fprintf(out, "%s\n", row);
    }
    std::fclose(out);
    std::rename(temporary.c_str(), devRoute.statePath);
}

bool startDevLevelFromEnvironment() {
    int mode = 0, level = 0, seconds = 0;
    const char* value = std::getenv("PEBBLECRAFT_DEV_LEVEL");
    if (!value) return false;
    if (!parseDevLevel(value, &mode, &level, &seconds)) {
        std::fprintf(stderr, "PEBBLECRAFT_DEV_LEVEL: expected mode:level (0..2:0..69), got \"%s\"\n", value);
        return false;
    }
    if (!findFile("field0.tga")) {
        loadArchive("targa.dat");
        loadArchive("jpeg.dat");
        loadArchive("texts.dat");
    }
    if (textTable.count == 0) {
        loadTextTable("2strings.txt");
        loadTextTable("2tips.txt");
        loadTextTable("2menutext.txt");
    }
    if (text.fontCount == 0) {
        loadFont("font", 1.0f, 0.9f);
        loadFont("font2", 1.2f, 0.75f);
        selectFont(1);
    }
    if (settings.profileCount == 0) {
        loadProfiles();
        loadRecords();
    }
    if (settings.profileCount == 0) createProfile("developer");
    if (!findPage("main")) {
        loadMenus();
        loadWidgetTextures();
    }
    if (!audio.deviceOpen && audio.sampleCount == 0) {
        initAudio();
        loadSounds();
    }
    if (particleSystem.defCount == 0) loadEffects();
    loadGameResources();

    setProfileMode(mode);
    Profile& profile = currentProfile();
    profile.showHelp[mode] = 0; // the help page needs the menus to be closed again
    if (profile.lives[mode] < 0) restartProfileMode();
    game.mode = mode;
    startLevel(level);
    if (seconds > 0 && mode == kModePuzzle) game.barGoal = static_cast<float>(seconds) * 1000;
    placePieces(std::getenv("PEBBLECRAFT_DEV_PIECES"));
    devRoute.statePath = std::getenv("PEBBLECRAFT_DEV_STATE");
    devRoute.started = true;
    sceneManager.currentScene = &gameScene;
    return true;
}
