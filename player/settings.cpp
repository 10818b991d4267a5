#include "player/settings.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "platform/folders.h"
#include "player/comfort.h"
#include "player/language_choice.h"
#include "player/profile.h"
#include "player/records.h"

Settings settings;

namespace {

void putInt(uint8_t* at, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t getInt(const uint8_t* at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(u);
}

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
    std::memset(out, 0, kSettingsBytes);
    putInt(out + 0, s.musicVolume);
    putInt(out + 4, s.soundVolume);
    putInt(out + 8, s.screenWidth);
    putInt(out + 12, s.screenHeight);
    putInt(out + 16, s.displayModeIndex);
    putInt(out + 20, s.trueColour);
    out[24] = s.spareFlag;
    out[25] = s.customCursor ? 1 : 0;
    putInt(out + 28, s.reserved);
    putInt(out + 32, s.currentProfileIndex);
    putInt(out + 36, s.profileCount);
    putInt(out + 40, s.fullScreen ? 1 : 0);
    uint32_t speedBits;
    std::memcpy(&speedBits, &s.ballSpeed, 4);
    putInt(out + 44, static_cast<int32_t>(speedBits));
}

bool settingsFromBytes(const uint8_t* data, size_t size, Settings& s) {
    applyDefaults(s);
    if (!data || size != kSettingsBytes) return false;
    // Values outside what the options page can set are brought back into range: a damaged value must
    // not index past the profile table or stall the balls.
    s.musicVolume = clampInt(getInt(data + 0), 0, 99);
    s.soundVolume = clampInt(getInt(data + 4), 0, 99);
    s.spareFlag = data[24];
    s.customCursor = data[25] != 0;
    s.reserved = getInt(data + 28);
    s.profileCount = clampInt(getInt(data + 36), 0, kMaxProfiles);
    s.currentProfileIndex = clampInt(getInt(data + 32), 0, s.profileCount > 0 ? s.profileCount - 1 : 0);
    s.fullScreen = getInt(data + 40) != 0;
    s.pendingFullScreen = s.fullScreen;
    uint32_t speedBits = static_cast<uint32_t>(getInt(data + 44));
    float speed;
    std::memcpy(&speed, &speedBits, 4);
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
