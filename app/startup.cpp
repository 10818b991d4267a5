#include "app/startup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

#include <glm/gtc/matrix_transform.hpp>

#include "app/game_scene.h"
#include "app/menu_host.h"
#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/audio.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/language.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "game/help_board.h"
#include "game/live_rules.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/window.h"
#include "player/language_choice.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "player/write_check.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "ui/widgets.h"
#include "visuals/particle_effects.h"
#include "visuals/scenery.h"

namespace {
constexpr int kLoadingMmapThreshold = 128 * 1024;
} // namespace

StartupSteps startupSteps;
LoadingPace loadingPace;

bool loadingFrameDue() {
    uint32_t now = clockMs();
    uint32_t wait = std::max(kLoadingFrameMs, loadingPace.lastCostMs * kLoadingFrameShare);
    if (loadingPace.drawnOnce && now - loadingPace.lastFrameMs < wait) return false;
    loadingPace.drawnOnce = true;
    loadingPace.lastFrameMs = now;
    loadingPace.framesDrawn++;
    return true;
}

void loadingFrameDrawn() {
    loadingPace.lastCostMs = clockMs() - loadingPace.lastFrameMs;
}

void setCamera() {
    render.cameraView = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, kCameraDistance));
}

namespace {

void loadArchives() {
    // Every file registered from here on draws one loading frame (the splash pictures, read at launch,
    // were counted without one).
    fileRegistry.onFileRegistered = onFileRegistered;
    loadArchive("targa.dat");
    loadArchive("jpeg.dat");
    loadArchive("texts.dat");
}

// A language counts when the data holds its text tables.
bool languageTablesPresent(const char* code) {
    char path[64];
    languageTablePath(code, "2strings.txt", path, sizeof path);
    uint8_t* data = openFile(path, nullptr, false);
    if (data) releaseFile(data);
    return data != nullptr;
}

void loadTextsAndFonts() {
    char language[kLanguageCodeCapacity];
    if (!takeChosenLanguage(chosenLanguageCode(), languageTablesPresent, language))
        chooseLanguage([](const char* name) -> const char* { return std::getenv(name); },
                       languageTablesPresent, language);
    for (const char* table : {"2strings.txt", "2tips.txt", "2menutext.txt"}) {
        char path[64];
        languageTablePath(language, table, path, sizeof path);
        loadTextTable(path);
    }
    std::memcpy(loadedLanguage, language, sizeof language);
    loadFont("font", 1.0f, 0.9f);
    loadFont("font2", 1.2f, 0.75f);
    selectFont(1);
}

void loadPlayerFilesAndMenus() {
    makeFolders(settingsFolder());
    checkPlayerFolders(); // a full or read-only folder is said on the main page
    loadProfiles();
    loadRecords();
    loadMenus();
    loadWidgetTextures();
}

// The game's resources, in this order: sounds and music, the scenery's definitions and the first stage's
// landscape, the board and display pictures, the camera, every level file and the help levels.
void loadSoundsAndMusic() {
    initAudio(settings.musicVolume, settings.soundVolume); // the saved volumes, heard from the start
    loadSounds();
}

void loadPictures() {
    loadScenery();
    setBackgroundForLevel(-1); // the menus' landscape, the first one on screen
    loadGameResources();
    setCamera();
}

void loadLevels() {
    loadAllLevelFiles();
}

// The level map (which sets the menus' landscape up), then the splash pictures again, found by name.
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
    installMenuHost(); // before anything can open a page
    // The clock seeds the generators, so every run plays differently: the live game's rules, the default
    // records and, with a scrambled seed so that its sequence is not the rules' sequence, the presentation.
    uint32_t now = clockMs();
    liveRules.random.seed(now);
    rulesRandom.seed(now);
    presentationRandom.seed(now * 2654435761u + 1u);
    loadingPace = LoadingPace{};
    setWaitlessPresents(true); // loading frames never wait for the display's refresh
    // Decoded pictures and sounds are large and short-lived: a fixed threshold keeps every one of them in
    // its own mapping, given back whole when freed, instead of leaving holes in the heap behind.
    mallopt(M_MMAP_THRESHOLD, kLoadingMmapThreshold);
    if (startupSteps.load) startupSteps.load();
    setWaitlessPresents(false);
    sceneManager.currentScene = &splashScene;
    releaseFileByName("targa.dat");
    releaseFileByName("jpeg.dat");
    releaseFileByName("texts.dat");
    malloc_trim(0); // what the loading freed goes back to the system
    // The drawn cursor replaces the system's arrow when the settings ask for it.
    if (menuHost.applyCursor) menuHost.applyCursor();
    return true;
}
