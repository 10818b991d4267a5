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
#include "player/profile.h"
#include "player/settings.h"

namespace {
void freshRules() {
    resetAppState();
    resetGameState();
    resetBoards();
    resetRemovalQueue();
    resetBarStars();
    resetAwards();
    resetSettings();
    resetProfiles();
    createProfile("bench");
}

// A full playing area of finished balls in `colours` colours, dealt from the rules' generator.
void fullBoard(int colours, unsigned seed) {
    rulesRandom.seed(seed);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = cellAt(x, y);
            cell.square = 0;
            newBall(cell);
            cell.ball.kind = randomInt(rulesRandom, colours);
            cell.ball.appearMs = 0;
        }
    }
    countFreeCells();
}

void BM_RemovalPassFullBoard(benchmark::State& state) {
    freshRules();
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fullBoard(4, 7);
        resetRemovalQueue();
        state.ResumeTiming();
        removed += removalPass(true);
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
            if ((x * 7 + y * 3) % 4 != 0) cellAt(x, y).ball.kind = kNoPiece;
        }
    }
    game.selectedX = kPlayLeft;
    game.selectedY = kPlayTop;
    cellAt(kPlayLeft, kPlayTop).ball.kind = 0;
    for (auto _ : state) {
        computePathDistances();
        benchmark::DoNotOptimize(cellAt(kPlayRight, kPlayBottom).pathDistance);
    }
}
BENCHMARK(BM_PathSearchOpenBoard);

void BM_HintSearchHalfBoard(benchmark::State& state) {
    freshRules();
    fullBoard(7, 11);
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            if ((x + y) % 2 == 0) cellAt(x, y).ball.kind = kNoPiece;
        }
    }
    int found = 0;
    for (auto _ : state) found += showHint() ? 1 : 0;
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
        // Reading a level releases its file: register it again for every game.
        resetFileRegistry();
        registerFile("levels/pack1_06.lvl", static_cast<int>(text.size()), reinterpret_cast<uint8_t*>(text.data()),
                     false);
        freshRules();
        BotGameResult result = botPlayLevel(mode, 9, seed++);
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
