#include "app/startup.h"

#include <malloc.h>

#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/random.h"
#include "engine/text_table.h"
#include "game/help_board.h"
#include "gameplay/game_scene.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/window.h"
#include "player/profile.h"
#include "player/records.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"

namespace {
constexpr int kLoadingMmapThreshold = 128 * 1024;
} // namespace

StartupSteps startupSteps;
LoadingPace loadingPace;

bool loadingFrameDue() {
    uint32_t now = clockMs();
    if (loadingPace.drawnOnce && now - loadingPace.lastFrameMs < kLoadingFrameMs) return false;
    loadingPace.drawnOnce = true;
    loadingPace.lastFrameMs = now;
    loadingPace.framesDrawn++;
    return true;
}

namespace {

void loadArchives() {
    // Every file registered from here on draws one loading frame.
    fileRegistry.onFileRegistered = onFileRegistered;
    loadArchive("targa.dat");
    loadArchive("jpeg.dat");
    loadArchive("texts.dat");
}

void loadTextsAndFonts() {
    loadTextTable("2strings.txt");
    loadTextTable("2tips.txt");
    loadTextTable("2menutext.txt");
    loadFont("font", 1.0f, 0.9f);
    loadFont("font2", 1.2f, 0.75f);
    selectFont(1);
}

void loadPlayerFilesAndMenus() {
    makeFolders(settingsFolder());
    loadProfiles();
    loadRecords();
    loadMenus();
    loadWidgetTextures();
}

void loadSoundsAndMusic() {
    initAudio();
    loadSounds();
}

// The game's resources: the scenery (SCENERY: its definitions and first background once it exists), the
// board and display pictures.
void loadPictures() {
    loadGameResources();
}

void loadLevels() {
    loadAllLevelFiles();
}

void loadMapAndSplash() {
    loadMap();
    loadSplashPictures();
}

void loadAllEffects() {
    clearEffects();
    loadEffects();
}

} // namespace

// In the order they run; the start-up benchmark times each of them.
const StartupPhase kStartupPhases[kStartupPhaseCount] = {
    {"archives", loadArchives},
    {"texts and fonts", loadTextsAndFonts},
    {"player files and menus", loadPlayerFilesAndMenus},
    {"sounds and music", loadSoundsAndMusic},
    {"pictures", loadPictures},
    {"levels", loadLevels},
    {"map", loadMapAndSplash},
    {"effects", loadAllEffects},
};

void loadEverything() {
    for (const StartupPhase& phase : kStartupPhases) phase.run();
}

bool runStartup() {
    // The clock seeds both generators, so every run plays differently; the presentation generator gets a
    // scrambled seed so that its sequence is not the rules' sequence.
    uint32_t now = clockMs();
    rulesRandom.seed(now);
    presentationRandom.seed(now * 2654435761u + 1u);
    loadingPace = LoadingPace{};
    setWaitlessPresents(true); // loading frames never wait for the display's refresh
    // Decoded pictures and sounds are large and short-lived: a fixed threshold keeps every one of them in
    // its own mapping, given back whole when freed, instead of leaving holes in the heap behind.
    mallopt(M_MMAP_THRESHOLD, kLoadingMmapThreshold);
    if (startupSteps.load) startupSteps.load();
    malloc_trim(0); // what the loading freed goes back to the system
    setWaitlessPresents(false);
    sceneManager.currentScene = &splashScene;
    releaseFileByName("targa.dat");
    releaseFileByName("jpeg.dat");
    releaseFileByName("texts.dat");
    // The drawn cursor replaces the system's arrow when the settings ask for it.
    if (menuHost.applyCursor) menuHost.applyCursor();
    return true;
}
