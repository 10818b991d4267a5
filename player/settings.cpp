#include "player/settings.h"

#include <cmath>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_record.h"
#include "engine/file_registry.h"
#include "platform/folders.h"
#include "player/comfort.h"
#include "player/language_choice.h"
#include "player/profile.h"
#include "player/records.h"

Settings settings;

namespace {

// The 48 bytes. The screen's size, display mode and colour depth are kept for other readers of the file;
// the game takes its screen from the desktop and never reads them back.
constexpr auto settingsFields = [](auto& f, auto& s) {
    f.i32(s.musicVolume);
    f.i32(s.soundVolume);
    f.writtenOnly32(s.screenWidth);
    f.writtenOnly32(s.screenHeight);
    f.writtenOnly32(s.displayModeIndex);
    f.writtenOnly32(s.trueColour);
    f.u8(s.spareFlag);
    f.flag8(s.customCursor);
    f.pad(2);
    f.i32(s.reserved);
    f.i32(s.currentProfileIndex);
    f.i32(s.profileCount);
    f.flag32(s.fullScreen);
    f.f32(s.ballSpeed);
};
static_assert(recordBytes<Settings>(settingsFields) == kSettingsBytes);

int clampInt(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// What a first run uses when no settings were saved.
void applyDefaults(Settings& s) {
    s.musicVolume = 90;
    s.soundVolume = 90;
    s.spareFlag = 1;
    s.customCursor = false;
    s.reserved = 0;
    s.currentProfileIndex = 0;
    s.profileCount = 0;
    s.fullScreen = true;
    s.pendingFullScreen = true;
    s.ballSpeed = 70.0f;
}

} // namespace

void resetSettings() {
    settings = Settings{};
    comfort = Comfort{};
    languageChoice = 0;
}

void settingsToBytes(const Settings& s, uint8_t out[kSettingsBytes]) {
    writeRecord(settingsFields, s, out, kSettingsBytes);
}

bool settingsFromBytes(const uint8_t* data, size_t size, Settings& s) {
    applyDefaults(s);
    if (!data || size != kSettingsBytes) return false;
    readRecord(settingsFields, s, data, size);
    // Values outside what the options page can set are brought back into range: a damaged value must
    // not index past the profile table or stall the balls.
    s.musicVolume = clampInt(s.musicVolume, 0, 99);
    s.soundVolume = clampInt(s.soundVolume, 0, 99);
    s.profileCount = clampInt(s.profileCount, 0, kMaxProfiles);
    s.currentProfileIndex = clampInt(s.currentProfileIndex, 0, s.profileCount > 0 ? s.profileCount - 1 : 0);
    s.pendingFullScreen = s.fullScreen;
    float speed = s.ballSpeed;
    s.ballSpeed = std::isfinite(speed) ? (speed < 21.0f ? 21.0f : speed > 150.0f ? 150.0f : speed) : 70.0f;
    return true;
}

void readSettings() {
    std::vector<uint8_t> bytes;
    if (readWholeFile(configFolder() + "settings", bytes, kSettingsBytes + 1)) {
        settingsFromBytes(bytes.data(), bytes.size(), settings);
    } else {
        settingsFromBytes(nullptr, 0, settings);
    }
    readComfort(); // the options kept beside the 48 bytes
    readLanguageChoice();
}

void savePlayerData() {
    // Before the start-up sequence the tables hold nothing loaded; writing them would lose the files.
    if (!app.startupDone) return;
    uint8_t bytes[kSettingsBytes];
    settingsToBytes(settings, bytes);
    if (makeFolders(configFolder())) writeWholeFile(configFolder() + "settings", bytes, sizeof(bytes));
    saveComfort();
    saveLanguageChoice();
    if (!makeFolders(settingsFolder())) return;
    saveProfiles();
    saveRecords();
}

void audioDefaults() {
    settings.musicVolume = 50;
    settings.soundVolume = 50;
}
