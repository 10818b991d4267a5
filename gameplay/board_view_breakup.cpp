// The level-complete break-up: below 7500 ms of the sequence the board turns into tiles that shiver,
// then fall, spiral away or drift apart, one style per level.
#include <cmath>

#include "engine/random.h"
#include "game/board.h"
#include "game/rules.h"
#include "gameplay/board_view.h"
#include "gameplay/sprites.h"
#include "visuals/game_textures.h"
#include "visuals/quick_effects.h"

BreakUp breakUp;

namespace {
constexpr float kCentreX = -60; // the spiral turns around this point
constexpr float kCentreY = 0;
constexpr float kTileHalfSize = 23.1f;
constexpr float kPi = 3.14159265f;
} // namespace

void prepareBreakUp(int levelIndex) {
    breakUp.style = levelIndex % 3;
    breakUp.pattern = randomInt(3);
    float turn = randomInt(2) == 0 ? 1.0f : -1.0f; // one direction for the whole spiral
    for (int column = 0; column < kBoardSize; ++column) {
        for (int row = 0; row < kBoardSize; ++row) {
            BreakUpTile& tile = breakUp.tiles[column * kBoardSize + row];
            Point c = cellCentre(column, row);
            tile.x = c.x;
            tile.y = c.y;
            tile.clockMs = 0;
            tile.sparkMs = randomUnit(300.0f);
            float dx = c.x - kCentreX, dy = c.y - kCentreY;
            tile.radius = std::sqrt(dx * dx + dy * dy);
            tile.angle = std::atan2(dy, dx);
            tile.vx = tile.vy = 0;
            tile.delayMs = 0;
            tile.radiusSpeed = 0;
            tile.angleSpeed = 0;
            float fromCentre =
                std::sqrt(static_cast<float>((column - 13) * (column - 13) + (row - 13) * (row - 13)));
            switch (breakUp.style) {
            case 0:
                tile.vx = static_cast<float>(column - 15) * 0.7f + randomSigned(0.5f);
                tile.vy = 7 + randomUnit(breakUp.pattern == 0 ? 8.0f : 4.0f);
                if (breakUp.pattern == 0) {
                    tile.delayMs = static_cast<float>((row - 5) * 110 + column * 12);
                } else if (breakUp.pattern == 1) {
                    tile.delayMs = 110 * fromCentre;
                } else {
                    tile.delayMs = (10 - fromCentre) * 110;
                }
                break;
            case 1:
                tile.radiusSpeed = 10 + randomUnit(1.0f);
                tile.angleSpeed = turn;
                break;
            default:
                tile.vx = randomSigned(1.0f);
                tile.vy = randomSigned(1.0f);
                break;
            }
        }
    }
}

namespace {
// One frame of a moving tile; returns its alpha (0..1).
float moveTile(BreakUpTile& tile, float frameMs) {
    tile.clockMs += frameMs;
    float alpha = 1;
    switch (breakUp.style) {
    case 0:
        if (tile.clockMs > tile.delayMs) {
            tile.vy -= 0.02f * frameMs;
            tile.x += tile.vx * frameMs * 0.015f;
            tile.y += tile.vy * frameMs * 0.015f;
            alpha = 1 - (tile.clockMs - tile.delayMs) * 0.003f * 0.3f;
        }
        break;
    case 1:
        alpha = 1 - tile.clockMs / 2500;
        tile.radius += frameMs * tile.radiusSpeed * 0.001f;
        tile.angle += frameMs * tile.angleSpeed * 0.0002f;
        tile.radiusSpeed += (tile.radiusSpeed >= 0 ? 0.05f : -0.05f) * frameMs;
        tile.angleSpeed += (tile.angleSpeed >= 0 ? 0.1f : -0.1f) * frameMs;
        tile.x = kCentreX + std::cos(tile.angle) * tile.radius;
        tile.y = kCentreY + std::sin(tile.angle) * tile.radius;
        break;
    default:
        alpha = 1 - tile.clockMs / 4800;
        tile.x += tile.vx * frameMs * 0.015f;
        tile.y += tile.vy * frameMs * 0.015f;
        break;
    }
    tile.sparkMs += frameMs;
    if (tile.sparkMs >= 300) {
        tile.sparkMs -= 300;
        if (alpha > 0.1f && randomInt(4) == 0) spawnQuick(tile.x, tile.y, 15);
    }
    return alpha < 0 ? 0 : (alpha > 1 ? 1 : alpha);
}
} // namespace

void drawBreakUp(const Rules& r) {
    float countdownMs = r.game.completeCountdownMs;
    if (countdownMs < 1500) return;
    const Texture* picture = gameTextures.squares[0];
    float frameMs = r.frameMs;
    for (int column = kPlayLeft; column <= kPlayRight; ++column) {
        for (int row = kPlayTop; row <= kPlayBottom; ++row) {
            // Tiles exist only where the board has a cell.
            if (r.at(column, row).square == -1) continue;
            BreakUpTile& tile = breakUp.tiles[column * kBoardSize + row];
            float x = tile.x, y = tile.y, alpha = 1;
            if (countdownMs >= 6500) {
                // The shiver: a wave about the cell whose size eases in and out.
                float f = (countdownMs - 6500) / 1000;
                float size = 3 * (0.5f - 0.5f * std::cos(2 * kPi * f));
                x += size * std::cos(10 * kPi * f);
                y += size * std::sin(5 * kPi * f);
            } else {
                alpha = moveTile(tile, frameMs);
                x = tile.x;
                y = tile.y;
            }
            if (alpha <= 0) continue;
            drawSprite(picture, x, y, 0, kTileHalfSize, argbColor(255, 255, 255, 255 * alpha), false);
        }
    }
}
