#include "gameplay/board_view.h"

#include <cmath>

#include <glm/vec4.hpp>

#include "engine/app_state.h"
#include "engine/render.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/rules_step.h"
#include "gameplay/board_input.h"
#include "gameplay/game_view.h"
#include "gameplay/sprites.h"
#include "platform/fixed_list.h"
#include "visuals/game_textures.h"
#include "visuals/quick_effects.h"

BoardView boardView;

void resetBoardView() {
    boardView = BoardView{};
}

namespace {
constexpr float kTwoPi = 6.2831853f;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Where a piece is drawn this frame and how big.
struct PieceDraw {
    float x, y, h, t;
    int kind;
    bool chained;
    float chainHalfSize; // the cell's scale x 30
};

struct BoardScratch {
    FixedList<PieceDraw, kPlayCells> pieces; // pieces of the second pass, in board order; one a cell
};
BoardScratch scratch;

bool squareGlowShown(const Cell& cell, int x, int y, int busy, float* alpha) {
    Point c = cellCentre(x, y);
    // Square 1 glows in a wave from the lower left corner, square 2 from the upper right.
    float dx = cell.square == 1 ? c.x + 400 : c.x - 400;
    float dy = cell.square == 1 ? c.y + 300 : c.y - 300;
    float d = std::sqrt(dx * dx + dy * dy);
    float argument = cell.pulseMs * 0.003f + d * 0.005f;
    if (busy > 5 && (argument < kTwoPi || argument > 2 * kTwoPi)) return false;
    *alpha = std::sin(argument) * 655 - 400;
    return *alpha > 0;
}

void drawSquares(Rules& r, int busy) {
    const GameTextures& tex = gameTextures;
    for (int kind = 0; kind < 3; ++kind) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                const Cell& cell = r.at(x, y);
                int shown = cell.square > 2 ? 2 : cell.square; // deeper squares show as the busiest picture
                if (shown != kind) continue;
                Point c = cellCentre(x, y);
                drawSprite(tex.squares[kind], c.x, c.y, 0, cell.scale * kSquareHalfSize, kWhite, false);
            }
        }
    }
    for (int kind = 1; kind <= 2; ++kind) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                const Cell& cell = r.at(x, y);
                if (cell.square != kind) continue;
                float alpha = 0;
                if (!squareGlowShown(cell, x, y, busy, &alpha)) continue;
                Point c = cellCentre(x, y);
                drawSprite(tex.squareGlow[kind - 1], c.x, c.y, 180, cell.scale * kSquareHalfSize,
                           argbColor(255, 255, 255, alpha), true);
            }
        }
    }
}

void drawHoverHighlight(Rules& r) {
    int x = boardView.hoverX, y = boardView.hoverY;
    if (!cellExists(r, x, y)) return;
    const Cell& cell = r.at(x, y);
    bool reachable = r.game.selectedX >= 0 && cell.pathDistance > 0;
    // The keyboard's cursor cell is always shown: it is the only sign of where Return acts.
    if (!reachable && cell.ball.kind == kNoPiece && r.game.cursorMode != kCursorHelp &&
        !boardInput.keyCursorShown)
        return;
    Point c = cellCentre(x, y);
    drawSprite(gameTextures.highlight, c.x, c.y, 0, cell.scale * kSquareHalfSize, kWhite, false);
}

void drawAnnouncedBalls(Rules& r) {
    // Shadows first, then the small balls colour by colour.
    for (int pass = -1; pass < kColourCount; ++pass) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            for (int y = kPlayTop; y <= kPlayBottom; ++y) {
                const Cell& cell = r.at(x, y);
                if (cell.pendingKind < 0 || cell.pendingKind >= kColourCount || cell.square < 0) continue;
                if (pass >= 0 && cell.pendingKind != pass) continue;
                float f = cell.pendingMs > 0 ? 1 - cell.pendingMs / 500 : 1;
                Point c = cellCentre(x, y);
                if (pass < 0) {
                    drawPieceShadow(cell.pendingKind, c.x, c.y, kAnnouncedHalfSize * f);
                } else {
                    drawPieceBody(cell.pendingKind, c.x, c.y, kAnnouncedHalfSize * f, 0);
                }
            }
        }
    }
}

void drawBlastPreview(Rules& r) {
    if (r.game.selectedX < 0 || !cellExists(r, r.game.selectedX, r.game.selectedY)) return;
    int kind = r.at(r.game.selectedX, r.game.selectedY).ball.kind;
    if (kind != kTripleBomb && kind != kQuadroBomb) return;
    int mx = boardView.hoverX, my = boardView.hoverY;
    if (!cellExists(r, mx, my)) return;
    bool onBomb = mx == r.game.selectedX && my == r.game.selectedY;
    if (!onBomb && r.at(mx, my).pathDistance <= 0) return;
    int reach = kind == kTripleBomb ? 5 : 8;
    Point centre = cellCentre(mx, my);
    for (int dc = -2; dc <= 2; ++dc) {
        for (int dr = -2; dr <= 2; ++dr) {
            if (dc * dc + dr * dr >= reach || !cellExists(r, mx + dc, my + dr)) continue;
            Point c = cellCentre(mx + dc, my + dr);
            float d = std::sqrt((c.x - centre.x) * (c.x - centre.x) + (c.y - centre.y) * (c.y - centre.y));
            int alpha = static_cast<int>(128 + 100 * std::sin(app.runTimeMs * 0.007f - d * 0.03f));
            drawSprite(gameTextures.highlight, c.x, c.y, 180, kSquareHalfSize,
                       argbColor(255, 255, 255, static_cast<float>(alpha)), true);
        }
    }
}

// Rotation of a preview picture whose open side points along a step (left, right, up, down).
float stepAngle(int dx, int dy) {
    if (dx < 0) return -90;
    if (dx > 0) return 90;
    return dy < 0 ? 0 : 180;
}

// The neighbour one step closer to the selected ball, in the order of the move's route.
bool stepTowardBall(Rules& r, int x, int y, int* nx, int* ny) {
    static constexpr int kStepX[4] = {-1, 1, 0, 0};
    static constexpr int kStepY[4] = {0, 0, -1, 1};
    int d = r.at(x, y).pathDistance;
    for (int n = 0; n < 4; ++n) {
        if (r.at(x + kStepX[n], y + kStepY[n]).pathDistance == d - 1) {
            *nx = x + kStepX[n];
            *ny = y + kStepY[n];
            return true;
        }
    }
    return false;
}

void drawPathPreview(Rules& r) {
    if (r.game.selectedX < 0 || r.game.ballMoving) return;
    int x = boardView.hoverX, y = boardView.hoverY;
    if (!cellExists(r, x, y) || r.at(x, y).pathDistance <= 0) return;
    int previousDx = 0, previousDy = 0;
    bool first = true;
    // A walk never takes more steps than there are cells; the bound guards a stale distance map.
    for (int steps = 0; steps < kPlayCells && r.at(x, y).pathDistance >= 1; ++steps) {
        int nx = x, ny = y;
        if (!stepTowardBall(r, x, y, &nx, &ny)) break;
        int dx = nx - x, dy = ny - y;
        Point c = cellCentre(x, y);
        int frame;
        float angle = stepAngle(dx, dy);
        if (first) {
            frame = 56;
        } else if (r.at(x, y).pathDistance == 1) {
            frame = 59;
        } else if (dx == previousDx && dy == previousDy) {
            frame = 57;
        } else {
            frame = 58;
        }
        drawSheetFrame(frame, c.x, c.y, angle, 40.2f, kWhite, false);
        first = false;
        previousDx = dx;
        previousDy = dy;
        x = nx;
        y = ny;
    }
}

// The second pass's bookkeeping: where each piece is, the selected ball's hop, the travel trail. The dips
// of the squares under them are the rules' (the board sweep), as the path search waits for them.
void placePieces(Rules& r, bool raiseEffects) {
    scratch.pieces.clear();
    float s = std::fabs(std::sin(r.game.hopClockMs * kHopRate));
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            const Cell& cell = r.at(x, y);
            const Ball& ball = cell.ball;
            if (ball.kind == kNoPiece) continue;
            Point c = cellCentre(x, y);
            PieceDraw& p = *scratch.pieces.add(); // one piece a play cell: never full
            float f = appearFactor(ball.appearMs);
            p.kind = ball.kind;
            p.t = ball.ballClockMs;
            p.chained = false;
            p.chainHalfSize = cell.scale * 30;
            p.x = c.x + ball.offsetX;
            p.y = c.y + ball.offsetY;
            p.h = kPieceHalfSize * f;
            bool travelling = ball.moveTimeLeftMs > 0 && ball.moveTargetX != -1;
            if (travelling && raiseEffects) {
                boardView.trailMs += r.frameMs;
                float every = 0.02f * static_cast<float>(r.game.moveDurationMs);
                if (every < 1) every = 1;
                while (boardView.trailMs >= every) {
                    boardView.trailMs -= every;
                    spawnQuick(p.x, p.y, 12);
                }
            } else if (x == r.game.selectedX && y == r.game.selectedY) {
                p.x += 4 * s;
                p.y += 6 * s;
                p.h *= 1 + 0.16f * s;
            } else {
                p.chained = ball.chains == 1;
            }
        }
    }
}

void drawPieces(float frameMs, bool raiseEffects) {
    for (const PieceDraw& p : scratch.pieces) {
        drawPieceShadow(p.kind, p.x, p.y, p.h);
    }
    // Bodies picture by picture: colours, joker, bombs, then the diamond's glow and its frames.
    static constexpr int kBodyOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, kJoker, kTripleBomb, kQuadroBomb, kDiamond};
    for (int kind : kBodyOrder) {
        for (const PieceDraw& p : scratch.pieces) {
            if (p.kind == kind) drawPieceBody(p.kind, p.x, p.y, p.h, p.t);
        }
    }
    for (const PieceDraw& p : scratch.pieces) {
        if (p.chained) drawSprite(gameTextures.chain, p.x, p.y, 45, p.chainHalfSize, kWhite, false);
        if (raiseEffects) drawPieceSparks(p.kind, p.x, p.y, p.h, p.t, frameMs);
    }
}
} // namespace

bool cellUnderPoint(float x, float y, int* cellX, int* cellY) {
    cellFromPoint(x, y, cellX, cellY);
    return *cellX >= 0 && *cellX < kBoardSize && *cellY >= 0 && *cellY < kBoardSize;
}

float appearFactor(float appearMs) {
    if (appearMs <= 0) return 1;
    float f = 1 - appearMs / 500 + 0.41f;
    if (f > 1) {
        float wave = std::sin(appearMs * 0.014f);
        f = 1 + 0.1f * wave * wave; // a small overshoot before it settles
    }
    return f;
}

int busySquareCount(Rules& r) {
    int count = 0;
    for (int x = kPlayLeft; x <= kPlayRight; ++x) {
        for (int y = kPlayTop; y <= kPlayBottom; ++y) count += r.at(x, y).square > 0 ? 1 : 0;
    }
    return count;
}

void drawBoard(Rules& r, bool played) {
    glm::vec4 savedTint = render.tint;
    if (r.game.defeatCountdownMs > 0) {
        // The board loses its red and blue as the countdown falls from 5000 to 3000, then stays so.
        float v = (r.game.defeatCountdownMs - 3000) * 0.8f / 2000 + 0.2f;
        if (v < 0.2f) v = 0.2f;
        if (v > 1) v = 1;
        render.tint.r *= v;
        render.tint.b *= v;
    }
    if (r.game.pauseMs > 0) {
        if (r.game.pauseMs > 500) {
            render.tint = savedTint;
            return;
        }
        render.tint.a *= 1 - r.game.pauseMs / 500;
    }
    // The pointer and the keyboard's cursor belong to the board the player plays.
    boardView.hoverX = boardView.hoverY = -1;
    int hx = -1, hy = -1;
    if (played && boardInput.keyCursorShown) {
        hx = boardInput.keyCursorX; // the keyboard's cursor cell stands for the mouse until it moves
        hy = boardInput.keyCursorY;
    }
    if (played && (boardInput.keyCursorShown || cellUnderPoint(gameView.mouseX, gameView.mouseY, &hx, &hy))) {
        boardView.hoverX = hx;
        boardView.hoverY = hy;
    }
    if (completeSequenceStarted(r) && r.game.completeCountdownMs <= 7500) {
        drawBreakUp(r); // nothing once the sequence has ended
    } else {
        drawSquares(r, busySquareCount(r));
        drawHoverHighlight(r);
        drawAnnouncedBalls(r);
        drawBlastPreview(r);
        drawPathPreview(r);
        placePieces(r, played);
        drawPieces(r.frameMs, played);
    }
    render.tint = savedTint;
}
