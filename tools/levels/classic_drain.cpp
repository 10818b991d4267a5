// Plays a level's classic game with the bot on a bar that never empties and prints, for every move
#include "engine/app_state.h"
// count, how many balls the bar had lost by the end of it. The bot's moves do not depend on the bar,
// so one such game tells how many moves every goal would have needed with that seed; tune_classic.py
// picks the classic goals from these curves.
//
//   classic-drain --data DIR --level L --games N [--seed S] [--moves M]
//
// One line per game: {"seed":S,"lost":true|false,"drain":[after move 0, after move 1, ...]}; "lost"
// says the board filled up after the last move listed (otherwise the game stopped at M moves).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/random.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "game/rules_step.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "player/records.h"
#include "player/settings.h"

namespace {

Rules drainRules; // the board the drain is measured on
// Large enough for any goal, small enough that a float still holds the fractional stars of the first levels.
constexpr float kEndlessBar = 16384.0f;
constexpr float kFrameMs = 16;

int usage(const char* message) {
    std::fprintf(stderr,
                 "classic-drain: %s\nusage: classic-drain --data DIR --level L --games N [--seed S] "
                 "[--moves M]\n",
                 message);
    return 2;
}

bool number(const char* text, long low, long high, long* out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    *out = value;
    return true;
}

void freshRules(const std::string& folder) {
    setDataFolder(folder.empty() || folder.back() == '/' ? folder : folder + "/");
    levelFiles.missingIsFatal = false;
    resetAppState();
    resetSettings();
    resetProfiles();
    resetRecords();
    drainRules.game = GameState{};
    drainRules.board = Rules{}.board;
    drainRules.removals = RemovalQueue{};
    drainRules.stars = BarStars{};
    drainRules.awards = AwardState{};
}

// The bar's loss after each move count of one game; returns whether the board filled up.
bool playOne(int level, unsigned seed, int maxMoves, std::vector<float>* drain) {
    createProfile("drain");
    setProfileMode(0);
    setProfileLevel(level);
    drainRules.game.mode = 0;
    drainRules.random.seed(seed);
    startLevel(drainRules, level);
    drainRules.game.barGoal = drainRules.game.barValue = kEndlessBar;
    drainRules.stepBy(kFrameMs);
    drain->assign(1, 0.0f);
    long frames = 0;
    while (drainRules.game.defeatCountdownMs == 0 && drainRules.game.completeCountdownMs == 0 &&
           !drainRules.game.menuOpen && frames < 4000000L) {
        if (botReady(drainRules)) {
            if (drainRules.game.movesMade >= maxMoves) break;
            botAct(drainRules);
        }
        rulesFrame(drainRules);
        ++frames;
        while (static_cast<int>(drain->size()) <= drainRules.game.movesMade) drain->push_back(drain->back());
        float lost = kEndlessBar - drainRules.game.barValue;
        if (lost > (*drain)[drainRules.game.movesMade]) (*drain)[drainRules.game.movesMade] = lost;
    }
    return drainRules.game.defeatCountdownMs != 0;
}
} // namespace

int main(int argc, char** argv) {
    std::string data;
    long level = -1, games = -1, seed = 1, maxMoves = 400;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--data") == 0 && hasValue) {
            data = argv[++i];
        } else if (std::strcmp(argv[i], "--level") == 0 && hasValue) {
            if (!number(argv[++i], 0, 69, &level)) return usage("--level needs 0..69");
        } else if (std::strcmp(argv[i], "--games") == 0 && hasValue) {
            if (!number(argv[++i], 1, 100000, &games)) return usage("--games needs 1 or more");
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
            if (!number(argv[++i], 0, 4294967295L, &seed)) return usage("--seed needs 0..4294967295");
        } else if (std::strcmp(argv[i], "--moves") == 0 && hasValue) {
            if (!number(argv[++i], 1, 100000, &maxMoves)) return usage("--moves needs 1 or more");
        } else {
            return usage("unknown or incomplete option");
        }
    }
    if (data.empty() || level < 0 || games < 1) return usage("--data, --level and --games are required");
    char name[32];
    std::snprintf(name, sizeof(name), level < 4 ? "tut1_%02ld.lvl" : "pack1_%02ld.lvl",
                  level < 4 ? level + 1 : level - 3);
    if (!std::filesystem::exists(std::filesystem::path(data) / "levels" / name))
        return usage((std::string("no ") + name + " in the data folder's levels").c_str());
    std::vector<float> drain;
    for (long g = 0; g < games; ++g) {
        unsigned gameSeed = static_cast<unsigned>(seed + g);
        freshRules(data);
        bool lost = playOne(static_cast<int>(level), gameSeed, static_cast<int>(maxMoves), &drain);
        std::printf("{\"seed\":%u,\"lost\":%s,\"drain\":[", gameSeed, lost ? "true" : "false");
        for (size_t m = 0; m < drain.size(); ++m) std::printf("%s%.2f", m ? "," : "", drain[m]);
        std::printf("]}\n");
        std::fflush(stdout);
    }
    return 0;
}
