#include "game/player_link.h"

#include "engine/saturate.h"
#include "game/game_state.h"
#include "game/saved_game.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

namespace {
int modeIndex() {
    return game.mode >= 0 && game.mode < kModeCount ? game.mode : 0;
}
} // namespace

int playerLives() {
    return currentProfile().lives[modeIndex()];
}
void setPlayerLives(int lives) {
    currentProfile().lives[modeIndex()] = lives;
}
int playerScore() {
    return currentProfile().score[modeIndex()];
}
void addPlayerScore(int points) {
    int& score = currentProfile().score[modeIndex()];
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

int playerCurrentLevel() {
    const Profile& profile = currentProfile();
    int level = profile.zone[modeIndex()] * 5 + profile.levelInZone[modeIndex()];
    return level >= 0 && level < kLevelCount ? level : 0;
}

bool playerTipShown(const char* tip) {
    int index = tipIndex(tip);
    return index >= 0 && currentProfile().tipShown[index] != 0;
}

void setPlayerSavedGame(bool exists) {
    currentProfile().savedGame[modeIndex()] = exists ? 1 : 0;
}

const char* playerName() {
    return currentProfile().name;
}

void playerLevelWon(int levelIndex, int score, int maxCombo, int levelTimeMs, int movesMade,
                    bool* stageComplete, bool* gamePassed) {
    updateLevelRecord(modeIndex(), levelIndex, score, maxCombo, levelTimeMs, movesMade);
    enterHighScore(modeIndex());
    // The progress steps in the mode just played, whatever mode the profile last showed.
    Profile& profile = currentProfile();
    int shownMode = profile.profileMode;
    profile.profileMode = modeIndex();
    LevelAdvance advance = advanceLevel();
    profile.profileMode = shownMode;
    *stageComplete = advance.zoneCompleted;
    *gamePassed = advance.modeCompleted;
    discardSavedGame(); // the level it held is won: offering it again would win it twice
    savePlayerData();
}

void savePlayerFiles() {
    savePlayerData();
}
