// pebblecraft-sim: the rules without a window, for scripted tests, bug reports and level balancing.
//
//   pebblecraft-sim run --data DIR SCRIPT
//   pebblecraft-sim dump-level --data DIR --level L
//   pebblecraft-sim bot --data DIR --mode M --level L --games N [--seed S]
//   pebblecraft-sim soak --data DIR [--games N] [--seed S] [--hasty]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "sim.h"

Rules simRules;

namespace {
int usage(const char* message) {
    if (message) std::fprintf(stderr, "pebblecraft-sim: %s\n", message);
    std::fprintf(stderr, "usage: pebblecraft-sim run --data DIR SCRIPT\n"
                         "       pebblecraft-sim dump-level --data DIR --level L\n"
                         "       pebblecraft-sim bot --data DIR --mode M --level L --games N [--seed S]\n"
                         "       pebblecraft-sim soak --data DIR [--games N] [--seed S] [--hasty]\n");
    return 2;
}

struct Options {
    std::string data;
    std::string script;
    long mode = -1;
    long level = -1;
    long games = -1;
    long seed = 1;
    bool hasty = false;
};

constexpr long kSoakGames = 1000; // the soak's games unless --games says otherwise

bool number(const char* text, long low, long high, long* out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high) return false;
    *out = value;
    return true;
}

// Reads the options after the command; returns an error message or null.
const char* parseOptions(int argc, char** argv, Options* options) {
    for (int i = 2; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--data") == 0 && hasValue) {
            options->data = argv[++i];
        } else if (std::strcmp(arg, "--level") == 0 && hasValue) {
            if (!number(argv[++i], 0, 69, &options->level)) return "--level needs 0..69";
        } else if (std::strcmp(arg, "--mode") == 0 && hasValue) {
            if (!number(argv[++i], 0, 2, &options->mode)) return "--mode needs 0..2";
        } else if (std::strcmp(arg, "--games") == 0 && hasValue) {
            if (!number(argv[++i], 1, 1000000, &options->games)) return "--games needs 1 or more";
        } else if (std::strcmp(arg, "--seed") == 0 && hasValue) {
            if (!number(argv[++i], 0, 4294967295L, &options->seed)) return "--seed needs 0..4294967295";
        } else if (std::strcmp(arg, "--hasty") == 0) {
            options->hasty = true;
        } else if (arg[0] != '-' && options->script.empty()) {
            options->script = arg;
        } else {
            return "unknown or incomplete option";
        }
    }
    if (options->data.empty()) return "--data DIR is required";
    return nullptr;
}

int dumpLevel(const Options& options) {
    if (options.level < 0) return usage("dump-level needs --level L");
    int level = static_cast<int>(options.level);
    if (!levelFileExists(level)) {
        std::fprintf(stderr, "pebblecraft-sim: the file of level %d is missing in %s\n", level,
                     options.data.c_str());
        return 2;
    }
    simRules.game.colourCount = 5; // what the level start keeps when the file names no colours
    clearBoard(simRules);
    loadLevel(simRules, level);
    std::printf("{\"hammerEnabled\":%s,\"colourCount\":%d,\"levelDownTimeMs\":%d,\"ballsPerTurn\":%d,"
                "\"barValue\":%.9g,\"jokerFrequency\":%d,\"timeLimitSec\":%d,\"bonusFigure\":[",
                simRules.game.hammerEnabled ? "true" : "false", simRules.game.colourCount,
                simRules.game.levelDownTimeMs, simRules.game.ballsPerTurn, simRules.game.barValue,
                simRules.game.jokerFrequency, simRules.game.timeLimitSec);
    for (int i = 0; i < 9; ++i) std::printf("%s%d", i ? "," : "", simRules.game.bonusFigure[i]);
    std::printf("],\"cells\":[");
    bool first = true;
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& cell = simRules.at(x, y);
            if (cell.square == -1) continue;
            std::printf("%s[%d,%d,%d,%d,%d]", first ? "" : ",", x, y, cell.square, cell.ball.kind,
                        cell.ball.chains);
            first = false;
        }
    }
    std::printf("]}\n");
    return 0;
}

int playBot(const Options& options) {
    if (options.mode < 0 || options.level < 0 || options.games < 1)
        return usage("bot needs --mode, --level and --games");
    int level = static_cast<int>(options.level);
    if (!levelFileExists(level)) {
        std::fprintf(stderr, "pebblecraft-sim: the file of level %d is missing in %s\n", level,
                     options.data.c_str());
        return 2;
    }
    int wins = 0;
    double scores = 0;
    for (long g = 0; g < options.games; ++g) {
        unsigned seed = static_cast<unsigned>(options.seed + g);
        simSetup(options.data);
        BotGameResult result = botPlayLevel(simRules, static_cast<int>(options.mode), level, seed);
        wins += result.won ? 1 : 0;
        scores += result.score;
        std::printf("{\"seed\":%u,\"won\":%s,\"score\":%d,\"movesMade\":%d,\"levelTimeMs\":%d}\n", seed,
                    result.won ? "true" : "false", result.score, result.movesMade, result.levelTimeMs);
        std::fflush(stdout);
    }
    std::printf("{\"games\":%ld,\"wins\":%d,\"meanScore\":%.2f}\n", options.games, wins,
                scores / options.games);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(nullptr);
    std::string command = argv[1];
    Options options;
    if (const char* error = parseOptions(argc, argv, &options)) return usage(error);
    simSetup(options.data);
    if (command == "run") {
        if (options.script.empty()) return usage("run needs a SCRIPT");
        return runScript(options.script);
    }
    if (!options.script.empty()) return usage("unexpected argument");
    if (command == "dump-level") return dumpLevel(options);
    if (command == "bot") return playBot(options);
    if (command == "soak") {
        return runSoak(options.data, options.games < 1 ? kSoakGames : options.games, options.seed,
                       options.hasty);
    }
    return usage("unknown command");
}
