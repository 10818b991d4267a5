#include "app/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "app/overlay.h"
#include "app/splash_scene.h"
#include "engine/audio.h"
#include "engine/audio_capture.h"
#include "engine/render.h"
#include "engine/texture.h"
#include "gameplay/game_frame.h"
#include "platform/audio_output.h"
#include "platform/headless.h"
#include "platform/message_box.h"
#include "player/settings.h"
#include "tests/data/pictures_built_data.h"
#include "tests/player/player_folders.h"
#include "visuals/scenery.h"

namespace {

int fatalExits = 0;

// The game's launch and start-up on the data the build made, without a display or a sound card (the
// render layer without a backend counts its drawing and keeps no pixels).
struct StartupOnBuiltData : testing::Test {
    void SetUp() override {
        data = builtdata::folder();
        if (data.empty()) GTEST_SKIP() << "no built Data folder (run the data builder: make build)";
        char here[PATH_MAX];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previousFolder = here;
        folders = std::make_unique<PlayerFolders>();
        installHeadlessPlatform();
        resetRender();
        resetTextures();
        resetMessageBoxes();
        messageBoxes.useWindow = false;
        fatalExits = 0;
        messageBoxes.exitHook = [](int) { ++fatalExits; };
        resetAudio();
        chooseAudioCapture(true);
        resetScenery();
        resetSplash();
        ASSERT_EQ(chdir(data.c_str()), 0);
        setDataFolder(data.string() + "/");
    }
    void TearDown() override {
        if (data.empty()) return;
        EXPECT_EQ(chdir(previousFolder.c_str()), 0);
        fileRegistry.onFileRegistered = nullptr;
        resetAudio();
        chooseAudioCapture(false);
        resetScenery();
        resetSplash();
        resetTextures();
        resetRender();
        resetMessageBoxes();
        removeHeadlessPlatform();
        folders.reset();
    }
    // What the application does: the splash pictures at launch, then the start-up after the splash.
    void launchAndStart() {
        loadSplashPictures();
        app.startupPending = true;
        ASSERT_TRUE(runStartup());
        app.startupPending = false;
        app.startupDone = true;
        ASSERT_EQ(fatalExits, 0) << messageBoxes.lastText;
    }
    std::filesystem::path data;
    std::string previousFolder;
    std::unique_ptr<PlayerFolders> folders;
};

TEST_F(StartupOnBuiltData, TheLoadingBarCountsExactlyWhatIsLoadedAndEndsFull) {
    launchAndStart();
    EXPECT_EQ(splash.bytesLoaded, splash.expectedBytes)
        << "the bar ends at " << 100.0 * double(splash.bytesLoaded) / double(splash.expectedBytes) << " %";
    EXPECT_FLOAT_EQ(loadingProgress(), 1.0f);
    // The scenery is read by the start-up: the map's first frame finds its landscape loaded.
    EXPECT_TRUE(scenery.loaded);
    EXPECT_NE(findTexture("animbacks/_a_back0.jpg"), nullptr);
    EXPECT_EQ(findTexture("animbacks/_a_back1.jpg"), nullptr) << "a level's landscape waits for the level";
}

// A player who turned both volumes down hears nothing from the first sound on, before any page that
// shows the volumes has been opened.
TEST_F(StartupOnBuiltData, TheSavedVolumesHoldFromTheStart) {
    const Settings saved = settings;
    settings.musicVolume = 0;
    settings.soundVolume = 0;
    launchAndStart();
    settings = saved;
    renderCapturedAudio(4096); // the device runs from the start: the volumes settle before a sound
    startMusicSection(2);      // the press-any-key stage
    playSound("menu.ogg");
    app.frameTimeMs = 16;
    updateAudio();
    resetAudioCapture();
    ASSERT_EQ(renderCapturedAudio(22050), 22050);
    float peak = 0;
    for (float v : audioCapture.mix) peak = std::max(peak, std::fabs(v));
    EXPECT_EQ(peak, 0.0f);
}

TEST_F(StartupOnBuiltData, TheOverlayRestoresTheCameraTheGameDrawsWith) {
    launchAndStart();
    setupGameRender();
    glm::mat4 gameView = getView();
    drawOverlay(false); // every frame's end: the next frame starts in the camera's view
    EXPECT_EQ(getView(), gameView);
}

} // namespace
