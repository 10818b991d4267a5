#include "game/player_link.h"

#include "engine/saturate.h"
#include "game/game_state.h"
#include "game/rules.h"
#include "game/saved_game.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

namespace {
int modeIndex(Rules& r) {
    return r.game.mode >= 0 && r.game.mode < kModeCount ? r.game.mode : 0;
}
} // namespace

int playerLives(Rules& r) {
    return currentProfile().lives[modeIndex(r)];
}
void setPlayerLives(Rules& r, int lives) {
    currentProfile().lives[modeIndex(r)] = lives;
}
int playerScore(Rules& r) {
    return currentProfile().score[modeIndex(r)];
}
void addPlayerScore(Rules& r, int points) {
    int& score = currentProfile().score[modeIndex(r)];
    score = saturatingAdd(score, points);
}

int playerHighestLevelAnyMode() {
    const Profile& profile = currentProfile();
    int highest = 0;
    for (int m = 0; m < kModeCount; ++m) {
        int level = profile.openZone[m] * 5 + profile.openLevelInZone[m];
        if (level > highest) highest = level;
    }
    return highest;
}

int playerCurrentLevel(Rules& r) {
    const Profile& profile = currentProfile();
    int level = profile.zone[modeIndex(r)] * 5 + profile.levelInZone[modeIndex(r)];
    return level >= 0 && level < kLevelCount ? level : 0;
}

bool playerTipShown(const char* tip) {
    int index = tipIndex(tip);
    return index >= 0 && currentProfile().tipShown[index] != 0;
}

void setPlayerSavedGame(Rules& r, bool exists) {
    currentProfile().savedGame[modeIndex(r)] = exists ? 1 : 0;
}

const char* playerName() {
    return currentProfile().name;
}

void playerLevelWon(Rules& r, int levelIndex, int score, int maxCombo, int levelTimeMs, int movesMade,
                    bool* stageComplete, bool* gamePassed) {
    updateLevelRecord(modeIndex(r), levelIndex, score, maxCombo, levelTimeMs, movesMade);
    enterHighScore(modeIndex(r));
    // The progress steps in the mode just played, whatever mode the profile last showed.
    Profile& profile = currentProfile();
    int shownMode = profile.profileMode;
    profile.profileMode = modeIndex(r);
    LevelAdvance advance = advanceLevel();
    profile.profileMode = shownMode;
    *stageComplete = advance.zoneCompleted;
    *gamePassed = advance.modeCompleted;
    discardSavedGame(r); // the level it held is won: offering it again would win it twice
    savePlayerData();
}

void savePlayerFiles() {
    savePlayerData();
}
