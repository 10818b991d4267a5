#include "game/removal_pass.h"

#include "game/bar_stars.h"
#include "game/board.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/new_balls.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "game/removal_queue.h"

AwardState awards;

void resetAwards() {
    awards = AwardState{};
}

namespace {
// Directions of the line search, in the order they are examined.
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};
// The eight directions a diamond looks in for the colours next to it.
constexpr int kAroundDX[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kAroundDY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kMaxSweeps = 7;

void markPlayCell(int x, int y) {
    // Blasts reach up to two cells past the edge; the margin is never written.
    if (isPlayCell(x, y)) cellAt(x, y).marked = 1;
}

// Marks the blast area of a bomb; true when the area holds a wild piece (the bomb itself counts).
bool blast(int x, int y, int radiusSquaredLimit) {
    bool wildInArea = false;
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            if (i * i + j * j >= radiusSquaredLimit) continue;
            markPlayCell(x + i, y + j);
            if (cellAt(x + i, y + j).ball.kind >= kFirstWild) wildInArea = true;
        }
    }
    return wildInArea;
}

void sweepDiamond(int x, int y) {
    bool collected[kColourCount + 2] = {}; // colours 0..9
    bool any = false;
    for (int d = 0; d < 8; ++d) {
        for (int step = 1; step <= game.lineLength - 2; ++step) {
            const Cell& cell = cellAt(x + kAroundDX[d] * step, y + kAroundDY[d] * step);
            int kind = cell.ball.kind;
            if (kind >= kFirstWild) continue; // look past wild pieces
            if (kind >= 0 && cell.marked) {
                collected[kind] = true;
                any = true;
            }
            break; // a colour (marked or not), an empty cell or a hole ends this direction
        }
    }
    if (!any) {
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            for (int col = kPlayLeft; col <= kPlayRight; ++col) {
                const Cell& cell = cellAt(col, row);
                if (cell.marked && cell.ball.kind >= 0 && cell.ball.kind < kFirstWild) {
                    collected[cell.ball.kind] = true;
                    break;
                }
            }
        }
    }
    Point from = cellCentre(x, y);
    bool markedSome = false;
    for (int col = kPlayLeft; col <= kPlayRight; ++col) {
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            Cell& cell = cellAt(col, row);
            int kind = cell.ball.kind;
            if (cell.marked || kind < 0 || kind >= kFirstWild || !collected[kind]) continue;
            cell.marked = 1;
            markedSome = true;
            Point to = cellCentre(col, row);
            presentation().lightning(from.x, from.y, to.x, to.y);
        }
    }
    if (markedSome) presentation().sound("diamond0.ogg", 0);
}

void announceEarned(int kind) {
    if (!cellExists(game.landingX, game.landingY)) return;
    announceBonus(kind);
    placePendingBonuses();
}

void runAwards() {
    if (game.passQuadroBombs >= game.lineLength) {
        presentation().sound("deleteballs.ogg", 0);
        clearAllBalls();
        stripAllSquares();
        game.barValue = 0;
    } else if (game.passBombs + game.passDiamonds >= 3) {
        presentation().sound("deleteballs.ogg", 0);
        clearAllBalls();
        addPoints(0, -500, 5000);
        presentation().textKey("megamatch", 0, -40, 30, 27, 2500);
        presentation().textLiteral("+5000", -40, -30, 27, 2500);
    } else if (game.passBallsRemoved > 15 + 5 * game.mode) {
        presentation().sound("excellent.ogg", 0);
        presentation().textKey(awards.nextIsPerfect ? "perfect" : "excellent", 0, -40, 0, 27, 2500);
        awards.nextIsPerfect = !awards.nextIsPerfect;
    } else if (game.passBombs + game.passDiamonds + game.passJokers >= 3) {
        addPoints(0, -500, 1000);
        presentation().textKey("supermatch", 0, -40, 30, 27, 2500);
        presentation().textLiteral("+1000", -40, -30, 27, 2500);
        presentation().sound("excellent.ogg", 0);
    }
    game.passDiamonds = 0;
    game.passJokers = 0;
    game.passBombs = 0;
    game.passQuadroBombs = 0;
    game.passBallsRemoved = 0;
    game.passSquaresCleared = 0;
    (helpBoardActive ? helpRemovalQueue : removalQueue).ballSoundPlayed = false;
}
} // namespace

bool matchAt(int x, int y, int kind) {
    const Ball& ball = cellAt(x, y).ball;
    if (ball.kind == kNoPiece || ball.appearMs > 0) return false;
    return ball.kind == kind || ball.kind >= kFirstWild;
}

int runThrough(int x, int y, int d, int kind, int& sx, int& sy) {
    int dx = kLineDX[d];
    int dy = kLineDY[d];
    sx = x;
    sy = y;
    while (matchAt(sx - dx, sy - dy, kind)) {
        sx -= dx;
        sy -= dy;
    }
    int n = 0;
    while (matchAt(sx + dx * n, sy + dy * n, kind)) ++n;
    return n;
}

int markLinesFrom(int x, int y) {
    int kind = cellAt(x, y).ball.kind;
    if (kind == kNoPiece) return 0;
    int best = 0;
    for (int d = 0; d < 4; ++d) {
        int dx = kLineDX[d];
        int dy = kLineDY[d];
        int sx, sy;
        int n = runThrough(x, y, d, kind, sx, sy);
        if (n < game.lineLength) continue;
        for (int i = 0; i < n; ++i) cellAt(sx + dx * i, sy + dy * i).marked = 1;
        if (n > best) best = n;
    }
    return best;
}

int removalPass(bool fromMove) {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            cellAt(x, y).marked = 0;
        }
    }
    int best = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            int n = markLinesFrom(x, y);
            if (n > best) best = n;
        }
    }

    // Explosions in sweeps; a bomb asks for another sweep while its area holds a wild piece, at most 7.
    int sweeps = 0;
    bool again = true;
    while (again && sweeps < kMaxSweeps) {
        again = false;
        ++sweeps;
        for (int y = kPlayTop; y <= kPlayBottom; ++y) {
            for (int x = kPlayLeft; x <= kPlayRight; ++x) {
                const Cell& cell = cellAt(x, y);
                if (!cell.marked) continue;
                int kind = cell.ball.kind;
                if (kind == kTripleBomb) {
                    again = blast(x, y, 5) || again;
                } else if (kind == kQuadroBomb) {
                    again = blast(x, y, 8) || again;
                } else if (kind == kDiamond) {
                    sweepDiamond(x, y);
                }
            }
        }
    }
    awards.lastSweeps = sweeps;

    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = cellAt(x, y);
            if (!cell.marked) continue;
            switch (cell.ball.kind) {
            case kJoker:
                game.passJokers += 1;
                break;
            case kTripleBomb:
                game.passBombs += 1;
                break;
            case kDiamond:
                game.passDiamonds += 1;
                break;
            case kQuadroBomb:
                game.passBombs += 1;
                game.passQuadroBombs += 1;
                break;
            default:
                break;
            }
        }
    }

    int removed = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = cellAt(x, y);
            if (!cell.marked) continue;
            if (cell.ball.kind == kNoPiece) {
                hitSquare(x, y);
                continue;
            }
            removed += 1;
            if (cell.ball.chains < 1) {
                removeBall(x, y);
            } else {
                unchain(x, y);
            }
        }
    }

    if (helpBoardActive) {
        runAwards();
        return removed;
    }

    if (removed > 0) {
        game.combo += 1;
        if (game.combo >= 2) {
            game.streak -= game.combo;
            if (game.combo > game.maxCombo) game.maxCombo = game.combo;
            // Before the first move there is no landing cell; the text then stands at the board's middle.
            Point at = game.landingX >= 0 ? cellCentre(game.landingX, game.landingY) : Point{-60, 0};
            presentation().textKey("combox", game.combo, at.x, at.y - 40, 20, 2000);
        }
    } else if (fromMove) {
        game.combo = 0;
    }

    if (removed > 0 && game.hammerCharge < 1) {
        if (game.hammerEnabled) {
            float before = game.hammerCharge;
            game.hammerCharge += static_cast<float>(removed) * static_cast<float>(game.combo) * 0.03f;
            if (before < 1 && game.hammerCharge >= 1) announceHammerReady();
        }
        if (game.hammerCharge > 1) game.hammerCharge = 1;
    }

    if (game.landingX >= 0 && bonusPiecesUnlocked()) {
        if (best >= game.lineLength + 2) announceEarned(kQuadroBomb);
        if (game.combo % 2 == 0 && game.combo >= 2) {
            announceEarned(kDiamond);
        } else if (best == game.lineLength + 1) {
            announceEarned(kTripleBomb);
        }
    }

    runAwards();
    return removed;
}

void removeBall(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.ball.kind == kNoPiece) return;
    Point centre = cellCentre(x, y);
    addRemovalEntry(centre.x, centre.y, cell.ball.kind, cell.square > 0);
    game.passBallsRemoved += 1;
    cell.ball.kind = kNoPiece;
    if (cell.ball.moveTargetX != -1) {
        // A travelling ball swept away by a blast or a line of new balls ends its move here.
        cell.ball.moveTargetX = -1;
        cell.ball.moveTargetY = -1;
        cell.ball.moveTimeLeftMs = 0;
        cell.ball.offsetX = 0;
        cell.ball.offsetY = 0;
        game.pathLength = 0;
    }
    if (cell.square > 0) hitSquare(x, y);
    game.freeCells += 1;
}

void unchain(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.ball.chains <= 0) return;
    cell.ball.chains -= 1;
    Point centre = cellCentre(x, y);
    presentation().effect("chain1", centre.x, centre.y);
    presentation().effect("chain2", centre.x, centre.y);
    presentation().sound("chain.ogg", 0);
    addPoints(centre.x, centre.y, 50);
}

void hitSquare(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.square <= 0) return;
    if (cell.square <= 2) {
        Point centre = cellCentre(x, y);
        presentation().effect("square1", centre.x, centre.y);
        presentation().effect("square2", centre.x, centre.y);
        presentation().sound("square.ogg", 0);
        game.passSquaresCleared += 1;
        if (game.mode == kModePuzzle && !helpBoardActive) sendBarStar(centre.x, centre.y, 0);
    }
    cell.square -= 1;
}

void clearAllBalls() {
    presentation().shake(800, 1.0f);
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = cellAt(x, y);
            if (cell.ball.kind == kNoPiece) continue;
            if (cell.ball.chains < 1) {
                removeBall(x, y);
            } else {
                unchain(x, y);
            }
        }
    }
    placePreviews();
    for (int i = 0; i < game.ballsPerTurn; ++i) drawPreview();
}

void stripAllSquares() {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (cellAt(x, y).square > 0) hitSquare(x, y);
        }
    }
}
