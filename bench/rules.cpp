// Costs of the rules' heavy parts: the removal pass on a full board, the path search, the hint search and
// whole bot games.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "engine/random.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/idle_hint.h"
#include "game/path_search.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "player/profile.h"
#include "player/settings.h"

namespace {

Rules benchRules; // the board the benchmark plays
void freshRules() {
    resetAppState();
    benchRules.game = GameState{};
    benchRules.board = Rules{}.board;
    benchRules.removals = RemovalQueue{};
    benchRules.stars = BarStars{};
    benchRules.awards = AwardState{};
    resetSettings();
    resetProfiles();
    createProfile("bench");
}

// A full playing area of finished balls in `colours` colours, dealt from the rules' generator.
void fullBoard(int colours, unsigned seed) {
    benchRules.random.seed(seed);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = benchRules.at(x, y);
            cell.square = 0;
            newBall(benchRules, cell);
            cell.ball.kind = randomInt(benchRules.random, colours);
            cell.ball.appearMs = 0;
        }
    }
    countFreeCells(benchRules);
}

void BM_RemovalPassFullBoard(benchmark::State& state) {
    freshRules();
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fullBoard(4, 7);
        benchRules.removals = RemovalQueue{};
        state.ResumeTiming();
        removed += removalPass(benchRules, true);
    }
    state.counters["removedPerPass"] = benchmark::Counter(removed, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RemovalPassFullBoard);

void BM_PathSearchOpenBoard(benchmark::State& state) {
    freshRules();
    fullBoard(4, 3);
    // Leave a quarter of the balls so the search has room to spread.
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if ((x * 7 + y * 3) % 4 != 0) benchRules.at(x, y).ball.kind = kNoPiece;
        }
    }
    benchRules.game.selectedX = kPlayLeft;
    benchRules.game.selectedY = kPlayTop;
    benchRules.at(kPlayLeft, kPlayTop).ball.kind = 0;
    for (auto _ : state) {
        computePathDistances(benchRules);
        benchmark::DoNotOptimize(benchRules.at(kPlayRight, kPlayBottom).pathDistance);
    }
}
BENCHMARK(BM_PathSearchOpenBoard);

void BM_HintSearchHalfBoard(benchmark::State& state) {
    freshRules();
    fullBoard(7, 11);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if ((x + y) % 2 == 0) benchRules.at(x, y).ball.kind = kNoPiece;
        }
    }
    int found = 0;
    for (auto _ : state) found += showHint(benchRules) ? 1 : 0;
    state.counters["found"] = benchmark::Counter(found, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HintSearchHalfBoard);

const std::string kLevel = "colors=5\r\naddballs=3\r\nballs4destroy=60\r\nlevel=\r\n"
                           "....................\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00010000200100....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "..00000000000000....\r\n"
                           "....................\r\n"
                           "\r\n";

void BM_BotGames(benchmark::State& state) {
    resetFileRegistry();
    std::string text = kLevel;
    registerFile("levels/pack1_06.lvl", static_cast<int>(text.size()),
                 reinterpret_cast<uint8_t*>(text.data()), false);
    int mode = static_cast<int>(state.range(0));
    unsigned seed = 1;
    int wins = 0;
    int moves = 0;
    for (auto _ : state) {
        // Reading a level releases its file: register it again for every benchRules.game.
        resetFileRegistry();
        registerFile("levels/pack1_06.lvl", static_cast<int>(text.size()),
                     reinterpret_cast<uint8_t*>(text.data()), false);
        freshRules();
        BotGameResult result = botPlayLevel(benchRules, mode, 9, seed++);
        wins += result.won ? 1 : 0;
        moves += result.movesMade;
    }
    state.counters["games/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["winShare"] = benchmark::Counter(wins, benchmark::Counter::kAvgIterations);
    state.counters["moves"] = benchmark::Counter(moves, benchmark::Counter::kAvgIterations);
    resetFileRegistry();
}
BENCHMARK(BM_BotGames)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
} // namespace
