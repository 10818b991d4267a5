#include "player/profile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/file_record.h"
#include "engine/file_registry.h"
#include "engine/windows1252.h"
#include "platform/folders.h"
#include "player/settings.h"

ProfileTable profiles;

const char* const kTipNames[kTipCount] = {
    "triplebomb", "quadrobomb",      "diamond",      "hammertip",        "hammerfull",
    "jokertip",   "tipbusysquare2",  "chainitemtip", "actionbartip",     "doublerelax",
    "helprelax",  "levelprogresbar", "newballtip",   "puzzleprogresbar",
};

namespace {

constexpr size_t kMaxProfilesFileBytes = 1 << 16;

// One profile in the file; the gaps were alignment of an older layout and stay zero.
constexpr auto profileFields = [](auto& f, auto& p) {
    f.text(p.name);
    f.u8s(p.showHelp);
    f.pad(1);
    f.i32s(p.levelInZone);
    f.i32s(p.zone);
    f.i32s(p.openLevelInZone);
    f.i32s(p.openZone);
    f.i32s(p.score);
    f.i32s(p.lives);
    f.u8s(p.tipShown);
    f.pad(2);
    f.i32(p.profileMode);
    f.u8(p.classicChosen);
    f.pad(7);
    f.u8s(p.savedGame);
    f.pad(5);
    f.i32(p.survivalScore);
    f.i32(p.survivalTime);
    f.i32(p.survivalLevel);
};
static_assert(recordBytes<Profile>(profileFields) == kProfileBytes);

// A name of nothing but spaces greets nobody and signs records by nobody: it counts as empty.
bool blankName(const char* name) {
    for (; *name; ++name) {
        if (*name != ' ') return false;
    }
    return true;
}

// Stands in for the current profile when there is none, so callers never index an empty table.
Profile gNoProfile;

int clampInt(int v, int lo, int hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

int modeOf(const Profile& p) {
    return clampInt(p.profileMode, 0, kModeCount - 1);
}

// A profile read from disk may carry anything; bring every index-like field into its range so that
// level numbers derived from it stay within the 70 levels.
void sanitizeProfile(Profile& p) {
    sanitizeProfileName(p.name, sizeof(p.name));
    for (int m = 0; m < kModeCount; ++m) {
        p.levelInZone[m] = clampInt(p.levelInZone[m], 0, kLevelsPerZone - 1);
        p.zone[m] = clampInt(p.zone[m], 0, kZoneCount - 1);
        p.openLevelInZone[m] = clampInt(p.openLevelInZone[m], 0, kLevelsPerZone - 1);
        p.openZone[m] = clampInt(p.openZone[m], 0, kZoneCount - 1);
    }
    p.profileMode = modeOf(p);
}

// Renames through the registry's hook, which tests use to make a move fail.
int moveFile(const char* from, const char* to) {
    return fileRegistry.renameFile ? fileRegistry.renameFile(from, to) : std::rename(from, to);
}

std::string profilesPath() {
    return settingsFolder() + "profiles.dat";
}

} // namespace

int tipIndex(const char* key) {
    for (int i = 0; i < kTipCount; ++i) {
        if (std::strcmp(kTipNames[i], key) == 0) return i;
    }
    return -1;
}

void resetProfiles() {
    std::memset(&profiles, 0, sizeof(profiles));
    std::memset(&gNoProfile, 0, sizeof(gNoProfile));
    settings.profileCount = 0;
    settings.currentProfileIndex = 0;
}

Profile& currentProfile() {
    int i = settings.currentProfileIndex;
    if (i < 0 || i >= settings.profileCount || i >= kMaxProfiles) return gNoProfile;
    return profiles.list[i];
}

void sanitizeProfileName(char* name, size_t bytes) {
    if (bytes == 0) return;
    name[bytes - 1] = 0;
    size_t length = std::strlen(name);
    // The name becomes part of file names: no folder separators, no control bytes, no byte the code page
    // leaves unused (each name then has a file name of its own).
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || windows1252CodePoint(c) == 0) name[i] = '_';
    }
    std::memset(name + length, 0, bytes - length);
}

void loadProfiles() {
    makeFolders(settingsFolder());
    std::vector<uint8_t> bytes;
    std::memset(&profiles, 0, sizeof(profiles));
    // The file, not the count in the settings, says how many profiles there are: the settings are
    // written first, so a crash between the two files leaves a count that does not match, and every
    // complete record the file holds is still a player's progress. A torn last record is dropped.
    // The first eight are kept of a file that holds more; a file far beyond that is not ours.
    int count = 0;
    if (readWholeFile(profilesPath(), bytes, kMaxProfilesFileBytes))
        count = static_cast<int>(std::min<size_t>(bytes.size() / kProfileBytes, kMaxProfiles));
    for (int i = 0; i < count; ++i) {
        readRecord(profileFields, profiles.list[i], bytes.data() + static_cast<size_t>(i) * kProfileBytes,
                   kProfileBytes);
        sanitizeProfile(profiles.list[i]);
    }
    settings.profileCount = count;
    if (settings.currentProfileIndex < 0 || settings.currentProfileIndex >= count)
        settings.currentProfileIndex = 0;
}

bool saveProfiles() {
    if (!makeFolders(settingsFolder())) return false;
    int count = clampInt(settings.profileCount, 0, kMaxProfiles);
    uint8_t bytes[kMaxProfiles * kProfileBytes];
    for (int i = 0; i < count; ++i)
        writeRecord(profileFields, profiles.list[i], bytes + static_cast<size_t>(i) * kProfileBytes,
                    kProfileBytes);
    return writeWholeFile(profilesPath(), bytes, static_cast<size_t>(count) * kProfileBytes);
}

bool createProfile(const char* name) {
    if (!name || blankName(name) || settings.profileCount >= kMaxProfiles) return false;
    char clean[kProfileNameBytes] = {};
    std::memcpy(clean, name, strnlen(name, sizeof(clean) - 1));
    sanitizeProfileName(clean, sizeof(clean));
    for (int i = 0; i < settings.profileCount; ++i) {
        if (std::strcmp(profiles.list[i].name, clean) == 0) return false;
    }
    Profile& p = profiles.list[settings.profileCount];
    std::memset(&p, 0, sizeof(p));
    std::memcpy(p.name, clean, sizeof(clean));
    for (int m = 0; m < kModeCount; ++m) {
        p.showHelp[m] = 1;
        p.lives[m] = 3;
    }
    p.profileMode = 1;
    settings.currentProfileIndex = settings.profileCount;
    settings.profileCount++;
    return true;
}

bool renameProfile(int index, const char* name) {
    if (!name || blankName(name) || index < 0 || index >= settings.profileCount) return false;
    char clean[kProfileNameBytes] = {};
    std::memcpy(clean, name, strnlen(name, sizeof(clean) - 1));
    sanitizeProfileName(clean, sizeof(clean));
    // Saved games are kept per name: two profiles of one name would overwrite each other's games.
    for (int i = 0; i < settings.profileCount; ++i) {
        if (i != index && std::strcmp(profiles.list[i].name, clean) == 0) return false;
    }
    Profile& p = profiles.list[index];
    // The saved games follow the profile to its new name. A file already under the new name belongs to
    // nobody now (names are unique), so this profile's game replaces it; when the move fails the
    // profile has no saved game of that mode rather than one it never played.
    Profile renamed = p;
    std::memcpy(renamed.name, clean, sizeof(clean));
    for (int m = 0; m < kModeCount; ++m) {
        std::string from = savedGamePath(p, m), to = savedGamePath(renamed, m);
        if (from == to || !p.savedGame[m]) continue;
        if (moveFile(from.c_str(), to.c_str()) != 0) p.savedGame[m] = 0;
    }
    std::memcpy(p.name, clean, sizeof(clean));
    return true;
}

void removeProfile(int index) {
    int count = settings.profileCount;
    if (count <= 0 || index < 0 || index >= count) return;
    // Its saved games go with it: left behind they would wait for the next player of that name.
    for (int m = 0; m < kModeCount; ++m) unlink(savedGamePath(profiles.list[index], m).c_str());
    std::memmove(&profiles.list[index], &profiles.list[index + 1], sizeof(Profile) * (count - index - 1));
    std::memset(&profiles.list[count - 1], 0, sizeof(Profile));
    settings.profileCount = count - 1;
    int& current = settings.currentProfileIndex;
    if (current > index) {
        current--;
    } else if (current == index) {
        current = index > 0 ? index - 1 : 0;
    }
    if (settings.profileCount == 0) current = 0;
}

void selectProfile(int index) {
    if (index >= 0 && index < settings.profileCount) settings.currentProfileIndex = index;
}

std::string savedGamePath(const Profile& profile, int mode) {
    char name[kProfileNameBytes];
    std::memcpy(name, profile.name, sizeof(name));
    sanitizeProfileName(name, sizeof(name));
    // The desktop reads file names as UTF-8: "Jürgen" is written so, not as the name's own bytes. A
    // name of plain ASCII, as every name typed before letters had accents, keeps its file.
    char utf8[kProfileNameBytes * 3];
    windows1252ToUtf8(name, utf8, sizeof utf8);
    return settingsFolder() + utf8 + "_" + std::to_string(mode) + ".sav";
}

int profileLevel() {
    const Profile& p = currentProfile();
    int m = modeOf(p);
    return p.zone[m] * kLevelsPerZone + p.levelInZone[m];
}

int profileHighestLevel() {
    const Profile& p = currentProfile();
    int m = modeOf(p);
    return p.openZone[m] * kLevelsPerZone + p.openLevelInZone[m];
}

void setProfileLevel(int level) {
    Profile& p = currentProfile();
    int m = modeOf(p);
    level = clampInt(level, 0, kLevelCount - 1);
    p.zone[m] = level / kLevelsPerZone;
    p.levelInZone[m] = level % kLevelsPerZone;
}

int profileScore() {
    const Profile& p = currentProfile();
    return p.score[modeOf(p)];
}

void setProfileScore(int score) {
    Profile& p = currentProfile();
    p.score[modeOf(p)] = score;
}

void addProfileScore(int points) {
    Profile& p = currentProfile();
    p.score[modeOf(p)] += points;
}

int profileLives() {
    const Profile& p = currentProfile();
    return p.lives[modeOf(p)];
}

void addProfileLife() {
    Profile& p = currentProfile();
    p.lives[modeOf(p)]++;
}

void takeProfileLife() {
    Profile& p = currentProfile();
    p.lives[modeOf(p)]--;
}

void restartProfileMode() {
    Profile& p = currentProfile();
    int m = modeOf(p);
    p.score[m] = 0;
    p.lives[m] = 3;
    p.levelInZone[m] = 0;
}

void setProfileMode(int mode) {
    Profile& p = currentProfile();
    p.profileMode = clampInt(mode, 0, kModeCount - 1);
    p.classicChosen = p.profileMode == 0 ? 1 : 0;
}

LevelAdvance advanceLevel() {
    LevelAdvance result;
    Profile& p = currentProfile();
    int m = modeOf(p);
    int current = p.zone[m] * kLevelsPerZone + p.levelInZone[m];
    int next = current < kLevelCount - 1 ? current + 1 : current;
    if (profileHighestLevel() < next) {
        p.openZone[m] = next / kLevelsPerZone;
        p.openLevelInZone[m] = next % kLevelsPerZone;
    }
    p.levelInZone[m]++;
    if (p.levelInZone[m] < kLevelsPerZone) return result;
    p.zone[m]++;
    p.levelInZone[m] = 0;
    result.zoneCompleted = true;
    if (p.zone[m] >= kZoneCount) {
        result.modeCompleted = true;
        p.zone[m] = 0;
    }
    return result;
}
