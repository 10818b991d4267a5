#include "game/saved_game.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "engine/file_registry.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "player/profile.h"

static_assert(std::endian::native == std::endian::little, "the saved game is little-endian and copied as is");

namespace {
// Appends fields in order, each little-endian, without padding.
struct Writer {
    std::vector<uint8_t>& out;
    void bytes(const void* data, size_t size) {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        out.insert(out.end(), p, p + size);
    }
    void i32(int32_t v) { bytes(&v, 4); }
    void f32(float v) { bytes(&v, 4); }
    void u8(uint8_t v) { bytes(&v, 1); }
    void zeros(int n) {
        for (int i = 0; i < n; ++i) u8(0);
    }
};

struct Reader {
    const std::vector<uint8_t>& in;
    size_t pos = 0;
    void bytes(void* data, size_t size) {
        std::memcpy(data, in.data() + pos, size);
        pos += size;
    }
    int32_t i32() {
        int32_t v;
        bytes(&v, 4);
        return v;
    }
    float f32() {
        float v;
        bytes(&v, 4);
        return v;
    }
    uint8_t u8() { return in[pos++]; }
    void skip(int n) { pos += static_cast<size_t>(n); }
};

// A file of the right size may still come from elsewhere: keep every value the rules index with in range.
void sanitize() {
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = cellAt(x, y);
            if (!isPlayCell(x, y)) {
                cell.square = -1;
                cell.ball.kind = kNoPiece;
                cell.pendingKind = kNoPiece;
            }
            Ball& ball = cell.ball;
            bool validKind = ball.kind == kNoPiece || (ball.kind >= 0 && ball.kind < kColourCount) ||
                             (ball.kind >= kFirstWild && ball.kind <= kQuadroBomb);
            if (!validKind || cell.square == -1) ball.kind = kNoPiece;
            if (ball.kind == kNoPiece || !isPlayCell(ball.moveTargetX, ball.moveTargetY)) {
                ball.moveTargetX = -1;
                ball.moveTargetY = -1;
            }
        }
    }
    if (game.pathLength < 0 || game.pathLength >= kMaxPathPoints) game.pathLength = 0;
    if (game.colourCount < 1) game.colourCount = 1;
    if (game.colourCount > kColourCount) game.colourCount = kColourCount;
    if (game.levelIndex < 0 || game.levelIndex > 69) game.levelIndex = 0;
    if (game.hammerCharge < 0) game.hammerCharge = 0;
    if (game.hammerCharge > 1) game.hammerCharge = 1;
}
} // namespace

void encodeSavedGame(std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(kSavedGameBytes);
    Writer w{out};
    w.i32(4);
    w.i32(999999);
    w.i32(game.moveDurationMs);
    w.i32(game.colourCount);
    w.bytes(gameBoard.cells, sizeof(gameBoard.cells));
    w.bytes(game.pathPoints, sizeof(game.pathPoints));
    w.i32(game.pathLength);
    for (int v : game.bonusFigure) w.i32(v);
    w.i32(game.levelTimeMs);
    w.f32(game.hammerCharge);
    w.i32(game.combo);
    w.i32(game.jokerFrequency);
    w.i32(game.freeCells);
    w.i32(game.ballsPerTurn);
    w.u8(game.ballMoving ? 1 : 0);
    w.zeros(8);
    w.u8(0);
    w.u8(1);
    w.i32(game.streak);
    w.i32(game.movesMade);
    w.u8(game.defeatDone ? 1 : 0);
    w.zeros(2);
    w.u8(1);
    w.u8(0);
    w.i32(game.maxCombo);
    w.zeros(8);
    w.i32(game.score);
    w.i32(game.hudLives);
    w.f32(game.hudClockMs);
    w.f32(game.sceneryClockMs);
    w.f32(game.reservedClock);
    w.f32(game.completeCountdownMs);
    w.u8(game.rightHeld ? 1 : 0);
    w.i32(game.levelIndex);
    w.zeros(8);
    w.f32(game.barGoal);
    w.f32(game.barValue);
}

bool decodeSavedGame(const std::vector<uint8_t>& in) {
    if (in.size() != static_cast<size_t>(kSavedGameBytes)) return false;
    Reader r{in};
    r.skip(8);
    game.moveDurationMs = r.i32();
    game.colourCount = r.i32();
    r.bytes(gameBoard.cells, sizeof(gameBoard.cells));
    r.bytes(game.pathPoints, sizeof(game.pathPoints));
    game.pathLength = r.i32();
    for (int& v : game.bonusFigure) v = r.i32();
    game.levelTimeMs = r.i32();
    game.hammerCharge = r.f32();
    game.combo = r.i32();
    game.jokerFrequency = r.i32();
    game.freeCells = r.i32();
    game.ballsPerTurn = r.i32();
    game.ballMoving = r.u8() != 0;
    r.skip(10);
    game.streak = r.i32();
    game.movesMade = r.i32();
    game.defeatDone = r.u8() != 0;
    r.skip(4);
    game.maxCombo = r.i32();
    r.skip(8);
    game.score = r.i32();
    game.hudLives = r.i32();
    game.hudClockMs = r.f32();
    game.sceneryClockMs = r.f32();
    game.reservedClock = r.f32();
    game.completeCountdownMs = r.f32();
    game.rightHeld = r.u8() != 0;
    game.levelIndex = r.i32();
    r.skip(8);
    game.barGoal = r.f32();
    game.barValue = r.f32();
    Board* previous = currentBoard;
    currentBoard = &gameBoard;
    sanitize();
    // The count follows from the board; a foreign file cannot make it disagree with the cells.
    countFreeCells();
    currentBoard = previous;
    return true;
}

bool writeSavedGame(const std::string& path) {
    std::vector<uint8_t> bytes;
    encodeSavedGame(bytes);
    return writeWholeFile(path, bytes.data(), bytes.size());
}

bool readSavedGame(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return false;
    return decodeSavedGame(bytes);
}

bool saveGame() {
    PresentationEvents& events = presentation();
    if (!events.gameSceneCurrent() || game.defeatDone ||
        std::strcmp(events.currentPage(), "levelcomplete") == 0 || game.completeCountdownMs != 0 ||
        game.defeatCountdownMs != 0 || game.movesMade == 0) {
        return false;
    }
    // The flag that makes the menus offer the game back is set only when the file really was written.
    if (!writeSavedGame(savedGamePath(currentProfile(), game.mode))) return false;
    setPlayerSavedGame(true);
    return true;
}

bool resumeGame() {
    startLevel(playerCurrentLevel());
    presentation().clearBigTexts();
    return readSavedGame(savedGamePath(currentProfile(), game.mode));
}
