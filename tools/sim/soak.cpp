// The soak: the bot (or the hasty player) plays many games over every mode and level, and the rules'
// invariants are checked after every frame of the rules and every act of the player.
#include <cmath>
#include <cstdio>
#include <string>

#include "game/board.h"
#include "game/bot.h"
#include "game/game_state.h"
#include "game/invariants.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/removal_queue.h"
#include "game/rules_step.h"
#include "hasty.h"
#include "player/profile.h"
#include "player/records.h"
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
    int decidedMoves = -1; // the moves made when the level was won or lost
    std::string fault;     // the first broken invariant, empty while all hold
};

const SoakGame* currentGame = nullptr; // named when the rules stop the program at a broken invariant

void printFault(const SoakGame& g, const char* fault) {
    std::printf("{\"mode\":%d,\"level\":%d,\"seed\":%u,\"fault\":\"%s\"}\n", g.mode, g.level, g.seed, fault);
    std::fflush(stdout);
}

void nameTheGame(const char* line) {
    if (!currentGame) return;
    char text[260];
    std::snprintf(text, sizeof text, "%s at frame %ld", line, currentGame->frame);
    printFault(*currentGame, text);
}

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
            const Cell& cell = simRules.at(x, y);
            bool exists = cell.square != -1 && isPlayCell(x, y);
            if (!exists && cell.ball.kind != kNoPiece)
                fail(g, "a piece on a hole or the margin", x * 100 + y);
            if (exists && cell.ball.kind == kNoPiece) ++empty;
        }
    }
    if (simRules.game.freeCells != empty)
        fail(g, "free cells differ from the empty cells", simRules.game.freeCells - empty);
    if (!(simRules.game.barValue >= 0) || !(simRules.game.barValue <= simRules.game.barGoal + 0.5f))
        fail(g, "the bar outside 0..goal", simRules.game.barValue);
    if (!(simRules.game.barFraction >= -1e-4f && simRules.game.barFraction <= 1 + 1e-4f))
        fail(g, "the bar's fraction outside 0..1", simRules.game.barFraction);
    if (simRules.removals.entries.size() < 0 || simRules.removals.entries.size() > kMaxRemovalEntries)
        fail(g, "the removal queue beyond its capacity", simRules.removals.entries.size());
    if (simRules.game.score < g.lastScore) fail(g, "the score fell", simRules.game.score - g.lastScore);
    int profileScore = currentProfile().score[g.mode];
    if (profileScore < g.lastProfileScore)
        fail(g, "the player's score fell", profileScore - g.lastProfileScore);
    if (!(simRules.game.hammerCharge >= 0 && simRules.game.hammerCharge <= 1))
        fail(g, "the hammer charge outside 0..1", simRules.game.hammerCharge);
    if (simRules.game.movesMade > kMaxMoves)
        fail(g, "no end after the most moves a level may take", simRules.game.movesMade);
    g.lastScore = simRules.game.score;
    g.lastProfileScore = profileScore;
}

// What the hasty player can break besides: moves after the level is decided, and after a frame, a ball
// reported moving on a board that stood still (a started move marks itself before its first frame).
void checkHastyStep(SoakGame& g, bool afterFrame) {
    checkFrame(&g);
    if (levelDecided(simRules)) {
        if (g.decidedMoves < 0) g.decidedMoves = simRules.game.movesMade;
        if (simRules.game.movesMade != g.decidedMoves)
            fail(g, "a move counted after the level was decided", simRules.game.movesMade - g.decidedMoves);
    }
    if (afterFrame && simRules.game.ballMoving && !boardSweepRuns(simRules))
        fail(g, "a ball moving on a board that stands still", 0);
}

// One game of the hasty player: it acts between frames of uneven length until a result page opens.
BotGameResult playHasty(SoakGame& g) {
    botStartLevel(simRules, g.mode, g.level, g.seed);
    HastyPlayer player;
    startHasty(player, g.seed);
    constexpr long kMaxFrames = 400000; // two hours of play at the longest frames
    for (long i = 0; i < kMaxFrames && g.fault.empty(); ++i) {
        if (simRules.game.menuOpen && levelDecided(simRules)) break; // the result page
        hastyAct(player);
        --g.frame; // an act is checked as a step of its own, not counted as a frame
        checkHastyStep(g, false);
        simRules.stepBy(hastyFrameMs(player));
        rulesFrame(simRules);
        checkHastyStep(g, true);
    }
    // Behind the result page the board comes to stand still, and the state reports no ball moving.
    for (int i = 0; i < 200 && simRules.game.menuOpen && simRules.game.menuFadeMs < 300; ++i) {
        rulesFrame(simRules);
        checkHastyStep(g, true);
    }
    rulesFrame(simRules);
    checkHastyStep(g, true);
    if (simRules.game.ballMoving) fail(g, "a ball reported moving behind the result page", 0);
    BotGameResult result;
    result.won = completeSequenceStarted(simRules);
    if (result.won && records.levels[g.mode][g.level].fewestMoves != simRules.game.movesMade)
        fail(g, "the record's moves differ from the results", records.levels[g.mode][g.level].fewestMoves);
    result.score = simRules.game.score;
    result.movesMade = simRules.game.movesMade;
    return result;
}

} // namespace

int runSoak(const std::string& data, long games, long firstSeed, bool hasty) {
    int levels = 0;
    for (int level = 0; level < 70; ++level) levels += levelFileExists(level) ? 1 : 0;
    if (levels == 0) {
        std::fprintf(stderr, "pebblecraft-sim: no level files in %s\n", data.c_str());
        return 2;
    }
    std::printf("{\"player\":\"%s\",\"games\":%ld,\"seed\":%ld}\n", hasty ? "hasty" : "bot", games,
                firstSeed);
    std::fflush(stdout);
    rulesInvariants.strict = true; // a broken invariant stops the soak, naming its game
    rulesInvariants.beforeAbort = nameTheGame;
    long failures = 0, wins = 0, played = 0, moves = 0, score = 0;
    for (long n = 0; n < games; ++n) {
        SoakGame g;
        // Every mode on every level in turn, each round with new seeds.
        g.mode = static_cast<int>(n % 3);
        g.level = static_cast<int>((n / 3) % 70);
        g.seed = static_cast<unsigned>(firstSeed + n);
        if (!levelFileExists(g.level)) continue;
        simSetup(data);
        simRules.game.mode = g.mode;
        currentGame = &g;
        BotGameResult result =
            hasty ? playHasty(g)
                  : botPlayLevel(simRules, g.mode, g.level, g.seed, 16, 3600000, checkFrame, &g);
        currentGame = nullptr;
        ++played;
        bool ended = levelDecided(simRules);
        if (g.fault.empty() && !ended) fail(g, "neither won nor lost", simRules.game.movesMade);
        wins += result.won ? 1 : 0;
        moves += result.movesMade;
        score += result.score;
        if (!g.fault.empty()) {
            ++failures;
            printFault(g, g.fault.c_str());
        }
    }
    // The sums of moves and scores tell one run from another: a seed repeats them exactly.
    std::printf("{\"games\":%ld,\"wins\":%ld,\"failures\":%ld,\"moves\":%ld,\"score\":%ld}\n", played, wins,
                failures, moves, score);
    return failures == 0 ? 0 : 1;
}
