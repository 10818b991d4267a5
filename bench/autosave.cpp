// What the frame in which an autosave happens pays for it: the saved game and the profiles written
// beside their old files, each flushed to the disk and renamed, and their folder flushed. The figure is
// the time of the autosave alone, on the disk the benchmark runs on (a temporary folder below /tmp
// unless TMPDIR says otherwise); the rest of that frame is the ordinary frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "engine/app_state.h"
#include "game/autosave.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/live_rules.h"
#include "game/presentation_recorder.h"
#include "platform/folders.h"
#include "player/profile.h"
#include "player/settings.h"

namespace {

void BM_AutosaveFrame(benchmark::State& state) {
    std::string home =
        (std::filesystem::temp_directory_path() / ("pebblecraft-bench-" + std::to_string(getpid()))).string();
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/share").c_str(), 1);
    makeFolders(settingsFolder());
    resetAppState();
    liveRules.game = GameState{};
    liveRules.board = Rules{}.board;
    resetSettings();
    resetProfiles();
    createProfile("bench");
    liveRules.autosave = Autosave{};
    PresentationRecorder events;
    liveRules.presentation = &events;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Cell& cell = liveRules.at(x, y);
            cell.square = 0;
            cell.ball.kind = (x + y) % 3 == 0 ? (x * 7 + y) % 5 : kNoPiece;
            cell.ball.moveTargetX = cell.ball.moveTargetY = -1;
        }
    }
    countFreeCells(liveRules);
    game.barGoal = game.barValue = 100;
    app.frameTimeMs = 16;
    for (auto _ : state) {
        game.movesMade += 1;                                     // a move has completed
        liveRules.autosave.sinceAttemptMs = kAutosaveIntervalMs; // and the last save is a second old
        autosaveFrame(liveRules, false);
    }
    state.counters["saves"] = liveRules.autosave.saves;
    state.counters["longest_ms"] = liveRules.autosave.longestSaveMs;
    liveRules.presentation = nullptr;
    std::filesystem::remove_all(home);
}

} // namespace

BENCHMARK(BM_AutosaveFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
