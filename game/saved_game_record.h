// The saved game's layout: one field list per record, used for writing and reading alike (see
// engine/file_record.h). The file keeps words the game no longer holds (padding, zero words, constant
// flags); they live here, not in Cell and Ball.
#pragma once

#include <cstdint>

#include "engine/file_record.h"
#include "game/board.h"
#include "game/game_state.h"

constexpr int32_t kSavedGameWord0 = 4; // the two words that open every saved game
constexpr int32_t kSavedGameWord1 = 999999;

// A ball: 64 bytes.
inline constexpr auto ballFields = [](auto& f, auto& ball) {
    f.f32(ball.offsetX);
    f.f32(ball.offsetY);
    f.i32(ball.kind);
    f.pad(8);
    f.f32(ball.ballClockMs);
    f.i32(ball.moveTargetX);
    f.i32(ball.moveTargetY);
    f.f32(ball.moveTimeLeftMs);
    f.f32(ball.appearMs);
    f.f32(ball.vanishDelayMs);
    f.f32(ball.phase);
    f.pad(8);
    f.i32(ball.chains);
    f.pad(4);
};
static_assert(recordBytes<Ball>(ballFields) == 64);

// A cell with its ball: 108 bytes.
inline constexpr auto cellFields = [](auto& f, auto& cell) {
    f.pad(4);
    f.i32(cell.square);
    f.i32(cell.pathDistance);
    ballFields(f, cell.ball);
    f.i32(cell.pendingKind);
    f.f32(cell.pendingMs);
    f.pad(4);
    f.f32(cell.cellClockMs);
    f.f32(cell.pulseMs);
    f.pad(4);
    f.f32(cell.scale);
    f.u8(cell.marked);
    f.pad(3);
};
static_assert(recordBytes<Cell>(cellFields) == 108);

// The whole file: the board column by column between the level's counters, the move's route and the
// clocks the presentation carries over.
template <class F, class State, class BoardT> void savedGameFields(F& f, State& game, BoardT& board) {
    f.word(kSavedGameWord0);
    f.word(kSavedGameWord1);
    f.i32(game.moveDurationMs);
    f.i32(game.colourCount);
    for (auto& cell : board.cells) cellFields(f, cell);
    for (auto& point : game.pathPoints) {
        f.f32(point.x);
        f.f32(point.y);
    }
    f.i32(game.pathLength);
    f.i32s(game.bonusFigure);
    f.i32(game.levelTimeMs);
    f.f32(game.hammerCharge);
    f.i32(game.combo);
    f.i32(game.jokerFrequency);
    f.i32(game.freeCells);
    f.i32(game.ballsPerTurn);
    f.flag8(game.ballMoving);
    f.pad(9);
    f.pad(1, 1);
    f.i32(game.streak);
    f.i32(game.movesMade);
    f.flag8(game.defeatDone);
    f.pad(2);
    f.pad(1, 1);
    f.pad(1);
    f.i32(game.maxCombo);
    f.pad(8);
    f.i32(game.score);
    f.i32(game.hudLives);
    f.f32(game.hudClockMs);
    f.f32(game.sceneryClockMs);
    f.f32(game.reservedClock);
    f.f32(game.completeCountdownMs);
    f.flag8(game.rightHeld);
    f.i32(game.levelIndex);
    f.pad(8);
    f.f32(game.barGoal);
    f.f32(game.barValue);
}
