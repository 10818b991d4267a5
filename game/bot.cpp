#include "game/bot.h"

#include <cstdint>
#include <cstring>

#include "engine/random.h"
#include "game/bar_stars.h"
#include "game/board.h"
#include "game/board_click.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/moves.h"
#include "game/removal_pass.h"
#include "game/removal_queue.h"
#include "game/rules.h"
#include "game/rules_step.h"
#include "platform/fixed_list.h"
#include "player/profile.h"

namespace {
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};
constexpr int kStepX[4] = {-1, 1, 0, 0};
constexpr int kStepY[4] = {0, 0, -1, 1};
constexpr int kLineValue = 1000;

struct BotScratch {
    int16_t region[kBoardCells];       // connected region of each empty cell, -1 for the rest
    FixedList<int, kBoardCells> stack; // cells labelled and waiting for their neighbours: each once
};
BotScratch scratch;

int cellIndex(int x, int y) {
    return x * kBoardSize + y;
}

// Labels the regions of empty cells connected by orthogonal steps.
void labelRegions(Rules& r) {
    std::memset(scratch.region, 0xff, sizeof(scratch.region));
    int16_t next = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Cell& cell = r.at(x, y);
            if (cell.square == -1 || cell.ball.kind != kNoPiece || scratch.region[cellIndex(x, y)] >= 0)
                continue;
            scratch.stack.clear();
            scratch.stack.push(cellIndex(x, y));
            scratch.region[cellIndex(x, y)] = next;
            while (!scratch.stack.empty()) {
                int at = scratch.stack.back();
                scratch.stack.removeAt(scratch.stack.size() - 1);
                int cx = at / kBoardSize;
                int cy = at % kBoardSize;
                for (int n = 0; n < 4; ++n) {
                    int nx = cx + kStepX[n];
                    int ny = cy + kStepY[n];
                    const Cell& near = r.at(nx, ny);
                    if (near.square == -1 || near.ball.kind != kNoPiece ||
                        scratch.region[cellIndex(nx, ny)] >= 0)
                        continue;
                    scratch.region[cellIndex(nx, ny)] = next;
                    scratch.stack.push(cellIndex(nx, ny));
                }
            }
            ++next;
        }
    }
}

// Length of the run of `kind` through (x, y) along (dx, dy); (x, y) itself is taken as matching.
int runThrough(Rules& r, int x, int y, int dx, int dy, int kind, int* startX, int* startY) {
    int sx = x;
    int sy = y;
    while (matchAt(r, sx - dx, sy - dy, kind)) {
        sx -= dx;
        sy -= dy;
    }
    int n = 0;
    while ((sx + dx * n == x && sy + dy * n == y) || matchAt(r, sx + dx * n, sy + dy * n, kind)) ++n;
    *startX = sx;
    *startY = sy;
    return n;
}

int blastWorth(Rules& r, int x, int y, int radiusLimit) {
    int worth = 0;
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            if (i * i + j * j >= radiusLimit || !isPlayCell(x + i, y + j)) continue;
            const Cell& cell = r.at(x + i, y + j);
            if (cell.ball.kind != kNoPiece) worth += 60;
            if (cell.square > 0) worth += 250;
        }
    }
    return worth;
}

// What completing runs through (x, y) with the piece of `kind` standing there is worth.
int lineWorth(Rules& r, int x, int y, int kind) {
    int best = 0;
    int firstColour = isWild(kind) ? 0 : kind;
    int lastColour =
        isWild(kind) ? r.game.colourCount : kind; // a wild piece tries every colour, then wild only
    for (int colour = firstColour; colour <= lastColour; ++colour) {
        int matchKind = colour == r.game.colourCount && isWild(kind) ? kind : colour;
        int worth = 0;
        for (int d = 0; d < 4; ++d) {
            int sx = 0;
            int sy = 0;
            int n = runThrough(r, x, y, kLineDX[d], kLineDY[d], matchKind, &sx, &sy);
            if (n < r.game.lineLength) continue;
            worth += kLineValue + 120 * n;
            if (n == r.game.lineLength + 1) worth += 300;
            if (n >= r.game.lineLength + 2) worth += 600;
            for (int i = 0; i < n; ++i) {
                int cx = sx + kLineDX[d] * i;
                int cy = sy + kLineDY[d] * i;
                const Cell& cell = r.at(cx, cy);
                if (cell.square > 0) worth += 300;
                int piece = (cx == x && cy == y) ? kind : cell.ball.kind;
                if (piece == kTripleBomb) worth += blastWorth(r, cx, cy, 5);
                if (piece == kQuadroBomb) worth += blastWorth(r, cx, cy, 8);
                if (piece == kDiamond) worth += 400;
                if (cell.ball.chains > 0) worth += 80;
            }
        }
        if (worth > best) best = worth;
    }
    return best;
}

// Value of the runs of two that a piece keeps or builds at (x, y).
int pairWorth(Rules& r, int x, int y, int kind) {
    if (isWild(kind)) return 0;
    int worth = 0;
    for (int d = 0; d < 4; ++d) {
        int sx = 0;
        int sy = 0;
        int n = runThrough(r, x, y, kLineDX[d], kLineDY[d], kind, &sx, &sy);
        if (n >= 2) worth += n * n * 3;
    }
    return worth;
}

int evaluate(Rules& r, int fromX, int fromY, int toX, int toY) {
    Cell& from = r.at(fromX, fromY);
    Cell& to = r.at(toX, toY);
    int kind = from.ball.kind;
    int lost = pairWorth(r, fromX, fromY, kind);
    from.ball.kind = kNoPiece;
    float appear = to.ball.appearMs;
    to.ball.kind = kind;
    to.ball.appearMs = 0;
    int value = lineWorth(r, toX, toY, kind);
    if (value == 0) value = pairWorth(r, toX, toY, kind) - lost;
    to.ball.kind = kNoPiece;
    to.ball.appearMs = appear;
    from.ball.kind = kind;
    return value;
}
} // namespace

bool botReady(Rules& r) {
    if (r.game.completeCountdownMs != 0 || r.game.defeatCountdownMs != 0 || r.game.menuOpen ||
        r.game.ballMoving)
        return false;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Ball& ball = r.at(x, y).ball;
            if (ball.kind == kNoPiece) continue;
            if (ball.moveTargetX != -1 || ball.appearMs > 0) return false;
        }
    }
    return true;
}

bool botChooseMove(Rules& r, BotMove* move) {
    labelRegions(r);
    bool found = false;
    BotMove best;
    for (int fx = kPlayLeft; fx <= kPlayRight; ++fx) {
        for (int fy = kPlayTop; fy <= kPlayBottom; ++fy) {
            const Cell& from = r.at(fx, fy);
            if (from.ball.kind == kNoPiece || from.ball.chains != 0) continue;
            FixedList<int, 4> near; // the regions next to the ball, each once
            for (int n = 0; n < 4; ++n) {
                int region = scratch.region[cellIndex(fx + kStepX[n], fy + kStepY[n])];
                if (region < 0) continue;
                bool seen = false;
                for (int known : near) seen |= known == region;
                if (!seen) near.push(region);
            }
            if (near.empty()) continue;
            for (int tx = kPlayLeft; tx <= kPlayRight; ++tx) {
                for (int ty = kPlayTop; ty <= kPlayBottom; ++ty) {
                    int region = scratch.region[cellIndex(tx, ty)];
                    if (region < 0) continue;
                    bool reachable = false;
                    for (int known : near) reachable |= known == region;
                    if (!reachable) continue;
                    int value = evaluate(r, fx, fy, tx, ty);
                    if (!found || value > best.value) {
                        found = true;
                        best = BotMove{fx, fy, tx, ty, value};
                    }
                }
            }
        }
    }
    if (found) *move = best;
    return found;
}

bool botChooseHammer(Rules& r, BotMove* blow) {
    bool found = false;
    int bestWorth = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Cell& cell = r.at(x, y);
            int kind = cell.ball.kind;
            if (kind == kNoPiece || kind > kJoker) continue; // smashing a bomb or diamond wastes its blast
            int worth = 1 + cell.square * 100 + cell.ball.chains * 50;
            // A ball with no partner of its colour around it is the one least missed.
            int partners = 0;
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i)
                    partners += (i || j) && r.at(x + i, y + j).ball.kind == kind ? 1 : 0;
            }
            worth += (8 - partners) * 5;
            if (worth > bestWorth) {
                bestWorth = worth;
                *blow = BotMove{x, y, -1, -1, worth};
                found = true;
            }
        }
    }
    return found;
}

void botAct(Rules& r) {
    deselect(r);
    BotMove move;
    bool canMove = botChooseMove(r, &move);
    bool hammerReady = r.game.hammerEnabled && r.game.hammerCharge >= 1.0f;
    BotMove blow;
    if (hammerReady && (!canMove || move.value < kLineValue) && botChooseHammer(r, &blow)) {
        if (r.game.cursorMode != kCursorHammer) clickHammerIcon(r);
        leftClickCell(r, blow.fromX, blow.fromY);
        return;
    }
    if (!canMove) return;
    leftClickCell(r, move.fromX, move.fromY);
    leftClickCell(r, move.toX, move.toY);
}

void botStartLevel(Rules& r, int mode, int levelIndex, unsigned seed) {
    resetProfiles();
    createProfile("bot");
    setProfileMode(mode);
    setProfileLevel(levelIndex);
    r.game.mode = mode;
    r.random.seed(seed);
    startLevel(r, levelIndex);
}

BotGameResult botPlayLevel(Rules& r, int mode, int levelIndex, unsigned seed, float frameMs, int maxLevelMs,
                           void (*afterFrame)(void* context), void* context) {
    botStartLevel(r, mode, levelIndex, seed);
    r.stepBy(frameMs);
    int frames = 0;
    int maxFrames = static_cast<int>(static_cast<float>(maxLevelMs) / frameMs) + 1;
    while (r.game.completeCountdownMs == 0 && r.game.defeatCountdownMs == 0 && !r.game.menuOpen &&
           frames < maxFrames) {
        if (botReady(r)) botAct(r);
        rulesFrame(r);
        if (afterFrame) afterFrame(context);
        ++frames;
    }
    BotGameResult result;
    result.won = r.game.completeCountdownMs > 0;
    result.score = r.game.score;
    result.movesMade = r.game.movesMade;
    result.levelTimeMs = r.game.levelTimeMs;
    return result;
}
