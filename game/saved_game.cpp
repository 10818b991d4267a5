#include "game/saved_game.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <utility>

#include "engine/app_state.h"
#include "engine/file_registry.h"
#include "game/autosave.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/path_search.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/rules.h"
#include "game/saved_game_record.h"
#include "player/profile.h"

namespace {
// A file of the right size may still come from elsewhere or be damaged. Every value is brought back to
// what a level can hold, so that the resumed game plays: no index leaves its table, no clock overflows
// a whole number, no count makes a frame run for minutes, and no move lands on another ball.
constexpr float kMaxClockMs = 1e9f; // clocks and timers stay well inside a whole number's range
constexpr int32_t kMaxCount =
    1000000000;                         // scores, moves, times: far beyond any real level, short of overflow
constexpr int32_t kMaxCombo = 1000000;  // points of a pop are ten times the combo
constexpr float kMaxRouteOffset = 2000; // a route's points lie on the screen around the start cell

bool validKind(int32_t kind) {
    return kind == kNoPiece || (kind >= 0 && kind < kColourCount) ||
           (kind >= kFirstWild && kind <= kQuadroBomb);
}

float within(float value, float low, float high, float fallback) {
    if (!std::isfinite(value)) return fallback;
    return std::clamp(value, low, high);
}

int32_t within(int32_t value, int32_t low, int32_t high) {
    return std::clamp(value, low, high);
}

void stopMove(Ball& ball) {
    ball.moveTargetX = -1;
    ball.moveTargetY = -1;
    ball.moveTimeLeftMs = 0;
    ball.offsetX = 0;
    ball.offsetY = 0;
}

void mendCell(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    Ball& ball = cell.ball;
    // The margin never holds anything; inside, a square is a hole, clean, or busy with a digit of layers.
    if (!isPlayCell(x, y) || cell.square < -1) cell.square = -1;
    if (cell.square > kMaxSquareLayers) cell.square = kMaxSquareLayers;
    if (!validKind(ball.kind) || cell.square == -1) ball.kind = kNoPiece;
    if (!validKind(cell.pendingKind) || cell.square == -1) cell.pendingKind = kNoPiece;
    // Levels chain a ball once; a larger count only comes from a damaged file (and overflows the worth
    // of smashing it).
    ball.chains = within(ball.chains, 0, kMaxBallChains);
    cell.pendingMs = within(cell.pendingMs, 0, 500, 0);
    cell.cellClockMs = within(cell.cellClockMs, 0, kMaxClockMs, 0);
    cell.pulseMs = within(cell.pulseMs, 0, kMaxClockMs, 0);
    cell.scale = within(cell.scale, 0, 1, 1);
    ball.ballClockMs = within(ball.ballClockMs, 0, kMaxClockMs, 0);
    ball.appearMs = within(ball.appearMs, -1, 500, 0);
    ball.phase = within(ball.phase, 0, 1, 0);
    ball.moveTimeLeftMs = within(ball.moveTimeLeftMs, 0, kMaxClockMs, 0);
    ball.offsetX = within(ball.offsetX, -kMaxRouteOffset, kMaxRouteOffset, 0);
    ball.offsetY = within(ball.offsetY, -kMaxRouteOffset, kMaxRouteOffset, 0);
    if (ball.kind == kNoPiece || ball.moveTargetX == -1) stopMove(ball);
}

// The saved route leads from the start cell (its last entry) to the target (its first).
bool routeUsable(Rules& r, int x, int y, const Ball& ball) {
    if (r.game.pathLength < 1 || r.game.pathLength >= kMaxPathPoints) return false;
    Point from = cellCentre(x, y), to = cellCentre(ball.moveTargetX, ball.moveTargetY);
    const PathPoint& first = r.game.pathPoints[0];
    const PathPoint& last = r.game.pathPoints[r.game.pathLength];
    if (first.x != to.x - from.x || first.y != to.y - from.y || last.x != 0 || last.y != 0) return false;
    for (int i = 0; i <= r.game.pathLength; ++i) {
        const PathPoint& p = r.game.pathPoints[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > kMaxRouteOffset ||
            std::fabs(p.y) > kMaxRouteOffset) {
            return false;
        }
    }
    return true;
}

// The route from (x, y) to the ball's target, found again on the board; false when there is none.
bool routeAgain(Rules& r, int x, int y, const Ball& ball) {
    r.game.selectedX = x;
    r.game.selectedY = y;
    computePathDistances(r);
    bool found = r.at(ball.moveTargetX, ball.moveTargetY).pathDistance >= 1 &&
                 buildRoute(r, ball.moveTargetX, ball.moveTargetY);
    deselect(r);
    computePathDistances(r); // no selection: every distance back to -1
    return found;
}

// One move at most is in progress, towards an existing empty cell, along a route that stays on the screen.
void mendMove(Rules& r) {
    bool kept = false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            Ball& ball = r.at(x, y).ball;
            if (ball.kind == kNoPiece || ball.moveTargetX == -1) continue;
            int tx = ball.moveTargetX, ty = ball.moveTargetY;
            bool targetFree = isPlayCell(tx, ty) && (tx != x || ty != y) && r.at(tx, ty).square != -1 &&
                              r.at(tx, ty).ball.kind == kNoPiece;
            if (kept || !targetFree || (!routeUsable(r, x, y, ball) && !routeAgain(r, x, y, ball))) {
                stopMove(ball);
                continue;
            }
            kept = true;
            int longest = moveDurationFor(r, kMaxPathPoints);
            if (r.game.moveDurationMs < 1 || r.game.moveDurationMs > longest)
                r.game.moveDurationMs = std::max(1, moveDurationFor(r, r.game.pathLength));
            // A ball on its way has time left: one without would land before the level is seen.
            ball.moveTimeLeftMs =
                std::clamp(ball.moveTimeLeftMs, 1.0f, static_cast<float>(r.game.moveDurationMs));
        }
    }
    r.game.ballMoving = kept;
}

void mendState(Rules& r, float freshBarGoal) {
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) mendCell(r, x, y);
    }
    if (r.game.pathLength < 0 || r.game.pathLength >= kMaxPathPoints) r.game.pathLength = 0;
    mendMove(r);
    r.game.colourCount = within(r.game.colourCount, 1, kColourCount);
    r.game.ballsPerTurn = levelBallsPerTurn(r.game.ballsPerTurn);
    r.game.jokerFrequency = levelJokerFrequency(r.game.jokerFrequency);
    for (int32_t& entry : r.game.bonusFigure) {
        if (entry < -1 || entry > 9) entry = -1;
    }
    if (r.game.levelIndex < 0 || r.game.levelIndex >= kLevelCount) r.game.levelIndex = 0;
    r.game.hammerCharge = within(r.game.hammerCharge, 0, 1, 0);
    r.game.combo = within(r.game.combo, 0, kMaxCombo);
    r.game.maxCombo = within(r.game.maxCombo, 0, kMaxCombo); // a combo of 1 is no record: it stays 0
    r.game.levelTimeMs = within(r.game.levelTimeMs, 0, kMaxCount);
    r.game.streak = within(r.game.streak, -kMaxCount, kMaxCount);
    r.game.movesMade = within(r.game.movesMade, 0, kMaxCount);
    r.game.score = within(r.game.score, 0, kMaxCount);
    r.game.hudClockMs = within(r.game.hudClockMs, 0, kMaxClockMs, 0);
    r.game.sceneryClockMs = within(r.game.sceneryClockMs, 0, kMaxClockMs, 0);
    r.game.reservedClock = within(r.game.reservedClock, 0, kMaxClockMs, 2000);
    // A written file is never taken during a result sequence; one that says so would end the level unplayed.
    r.game.completeCountdownMs = 0;
    r.game.defeatDone = false;
    // The bar needs a length: the level's own when the file's makes no sense.
    if (!std::isfinite(r.game.barGoal) || r.game.barGoal <= 0 || r.game.barGoal > kMaxClockMs)
        r.game.barGoal = freshBarGoal > 0 && freshBarGoal <= kMaxClockMs ? freshBarGoal : 40;
    r.game.barValue =
        within(r.game.barValue, 0, r.game.barGoal, r.game.mode == kModePuzzle ? 0 : r.game.barGoal);
}

// What the next frame would do with the mended state: a board without a ball or without a cell, a full
// board, a bar at its goal or a puzzle without a busy square would end the level before a move. A file
// the game wrote never says so, since no save is made while a level ends.
bool playableAtOnce(Rules& r) {
    int pieces = 0, busySquares = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Cell& cell = r.at(x, y);
            pieces += cell.ball.kind != kNoPiece ? 1 : 0;
            busySquares += cell.square > 0 ? 1 : 0;
        }
    }
    if (pieces == 0 || r.game.freeCells == 0) return false;
    if (r.game.mode == kModePuzzle) return busySquares > 0 && r.game.barValue < r.game.barGoal;
    return r.game.barValue > 0;
}

// The state a refused file leaves behind: the fresh level as the resume started it.
struct StateCopy {
    GameState state;
    Board board;
};
StateCopy gBeforeDecode;

// A saved game that cannot become a level is kept aside for a look, not deleted, and not offered again.
void keepAside(Rules& r, const std::string& path) {
    std::string aside = path + ".damaged";
    std::rename(path.c_str(), aside.c_str());
    setPlayerSavedGame(r, false);
}
} // namespace

void encodeSavedGame(Rules& r, std::vector<uint8_t>& out) {
    out.resize(kSavedGameBytes);
    RecordWriter writer(out.data(), out.size());
    savedGameFields(writer, std::as_const(r.game), std::as_const(r.board));
    assert(!writer.overflow() && writer.size() == out.size());
}

bool decodeSavedGame(Rules& r, const std::vector<uint8_t>& in) {
    if (in.size() != static_cast<size_t>(kSavedGameBytes)) return false;
    gBeforeDecode.state = r.game;
    gBeforeDecode.board = r.board;
    float freshBarGoal = r.game.barGoal;
    RecordReader reader(in.data(), in.size());
    savedGameFields(reader, r.game, r.board);
    // Every saved game begins with the same two words; a file without them is not one.
    bool playable = reader.complete();
    if (playable) {
        mendState(r, freshBarGoal);
        // The count follows from the board; a foreign file cannot make it disagree with the cells.
        countFreeCells(r);
        playable = playableAtOnce(r);
    }
    if (!playable) {
        r.game = gBeforeDecode.state;
        r.board = gBeforeDecode.board;
    }
    return playable;
}

bool writeSavedGame(Rules& r, const std::string& path) {
    static std::vector<uint8_t> bytes; // kept: the autosave of a level in play takes no new buffer
    encodeSavedGame(r, bytes);
    return writeWholeFile(path, bytes.data(), bytes.size());
}

bool readSavedGame(Rules& r, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    return decodeSavedGame(r, bytes);
}

bool saveAllowedNow(Rules& r, bool resultPageShown) {
    return r.pointsCount && !r.game.defeatDone && !resultPageShown && r.game.completeCountdownMs == 0 &&
           r.game.defeatCountdownMs == 0 && r.game.movesMade != 0;
}

bool saveGame(Rules& r, bool resultPageShown) {
    if (!saveAllowedNow(r, resultPageShown)) return false;
    // The flag that makes the menus offer the game back is set only when the file really was written.
    if (!writeSavedGame(r, savedGamePath(currentProfile(), r.game.mode))) return false;
    setPlayerSavedGame(r, true);
    return true;
}

bool resumeGame(Rules& r) {
    startLevel(r, playerCurrentLevel(r));
    r.events().savedGameResumed();
    std::string path = savedGamePath(currentProfile(), r.game.mode);
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes, kSavedGameBytes + 1)) {
        if (access(path.c_str(), F_OK) != 0) return false; // none: the menus offer the mode again
        bytes.clear();                                     // there, but not one the game could write
    }
    // A damaged file gives the fresh level, already started.
    if (!decodeSavedGame(r, bytes)) keepAside(r, path);
    r.autosave.savedMoves = r.game.movesMade; // what the file holds need not be written again
    return true;
}

void discardSavedGame(Rules& r) {
    setPlayerSavedGame(r, false);
    // As with every player file: the folder is the game's once the start-up has loaded it (the simulator
    // and the tests play under names a player may have).
    if (app.startupDone) unlink(savedGamePath(currentProfile(), r.game.mode).c_str());
}
