#include "app/startup.h"

#include "app/scene_manager.h"
#include "app/splash_scene.h"
#include "engine/random.h"
#include "platform/clock.h"

bool runStartup() {
    // The clock seeds both generators, so every run plays differently; the presentation generator gets a
    // scrambled seed so that its sequence is not the rules' sequence.
    uint32_t now = clockMs();
    rulesRandom.seed(now);
    presentationRandom.seed(now * 2654435761u + 1u);
    // Not yet, in this order: the three archives; the text tables; the fonts; the profiles and records
    // from the settings folder; the menus and widget pictures; the game's resources (audio, scenery,
    // board pictures, every level file, the help levels); the level map and the splash pictures again;
    // the particle effects; then the archives are released.
    sceneManager.currentScene = &splashScene;
    return true;
}
