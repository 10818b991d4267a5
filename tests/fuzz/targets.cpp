#include "fuzz/targets.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_state.h"
#include "engine/archive.h"
#include "engine/audio_decode.h"
#include "engine/file_registry.h"
#include "engine/font.h"
#include "engine/keyed_reader.h"
#include "engine/random.h"
#include "engine/recording_backend.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "engine/texture.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "game/rules_step.h"
#include "game/saved_game.h"
#include "platform/folders.h"
#include "platform/headless.h"
#include "platform/message_box.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "player/window_size.h"
#include "ui/level_map.h"
#include "ui/menu_system.h"
#include "visuals/mesh.h"
#include "visuals/particle_effects.h"
#include "visuals/scenery.h"

namespace {

std::string gHome; // the temporary folder of this process, with a trailing '/'

void ignoreExit(int) {}

// A fresh headless backend per input: the recording backend keeps every texture it was given.
struct Display {
    RecordingBackend backend;
    Display() {
        resetRender();
        createDisplay(&backend);
        resetTextures();
    }
    ~Display() {
        resetTextures();
        resetRender();
    }
};

// The buffer as a registered file, as an archive entry would be, for loaders that open files by name.
void registerCopy(const char* name, const uint8_t* data, size_t size) {
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(size + 1));
    if (size > 0) std::memcpy(copy, data, size);
    copy[size] = 0;
    if (!registerFile(name, static_cast<int>(size), copy, true)) std::free(copy);
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeWholeFile(path, data, size);
}

std::string_view textOf(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// A clean rules state with one profile, as the game has before a level starts.
void freshRules(int mode) {
    resetAppState();
    resetSettings();
    resetProfiles();
    resetRecords();
    createProfile("fuzz");
    liveRules.game = GameState{};
    liveRules.board = Rules{}.board;
    liveRules.removals = RemovalQueue{};
    liveRules.stars = BarStars{};
    liveRules.awards = AwardState{};
    game.mode = mode;
    setProfileMode(mode);
    liveRules.random.seed(7);
    liveRules.stepBy(16);
}

// The bot plays on from the loaded state for a bounded number of frames: what a player's next moves
// would do with the values read.
void playOn(int frames) {
    for (int i = 0; i < frames && game.completeCountdownMs == 0 && game.defeatCountdownMs == 0; ++i) {
        if (botReady(liveRules)) botAct(liveRules);
        rulesFrame(liveRules);
    }
}

// ---- engine -----------------------------------------------------------------------------------------

void fuzzArchive(const uint8_t* data, size_t size) {
    resetFileRegistry();
    writeFile(dataFolder() + "fuzz.dat", data, size);
    loadArchive("fuzz.dat");
    // Every packed file is found by its name and opened as the game opens it.
    std::vector<std::string> names;
    for (int i = 0; i < fileRegistry.entries.size(); ++i) names.emplace_back(fileRegistry.entries[i].name);
    for (const std::string& name : names) {
        int bytes = 0;
        const uint8_t* file = openFile(name.c_str(), &bytes, false);
        if (file && bytes > 0) {
            volatile uint8_t sum = 0;
            for (int k = 0; k < bytes; ++k) sum = sum + file[k];
        }
    }
    resetFileRegistry();
}

void fuzzArchiveFiles(const uint8_t* data, size_t size) {
    std::vector<ArchiveFile> files;
    ArchiveScan scan;
    readArchiveFiles(data, size, files, &scan);
}

void fuzzTextTable(const uint8_t* data, size_t size) {
    freeTextTable();
    parseTextTable(reinterpret_cast<const char*>(data), static_cast<int>(size));
    indexOfText("tip1");
    findText("defname1");
    for (int i = 0; i < 4; ++i) textAt(indexOfText("defname1") + i);
    freeTextTable();
}

void fuzzKeyed(const uint8_t* data, size_t size) {
    std::string_view text = keyedText(data, static_cast<int>(size));
    char value[64];
    float list[16];
    readValueText(text, "hammer=", value, sizeof value);
    readValueText(text, "name=", value, 1);
    readFloat(text, "time=");
    readInt(text, "colors=");
    readFloatList(text, "color=", list, 16);
    readFloatList(text, "size=", list, 1);
}

void fuzzFont(const uint8_t* data, size_t size) {
    Display display;
    resetFileRegistry();
    resetText();
    static const uint8_t kTga[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 8, 255, 255, 255, 255};
    registerCopy("font.tga", kTga, sizeof kTga);
    registerCopy("font.dat", data, size);
    loadFont("font", 1.0f, 1.0f);
    measureText("Pebblecraft 1234567890\n\xff\x80", 20);
    wrapText(200, "Every glyph of the loaded metrics, wrapped at the limit", 20);
    resetText();
    resetFileRegistry();
}

void decodeAsTexture(const char* name, const uint8_t* data, size_t size) {
    Display display;
    resetFileRegistry();
    registerCopy(name, data, size);
    getTexture(name, false);
    resetFileRegistry();
}

void fuzzTga(const uint8_t* data, size_t size) {
    decodeAsTexture("fuzz.tga", data, size);
}

void fuzzJpeg(const uint8_t* data, size_t size) {
    decodeAsTexture("fuzz.jpg", data, size);
    Display display;
    resetFileRegistry();
    registerCopy("map.jpg", data, size);
    loadPictureSized("map.jpg", 800, 600);
    resetFileRegistry();
}

void fuzzAlphaJpeg(const uint8_t* data, size_t size) {
    {
        Display display;
        resetFileRegistry();
        registerCopy("_a_fuzz.jpg", data, size);
        getTexture("fuzz.tga", false);
        resetFileRegistry();
    }
    Display display;
    resetFileRegistry();
    registerCopy("_a_sized.jpg", data, size);
    loadAlphaJpegSized("_a_sized.jpg", 100, 60);
    resetFileRegistry();
}

void fuzzSound(const uint8_t* data, size_t size) {
    PcmSound sound;
    decodeOgg(data, size, sound);
}

// ---- rules ------------------------------------------------------------------------------------------

void fuzzLevelFile(const uint8_t* data, size_t size) {
    int mode = size % kModeCount;
    freshRules(mode);
    resetFileRegistry();
    levelFiles.missingIsFatal = false;
    int level = static_cast<int>(size % kLevelCount);
    char name[64];
    levelFileName(level, name, sizeof name);
    registerCopy(name, data, size);
    startLevel(liveRules, level);
    playOn(240);
    resetFileRegistry();
}

void fuzzHelpLevel(const uint8_t* data, size_t size) {
    freshRules(kModeClassic);
    std::string text(textOf(data, size));
    readHelpText(liveRules, text, static_cast<int>(size % 3), static_cast<int>(size % 5));
    liveRules.board = Rules{}.board;
}

// A level with room to play and busy squares, so that the fresh level a refused file leaves plays too.
const char kPlayableLevel[] = "colors=5\r\nlevel=\r\n0000000000..........\r\n0000000000..........\r\n"
                              "0001200000..........\r\n0000000000..........\r\n";

void fuzzSavedGame(const uint8_t* data, size_t size) {
    int mode = size > 0 ? data[0] % kModeCount : 0;
    freshRules(mode);
    resetFileRegistry();
    levelFiles.missingIsFatal = false;
    char name[64];
    levelFileName(playerCurrentLevel(liveRules), name, sizeof name);
    registerCopy(name, reinterpret_cast<const uint8_t*>(kPlayableLevel), sizeof kPlayableLevel - 1);
    std::string path = savedGamePath(currentProfile(), mode);
    writeFile(path, data, size);
    resumeGame(liveRules);
    // Whatever was read, the level is there to be played: its first step (no time passing, so no ball
    // lands and no clock runs out) must not end it.
    liveRules.stepBy(0);
    rulesFrame(liveRules);
    if (game.completeCountdownMs != 0 || game.defeatCountdownMs != 0) std::abort();
    liveRules.stepBy(16);
    playOn(240);
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".damaged");
    resetFileRegistry();
}

// ---- player files -----------------------------------------------------------------------------------

// The window file as read at launch, then the size the window would open with on a desktop whose usable
// area the input's length picks: it opens on the desktop, never beyond it and never without pixels.
void fuzzWindowFile(const uint8_t* data, size_t size) {
    static const ViewRect kDesktops[] = {{0, 0, 1280, 800}, {0, 24, 1920, 1056}, {0, 0, 1024, 552}, {}};
    WindowSize s;
    windowSizeFromBytes(data, size, s);
    installHeadlessPlatform();
    headless.desktop = kDesktops[size % std::size(kDesktops)];
    windowedSizeOnDesktop(&s.width, &s.height, &s.maximised);
    bool known = headless.desktop.w > 0;
    bool fits = !known || (s.width <= headless.desktop.w && s.height <= headless.desktop.h);
    removeHeadlessPlatform();
    if (s.width <= 0 || s.height <= 0 || !fits) std::abort();
}

// What the game does with the player files once they are read: a won level's records and the high-score
// table, points (a life every so many), the progress to the next level.
void usePlayerFiles() {
    if (settings.profileCount <= 0) createProfile("fuzz");
    for (int mode = 0; mode < kModeCount; ++mode) {
        game.mode = mode;
        liveRules.game = GameState{};
        game.mode = mode;
        playerHighestLevelAnyMode();
        playerCurrentLevel(liveRules);
        addPoints(liveRules, 25000);
        enterHighScore(mode);
        int level = playerCurrentLevel(liveRules);
        updateLevelRecord(mode, level, game.score, 12, 65000, 40);
        advanceLevel();
    }
}

void fuzzSettings(const uint8_t* data, size_t size) {
    resetSettings();
    resetProfiles();
    writeFile(configFolder() + "settings", data, size);
    readSettings();
    loadProfiles();
    usePlayerFiles();
}

void fuzzProfiles(const uint8_t* data, size_t size) {
    resetSettings();
    resetProfiles();
    writeFile(settingsFolder() + "profiles.dat", data, size);
    settings.profileCount = static_cast<int>(size / kProfileBytes);
    settings.currentProfileIndex = size > 0 ? data[0] % kMaxProfiles : 0;
    loadProfiles();
    usePlayerFiles();
}

void fuzzRecordFile(const char* fileName, const uint8_t* data, size_t size) {
    resetSettings();
    resetProfiles();
    resetRecords();
    freeTextTable();
    resetFileRegistry();
    for (const char* name : {"records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
        std::filesystem::remove(settingsFolder() + name);
    writeFile(settingsFolder() + fileName, data, size);
    loadRecords();
    usePlayerFiles();
}

void fuzzRecords(const uint8_t* data, size_t size) {
    fuzzRecordFile("records.dat", data, size);
}
void fuzzHiscores(const uint8_t* data, size_t size) {
    fuzzRecordFile("hiscore.dat", data, size);
}
void fuzzLevelTimes(const uint8_t* data, size_t size) {
    fuzzRecordFile("mode3.dat", data, size);
}
void fuzzSurvivalRecords(const uint8_t* data, size_t size) {
    fuzzRecordFile("surrecs.dat", data, size);
}

// The default records: built from the data's tables when the player has no records yet.
void fuzzDefaultRecords(const uint8_t* data, size_t size) {
    resetSettings();
    resetProfiles();
    resetRecords();
    freeTextTable();
    resetFileRegistry();
    for (const char* name : {"records.dat", "hiscore.dat", "mode3.dat", "surrecs.dat"})
        std::filesystem::remove(settingsFolder() + name);
    const char* tables[] = {"hi_expert.txt", "hi_normal.txt", "hi_zen.txt"};
    registerCopy(tables[size % 3], data, size);
    loadRecords();
    usePlayerFiles();
    resetFileRegistry();
}

// ---- menus, effects, scenery, meshes, map -----------------------------------------------------------

void fuzzMenu(const uint8_t* data, size_t size) {
    resetMenus();
    buildMenuTree(textOf(data, size));
    resetMenus();
}

void fuzzEffect(const uint8_t* data, size_t size) {
    resetParticleSystem();
    resetAppState();
    app.frameTimeMs = 16;
    app.frameDeltaMs = 16;
    addEffectDefinition("fuzz", keyedText(data, static_cast<int>(size)));
    startEffect("fuzz", 400, 300, 100, 100);
    startEffect("fuzz", 10, 10);
    for (int i = 0; i < 90; ++i) updateEffects();
    resetParticleSystem();
}

void fuzzScene(const uint8_t* data, size_t size) {
    static SceneFile scene;
    parseSceneFile(data, static_cast<int>(size), scene);
}

void fuzzGameObjects(const uint8_t* data, size_t size) {
    resetScenery();
    std::string text(textOf(data, size));
    readGameObjectTypes(text.c_str(), static_cast<int>(text.size()));
    resetScenery();
}

void fuzzMesh(const uint8_t* data, size_t size) {
    Mesh mesh;
    std::memset(static_cast<void*>(&mesh), 0, sizeof mesh);
    if (readMesh("fuzz.msh_s", data, static_cast<int>(size), mesh)) freeMesh(mesh);
}

void fuzzMeshObject(const uint8_t* data, size_t size) {
    Display display;
    resetFileRegistry();
    registerCopy("fuzz.cgo", data, size);
    getMeshObject("fuzz.cgo");
    releaseMeshes();
    resetFileRegistry();
}

void fuzzLevelMap(const uint8_t* data, size_t size) {
    resetLevelMap();
    readMapPath(data, size);
    computeMapPositions();
    resetLevelMap();
}

const FuzzTarget kTargets[] = {
    // The CMake build makes one executable per line of this table: keep one entry a line.
    {"archive", fuzzArchive},
    {"archive_files", fuzzArchiveFiles},
    {"text_table", fuzzTextTable},
    {"keyed", fuzzKeyed},
    {"font", fuzzFont},
    {"tga", fuzzTga},
    {"jpeg", fuzzJpeg},
    {"alpha_jpeg", fuzzAlphaJpeg},
    {"sound", fuzzSound},
    {"level_file", fuzzLevelFile},
    {"help_level", fuzzHelpLevel},
    {"saved_game", fuzzSavedGame},
    {"window_file", fuzzWindowFile},
    {"settings", fuzzSettings},
    {"profiles", fuzzProfiles},
    {"records", fuzzRecords},
    {"hiscores", fuzzHiscores},
    {"level_times", fuzzLevelTimes},
    {"survival_records", fuzzSurvivalRecords},
    {"default_records", fuzzDefaultRecords},
    {"menu", fuzzMenu},
    {"effect", fuzzEffect},
    {"scene", fuzzScene},
    {"game_objects", fuzzGameObjects},
    {"mesh", fuzzMesh},
    {"mesh_object", fuzzMeshObject},
    {"level_map", fuzzLevelMap},
};

} // namespace

const FuzzTarget* fuzzTargets(int* count) {
    *count = static_cast<int>(sizeof kTargets / sizeof kTargets[0]);
    return kTargets;
}

const FuzzTarget* findFuzzTarget(const char* name) {
    for (const FuzzTarget& t : kTargets) {
        if (std::strcmp(t.name, name) == 0) return &t;
    }
    return nullptr;
}

void fuzzSetUp() {
    if (gHome.empty()) {
        char pattern[] = "/tmp/pebblecraft-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        gHome = std::string(made ? made : "/tmp") + "/";
    }
    setenv("XDG_CONFIG_HOME", (gHome + "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (gHome + "share").c_str(), 1);
    std::filesystem::create_directories(gHome + "Data");
    setDataFolder(gHome + "Data/");
    makeFolders(configFolder());
    makeFolders(settingsFolder());
    resetMessageBoxes();
    messageBoxes.useWindow = false;
    messageBoxes.exitHook = ignoreExit;
    fileRegistry.renameFile = nullptr;
    levelFiles.missingIsFatal = false;
    liveRules.presentation = nullptr;
}

void fuzzTearDown() {
    resetFileRegistry();
    freeTextTable();
    resetMessageBoxes();
    levelFiles.missingIsFatal = true;
    if (!gHome.empty()) std::filesystem::remove_all(gHome);
    gHome.clear();
}
