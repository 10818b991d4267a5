// Piece sprites: shadows, balls, jokers, bombs with their colour cycle and fuse sparks, the animated
// diamond, and the pieces of the removal queue as they vanish.
#include <cmath>

#include "engine/app_state.h"
#include "engine/random.h"
#include "game/board.h"
#include "game/live_rules.h"
#include "game/removal_queue.h"
#include "gameplay/board_view.h"
#include "gameplay/sprites.h"
#include "visuals/game_textures.h"
#include "visuals/quick_effects.h"

namespace {
constexpr uint32_t kWhite = 0xFFFFFFFF;

bool isBombLike(int kind) {
    return kind == kTripleBomb || kind == kQuadroBomb || kind == kDiamond;
}

// The slow colour cycle of bombs and diamonds.
uint32_t cycleColour(float t, float alpha) {
    float r = 155 + 120 * std::sin(t * 0.001f);
    float g = 155 + 120 * std::sin(t * 0.001f + 2.0943952f);
    float b = 200 + 75 * std::sin(t * 0.001f + 4.1887903f);
    return argbColor(r, g, b, alpha);
}

const Texture* bodyTexture(int kind, float t) {
    const GameTextures& tex = gameTextures;
    if (kind >= 0 && kind < kColourCount) return tex.balls[kind];
    switch (kind) {
    case kJoker:
        return tex.joker;
    case kTripleBomb:
        return tex.bomb;
    case kQuadroBomb:
        return tex.superBomb;
    case kDiamond:
        return tex.diamond[static_cast<int>(t * 0.03f) % kDiamondFrames]; // a new frame every 33 ms
    default:
        return nullptr;
    }
}
} // namespace

void drawPieceShadow(int kind, float x, float y, float h) {
    float size = isBombLike(kind) ? 1.6f * h : 1.5f * h;
    float alpha = h * h < 255 ? h * h : 255;
    drawSprite(gameTextures.shadow, x - 2, y - 3, 180, size, argbColor(255, 255, 255, alpha), false);
}

void drawPieceBody(int kind, float x, float y, float h, float t) {
    if (kind < 0) return;
    const Texture* texture = bodyTexture(kind, t);
    if (kind < kFirstWild) {
        drawSprite(texture, x + 2, y + 3, 0, 1.1f * h, kWhite, false);
    } else if (kind == kJoker) {
        drawSprite(texture, x + 2, y + 3, 0, 1.1f * h, kWhite, false);
    } else if (kind == kDiamond) {
        // A glow of the effect sheet turning slowly under the stone.
        drawSheetFrame(37, x + 3, y + 4.4f, -t * 0.13f, 4 * h, cycleColour(t, 255), true);
        drawSprite(texture, x + 3, y + 4.4f, 0, 1.3f * h, cycleColour(t, 255), false);
    } else {
        float size = 1.7f * h + 0.5f * std::sin(t * 0.01f) + 0.5f * std::sin(t * 0.02f);
        drawSprite(texture, x + 3, y + 4.4f, 0, size, cycleColour(t, 255), false);
    }
}

void drawPieceSparks(int kind, float x, float y, float h, float t, float frameMs) {
    if (kind == kTripleBomb || kind == kQuadroBomb) {
        // Once every 60 ms of the piece's clock: the clock passes 31 within its 60 ms period.
        int before = static_cast<int>(t) % 60;
        int after = static_cast<int>(t + frameMs) % 60;
        if (before > 31 && after <= 31) spawnQuick(x + 9.5f * 0.17f * h, y + 10.5f * 0.17f * h, 14);
    } else if (kind == kDiamond) {
        if (randomInt(400) < static_cast<int>(frameMs)) {
            spawnQuick(x + randomSigned(0.6f * h), y + randomSigned(0.6f * h), 12);
        }
    }
}

void drawRemovalAnimations() {
    // A removed piece stays whole until its turn, then grows a little and fades over the vanishing time.
    // Drawn picture by picture: the vanishing pieces never overlap one another.
    static constexpr int kOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, kJoker, kTripleBomb, kQuadroBomb, kDiamond};
    for (int kind : kOrder) {
        for (const RemovalEntry& entry : liveRules.removals.entries) {
            if (entry.kind != kind || entry.ageMs > entry.delayMs + kRemovalVanishMs) continue;
            float k = entry.ageMs > entry.delayMs ? (entry.ageMs - entry.delayMs) / kRemovalVanishMs : 0;
            float h = kPieceHalfSize * (1 + 0.3f * k);
            float alpha = 255 * (1 - k);
            if (kind < kTripleBomb) {
                drawSprite(bodyTexture(kind, 0), entry.x + 2, entry.y + 3, 0, 1.1f * h,
                           argbColor(255, 255, 255, alpha), false);
            } else {
                drawSprite(bodyTexture(kind, entry.ageMs), entry.x + 3, entry.y + 4.4f, 0, 1.5f * h,
                           cycleColour(entry.ageMs, alpha), false);
            }
        }
    }
}
