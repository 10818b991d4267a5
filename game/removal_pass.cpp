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
#include "game/rules.h"

namespace {
// Directions of the line search, in the order they are examined.
constexpr int kLineDX[4] = {1, 1, 1, 0};
constexpr int kLineDY[4] = {1, -1, 0, 1};
// The eight directions a diamond looks in for the colours next to it.
constexpr int kAroundDX[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kAroundDY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kMaxSweeps = 7;
constexpr int kMegamatchPoints = 5000;
constexpr int kSupermatchPoints = 1000;
constexpr int kChainPoints = 50; // a chain broken

void markPlayCell(Rules& r, int x, int y) {
    // Blasts reach up to two cells past the edge; the margin is never written.
    if (isPlayCell(x, y)) r.at(x, y).marked = 1;
}

// Marks the blast area of a bomb; true when the area holds a wild piece (the bomb itself counts).
bool blast(Rules& r, int x, int y, int radiusSquaredLimit) {
    bool wildInArea = false;
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            if (i * i + j * j >= radiusSquaredLimit) continue;
            markPlayCell(r, x + i, y + j);
            if (r.at(x + i, y + j).ball.kind >= kFirstWild) wildInArea = true;
        }
    }
    return wildInArea;
}

void sweepDiamond(Rules& r, int x, int y) {
    bool collected[kColourCount + 2] = {}; // colours 0..9
    bool any = false;
    for (int d = 0; d < 8; ++d) {
        for (int step = 1; step <= r.game.lineLength - 2; ++step) {
            const Cell& cell = r.at(x + kAroundDX[d] * step, y + kAroundDY[d] * step);
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
                const Cell& cell = r.at(col, row);
                if (cell.marked && cell.ball.kind >= 0 && cell.ball.kind < kFirstWild) {
                    collected[cell.ball.kind] = true;
                    break;
                }
            }
        }
    }
    int reached = 0;
    for (int col = kPlayLeft; col <= kPlayRight; ++col) {
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            Cell& cell = r.at(col, row);
            int kind = cell.ball.kind;
            if (cell.marked || kind < 0 || kind >= kFirstWild || !collected[kind]) continue;
            cell.marked = 1;
            reached += 1;
            r.events().diamondBolt(x, y, col, row);
        }
    }
    r.events().diamondSwept(x, y, reached);
}

void announceEarned(Rules& r, int kind) {
    if (!cellExists(r, r.game.landingX, r.game.landingY)) return;
    announceBonus(r, kind);
    placePendingBonuses(r);
}

void runAwards(Rules& r) {
    if (r.game.passQuadroBombs >= r.game.lineLength) {
        r.events().boardClearedByDoubleBombs();
        clearAllBalls(r);
        stripAllSquares(r);
        r.game.barValue = 0;
    } else if (r.game.passBombs + r.game.passDiamonds >= 3) {
        r.events().megamatchClearsBoard();
        clearAllBalls(r);
        addPoints(r, kMegamatchPoints);
        r.events().awardWon(Award::Megamatch, kMegamatchPoints);
    } else if (r.game.passBallsRemoved > 15 + 5 * r.game.mode) {
        r.events().awardWon(r.awards.nextIsPerfect ? Award::Perfect : Award::Excellent, 0);
        r.awards.nextIsPerfect = !r.awards.nextIsPerfect;
    } else if (r.game.passBombs + r.game.passDiamonds + r.game.passJokers >= 3) {
        addPoints(r, kSupermatchPoints);
        r.events().awardWon(Award::Supermatch, kSupermatchPoints);
    }
    resetPassCounters(r);
    r.removals.ballPopped = false;
}
} // namespace

bool matchAt(Rules& r, int x, int y, int kind) {
    const Ball& ball = r.at(x, y).ball;
    if (ball.kind == kNoPiece || ball.appearMs > 0) return false;
    return ball.kind == kind || ball.kind >= kFirstWild;
}

int runThrough(Rules& r, int x, int y, int d, int kind, int& sx, int& sy) {
    int dx = kLineDX[d];
    int dy = kLineDY[d];
    sx = x;
    sy = y;
    while (matchAt(r, sx - dx, sy - dy, kind)) {
        sx -= dx;
        sy -= dy;
    }
    int n = 0;
    while (matchAt(r, sx + dx * n, sy + dy * n, kind)) ++n;
    return n;
}

int markLinesFrom(Rules& r, int x, int y) {
    int kind = r.at(x, y).ball.kind;
    if (kind == kNoPiece) return 0;
    int best = 0;
    for (int d = 0; d < 4; ++d) {
        int dx = kLineDX[d];
        int dy = kLineDY[d];
        int sx, sy;
        int n = runThrough(r, x, y, d, kind, sx, sy);
        if (n < r.game.lineLength) continue;
        for (int i = 0; i < n; ++i) r.at(sx + dx * i, sy + dy * i).marked = 1;
        if (n > best) best = n;
    }
    return best;
}

int removalPass(Rules& r, bool fromMove) {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            r.at(x, y).marked = 0;
        }
    }
    int best = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            int n = markLinesFrom(r, x, y);
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
                const Cell& cell = r.at(x, y);
                if (!cell.marked) continue;
                int kind = cell.ball.kind;
                if (kind == kTripleBomb) {
                    again = blast(r, x, y, 5) || again;
                } else if (kind == kQuadroBomb) {
                    again = blast(r, x, y, 8) || again;
                } else if (kind == kDiamond) {
                    sweepDiamond(r, x, y);
                }
            }
        }
    }
    r.awards.lastSweeps = sweeps;

    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = r.at(x, y);
            if (!cell.marked) continue;
            switch (cell.ball.kind) {
            case kJoker:
                r.game.passJokers += 1;
                break;
            case kTripleBomb:
                r.game.passBombs += 1;
                break;
            case kDiamond:
                r.game.passDiamonds += 1;
                break;
            case kQuadroBomb:
                r.game.passBombs += 1;
                r.game.passQuadroBombs += 1;
                break;
            default:
                break;
            }
        }
    }

    int removed = 0;
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = r.at(x, y);
            if (!cell.marked) continue;
            if (cell.ball.kind == kNoPiece) {
                hitSquare(r, x, y);
                continue;
            }
            removed += 1;
            if (cell.ball.chains < 1) {
                removeBall(r, x, y);
            } else {
                unchain(r, x, y);
            }
        }
    }

    if (r.levelHeld()) {
        runAwards(r);
        return removed;
    }

    if (removed > 0) {
        r.game.combo += 1;
        if (r.game.combo >= 2) {
            r.game.streak -= r.game.combo;
            if (r.game.combo > r.game.maxCombo) r.game.maxCombo = r.game.combo;
            r.events().comboCounted(r.game.combo, r.game.landingX, r.game.landingY);
        }
    } else if (fromMove) {
        r.game.combo = 0;
    }

    if (removed > 0 && r.game.hammerCharge < 1) {
        if (r.game.hammerEnabled) {
            float before = r.game.hammerCharge;
            r.game.hammerCharge += static_cast<float>(removed) * static_cast<float>(r.game.combo) * 0.03f;
            if (before < 1 && r.game.hammerCharge >= 1) announceHammerReady(r);
        }
        if (r.game.hammerCharge > 1) r.game.hammerCharge = 1;
    }

    if (r.game.landingX >= 0 && bonusPiecesUnlocked(r)) {
        if (best >= r.game.lineLength + 2) announceEarned(r, kQuadroBomb);
        if (r.game.combo % 2 == 0 && r.game.combo >= 2) {
            announceEarned(r, kDiamond);
        } else if (best == r.game.lineLength + 1) {
            announceEarned(r, kTripleBomb);
        }
    }

    runAwards(r);
    return removed;
}

void resetPassCounters(Rules& r) {
    r.game.passDiamonds = 0;
    r.game.passJokers = 0;
    r.game.passBombs = 0;
    r.game.passQuadroBombs = 0;
    r.game.passBallsRemoved = 0;
    r.game.passSquaresCleared = 0;
}

void removeBall(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    if (cell.ball.kind == kNoPiece) return;
    addRemovalEntry(r, x, y, cell.ball.kind, cell.square > 0);
    r.game.passBallsRemoved += 1;
    cell.ball.kind = kNoPiece;
    if (cell.ball.moveTargetX != -1) {
        // A travelling ball swept away by a blast or a line of new balls ends its move here.
        cell.ball.moveTargetX = -1;
        cell.ball.moveTargetY = -1;
        cell.ball.moveTimeLeftMs = 0;
        cell.ball.offsetX = 0;
        cell.ball.offsetY = 0;
        r.game.pathLength = 0;
    }
    if (cell.square > 0) hitSquare(r, x, y);
    r.game.freeCells += 1;
}

void unchain(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    if (cell.ball.chains <= 0) return;
    cell.ball.chains -= 1;
    r.events().chainBroken(x, y);
    addPoints(r, kChainPoints, x, y);
}

void hitSquare(Rules& r, int x, int y) {
    Cell& cell = r.at(x, y);
    if (cell.square <= 0) return;
    if (cell.square <= 2) {
        r.events().squareCleared(x, y);
        r.game.passSquaresCleared += 1;
        if (r.game.mode == kModePuzzle && !r.levelHeld()) {
            Point centre = cellCentre(x, y);
            sendBarStar(r, centre.x, centre.y, 0);
        }
    }
    cell.square -= 1;
}

void clearAllBalls(Rules& r) {
    r.events().ballsSwept();
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            const Cell& cell = r.at(x, y);
            if (cell.ball.kind == kNoPiece) continue;
            if (cell.ball.chains < 1) {
                removeBall(r, x, y);
            } else {
                unchain(r, x, y);
            }
        }
    }
    placePreviews(r);
    for (int i = 0; i < r.game.ballsPerTurn; ++i) drawPreview(r);
}

void stripAllSquares(Rules& r) {
    for (int y = kPlayTop; y <= kPlayBottom; ++y) {
        for (int x = kPlayLeft; x <= kPlayRight; ++x) {
            if (r.at(x, y).square > 0) hitSquare(r, x, y);
        }
    }
}
