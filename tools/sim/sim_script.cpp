#include "engine/app_state.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file_registry.h"
#include "engine/random.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/board_click.h"
#include "game/board_keys.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "game/rules_step.h"
#include "game/saved_game.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"
#include "sim.h"

namespace {
// Whole-number argument; false when the word is no number.
bool toInt(const std::string& word, long* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(word.c_str(), &end, 10);
    return errno == 0 && *end == 0;
}

bool toFloat(const std::string& word, float* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    *value = std::strtof(word.c_str(), &end);
    return *end == 0;
}

// Reads a whole-number argument within bounds; on failure leaves a message in error.
bool intArg(const std::vector<std::string>& words, size_t i, long low, long high, long* value,
            std::string* error) {
    if (i >= words.size() || !toInt(words[i], value)) {
        *error = "'" + words[0] + "' needs a whole number";
        return false;
    }
    if (*value < low || *value > high) {
        *error = "'" + words[0] + "' value " + words[i] + " is outside " + std::to_string(low) + ".." +
                 std::to_string(high);
        return false;
    }
    return true;
}

// Runs one command; returns an empty string, or what was wrong with it.
std::string runCommand(const std::vector<std::string>& words) {
    const std::string& command = words[0];
    std::string error;
    long a = 0;
    long b = 0;
    auto arity = [&](size_t count) {
        if (words.size() == count) return true;
        error = "'" + command + "' takes " + std::to_string(count - 1) + " argument(s)";
        return false;
    };
    if (command == "seed") {
        if (!arity(2) || !intArg(words, 1, 0, 4294967295L, &a, &error)) return error;
        simRules.random.seed(static_cast<uint32_t>(a));
    } else if (command == "mode") {
        if (!arity(2) || !intArg(words, 1, 0, 2, &a, &error)) return error;
        simRules.game.mode = static_cast<int>(a);
        setProfileMode(simRules.game.mode);
    } else if (command == "profile-level") {
        if (!arity(2) || !intArg(words, 1, 0, kLevelCount - 1, &a, &error)) return error;
        Profile& profile = currentProfile();
        for (int m = 0; m < kModeCount; ++m) {
            profile.openZone[m] = static_cast<int>(a) / 5;
            profile.openLevelInZone[m] = static_cast<int>(a) % 5;
        }
    } else if (command == "level") {
        if (!arity(2) || !intArg(words, 1, 0, kLevelCount - 1, &a, &error)) return error;
        if (!levelFileExists(static_cast<int>(a))) return "the file of level " + words[1] + " is missing";
        setProfileLevel(static_cast<int>(a));
        startLevel(simRules, static_cast<int>(a));
    } else if (command == "load") {
        if (!arity(2)) return error;
        std::vector<uint8_t> bytes;
        if (!readWholeFile(words[1], bytes)) return "cannot read " + words[1];
        if (!decodeSavedGame(simRules, bytes))
            return words[1] + " is not a saved game of " + std::to_string(kSavedGameBytes) + " bytes";
    } else if (command == "save") {
        if (!arity(2)) return error;
        if (!writeSavedGame(simRules, words[1])) return "cannot write " + words[1];
    } else if (command == "click" || command == "rclick") {
        if (!arity(3) || !intArg(words, 1, kPlayLeft, kPlayRight, &a, &error) ||
            !intArg(words, 2, kPlayTop, kPlayBottom, &b, &error)) {
            return error;
        }
        if (command == "click") {
            leftClickCell(simRules, static_cast<int>(a), static_cast<int>(b));
        } else {
            rightClickBoard(simRules);
        }
    } else if (command == "hammer") {
        if (!arity(1)) return error;
        clickHammerIcon(simRules);
    } else if (command == "key") {
        if (!arity(2) || !intArg(words, 1, 0, 255, &a, &error)) return error;
        onGameKey(simRules, static_cast<int>(a), false);
    } else if (command == "frames") {
        if (!arity(3) || !intArg(words, 1, 0, 100000000L, &a, &error)) return error;
        float ms = 0;
        if (!toFloat(words[2], &ms) || ms < 0 || ms > 100000)
            return "'frames' needs a frame length of 0..100000 ms";
        simRules.stepBy(ms);
        for (long i = 0; i < a; ++i) rulesFrame(simRules);
    } else if (command == "print") {
        if (!arity(1)) return error;
        printState(stdout);
    } else {
        return "unknown command '" + command + "'";
    }
    return "";
}
} // namespace

bool levelFileExists(int levelIndex) {
    char name[64];
    levelFileName(levelIndex, name, sizeof(name));
    std::vector<uint8_t> bytes;
    return readWholeFile(dataFolder() + name, bytes);
}

void simSetup(const std::string& dataDir) {
    std::string folder = dataDir.empty() || dataDir.back() == '/' ? dataDir : dataDir + "/";
    setDataFolder(folder);
    levelFiles.missingIsFatal = false;
    resetAppState();
    resetSettings();
    resetProfiles();
    resetRecords();
    createProfile("sim");
    simRules.game = GameState{};
    simRules.board = Rules{}.board;
    simRules.removals = RemovalQueue{};
    simRules.stars = BarStars{};
    simRules.awards = AwardState{};
    setProfileMode(simRules.game.mode);
    simRules.random.seed(1);
}

void printState(FILE* out) {
    std::fprintf(
        out,
        "{\"score\":%d,\"combo\":%d,\"maxCombo\":%d,\"streak\":%d,\"movesMade\":%d,\"freeCells\":%d,"
        "\"barValue\":%.9g,\"barGoal\":%.9g,\"hammerCharge\":%.9g,\"cursorMode\":%d,"
        "\"completeCountdownMs\":%.9g,\"defeatCountdownMs\":%.9g,\"levelTimeMs\":%d,\"selectedX\":%d,"
        "\"selectedY\":%d,\"profileScore\":%d,\"lives\":%d}\n",
        simRules.game.score, simRules.game.combo, simRules.game.maxCombo, simRules.game.streak,
        simRules.game.movesMade, simRules.game.freeCells, simRules.game.barValue, simRules.game.barGoal,
        simRules.game.hammerCharge, simRules.game.cursorMode, simRules.game.completeCountdownMs,
        simRules.game.defeatCountdownMs, simRules.game.levelTimeMs, simRules.game.selectedX,
        simRules.game.selectedY, currentProfile().score[simRules.game.mode],
        currentProfile().lives[simRules.game.mode]);
}

int runScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "pebblecraft-sim: cannot read script %s\n", path.c_str());
        return 2;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream split(line);
        std::vector<std::string> words;
        std::string word;
        while (split >> word) words.push_back(word);
        if (words.empty() || words[0][0] == '#') continue;
        std::string error = runCommand(words);
        if (!error.empty()) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, error.c_str());
            return 2;
        }
    }
    return 0;
}
