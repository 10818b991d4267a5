// The soak: the bot plays many games over every mode and level, and the rules' invariants are checked
// after every frame of the rules.
#include <cmath>
#include <cstdio>
#include <string>

#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/removal_queue.h"
#include "player/profile.h"
#include "sim.h"

namespace {

// A game that has not ended after this many moves never will.
constexpr int kMaxMoves = 3000;

struct SoakGame {
    int mode = 0, level = 0;
    unsigned seed = 0;
    long frame = 0;
    int lastScore = 0;
    int lastProfileScore = 0;
    std::string fault; // the first broken invariant, empty while all hold
};

void fail(SoakGame& g, const char* what, double value) {
    if (!g.fault.empty()) return;
    char text[160];
    std::snprintf(text, sizeof text, "%s (%g) at frame %ld", what, value, g.frame);
    g.fault = text;
}

void checkFrame(void* context) {
    SoakGame& g = *static_cast<SoakGame*>(context);
    ++g.frame;
    if (!g.fault.empty()) return;
    int empty = 0;
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& cell = cellAt(x, y);
            bool exists = cell.square != -1 && isPlayCell(x, y);
            if (!exists && cell.ball.kind != kNoPiece)
                fail(g, "a piece on a hole or the margin", x * 100 + y);
            if (exists && cell.ball.kind == kNoPiece) ++empty;
        }
    }
    if (game.freeCells != empty) fail(g, "free cells differ from the empty cells", game.freeCells - empty);
    if (!(game.barValue >= 0) || !(game.barValue <= game.barGoal + 0.5f))
        fail(g, "the bar outside 0..goal", game.barValue);
    if (!(game.barFraction >= -1e-4f && game.barFraction <= 1 + 1e-4f))
        fail(g, "the bar's fraction outside 0..1", game.barFraction);
    if (removalQueue.count < 0 || removalQueue.count > kMaxRemovalEntries)
        fail(g, "the removal queue beyond its capacity", removalQueue.count);
    if (game.score < g.lastScore) fail(g, "the score fell", game.score - g.lastScore);
    int profileScore = currentProfile().score[g.mode];
    if (profileScore < g.lastProfileScore)
        fail(g, "the player's score fell", profileScore - g.lastProfileScore);
    if (!(game.hammerCharge >= 0 && game.hammerCharge <= 1))
        fail(g, "the hammer charge outside 0..1", game.hammerCharge);
    if (game.movesMade > kMaxMoves) fail(g, "no end after the most moves a level may take", game.movesMade);
    g.lastScore = game.score;
    g.lastProfileScore = profileScore;
}

} // namespace

int runSoak(const std::string& data, long games, long firstSeed) {
    int levels = 0;
    for (int level = 0; level < 70; ++level) levels += levelFileExists(level) ? 1 : 0;
    if (levels == 0) {
        std::fprintf(stderr, "pebblecraft-sim: no level files in %s\n", data.c_str());
        return 2;
    }
    long failures = 0, wins = 0, played = 0;
    for (long n = 0; n < games; ++n) {
        SoakGame g;
        // Every mode on every level in turn, each round with new seeds.
        g.mode = static_cast<int>(n % 3);
        g.level = static_cast<int>((n / 3) % 70);
        g.seed = static_cast<unsigned>(firstSeed + n);
        if (!levelFileExists(g.level)) continue;
        simSetup(data);
        game.mode = g.mode;
        BotGameResult result = botPlayLevel(g.mode, g.level, g.seed, 16, 3600000, checkFrame, &g);
        ++played;
        bool ended = game.completeCountdownMs > 0 || game.defeatCountdownMs > 0;
        if (g.fault.empty() && !ended) fail(g, "neither won nor lost", game.movesMade);
        wins += result.won ? 1 : 0;
        if (!g.fault.empty()) {
            ++failures;
            std::printf("{\"mode\":%d,\"level\":%d,\"seed\":%u,\"fault\":\"%s\"}\n", g.mode, g.level, g.seed,
                        g.fault.c_str());
            std::fflush(stdout);
        }
    }
    std::printf("{\"games\":%ld,\"wins\":%ld,\"failures\":%ld}\n", played, wins, failures);
    return failures == 0 ? 0 : 1;
}
