#include "gameplay/hud.h"
#include "gameplay/game_presentation.h"

#include <cmath>
#include <cstdio>

#include "engine/app_state.h"
#include "engine/font.h"
#include "engine/layout_probe.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "engine/texture.h"
#include "game/bar_stars.h"
#include "game/bonus_pieces.h"
#include "game/game_state.h"
#include "game/level_outcome.h"
#include "game/live_rules.h"
#include "game/moves.h"
#include "game/player_link.h"
#include "game/presentation_events.h"
#include "gameplay/board_input.h"
#include "gameplay/sprites.h"
#include "visuals/game_textures.h"
#include "visuals/quick_effects.h"

Hud hud;

namespace {
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr float kPi = 3.14159265f;
constexpr int kGlowFrame = 0;     // soft glow of the effect sheet
constexpr int kBarStarFrame = 61; // star of the effect sheet

struct HudScratch {
    char number[32];
};
HudScratch scratch;

const char* textOf(const char* key) {
    const char* found = findText(key);
    return found ? found : key;
}

void label(float x, float y, float size, const char* key) {
    drawTextCentered(x, y, size, textOf(key));
}

void number(float x, float y, float size, int value) {
    std::snprintf(scratch.number, sizeof scratch.number, "%i", value);
    // A long number gets smaller rather than run off the panel (its boxes are centred near 345).
    constexpr float kNumberWidth = 100;
    drawTextCentered(x, y, fitTextSize(scratch.number, size, kNumberWidth), scratch.number);
}

bool mouseIn(const HitRect& r, float shift) {
    return insideRect(HitRect{r.left + shift, r.top, r.right + shift, r.bottom}, gameView.mouseX,
                      gameView.mouseY);
}

void drawScore(float s) {
    int target = playerScore(liveRules);
    bool counting = hud.shownScore < target;
    hud.shownScore = countScoreToward(hud.shownScore, target, static_cast<int>(app.frameDeltaMs));
    label(345 + s, 279, 14, "score");
    if (counting) {
        spawnQuick(345 + s, 238, 13);
        setTextColor(255, 255, 100 + randomInt(155), 255);
    }
    number(345 + s, 238, 14, hud.shownScore);
    setTextColor(255, 255, 255, 255);
}

void drawLives(float s) {
    int lives = playerLives(liveRules);
    game.hudLives = lives;
    label(343 + s, 90, 14, "lives");
    LivesDisplay shown = livesDisplay(lives);
    if (shown.lastLife) label(345 + s, 55, 10, "lastlife");
    for (int i = 0; i < shown.hearts; ++i)
        drawSprite(gameTextures.heart, shown.heartX[i] + s, 55, 0, 16, kWhite, false);
    if (shown.countText) {
        std::snprintf(scratch.number, sizeof scratch.number, " X %i", lives);
        drawTextCentered(340 + s + measureText(scratch.number, 14) / 2, 52, 14, scratch.number);
    }
}

void drawHoverGlows(float s) {
    struct Glow {
        const HitRect* rect;
        uint32_t colour;
    };
    const Glow glows[4] = {{&kRelaxButton, kWhite},
                           {&kNightButton, argbColor(155, 155, 255, 155)},
                           {&kMorningButton, argbColor(255, 155, 155, 155)},
                           {&kDayButton, argbColor(155, 255, 155, 155)}};
    for (const Glow& g : glows) {
        if (!mouseIn(*g.rect, s)) continue;
        float cx = (g.rect->left + g.rect->right) / 2 + s, cy = (g.rect->top + g.rect->bottom) / 2;
        drawSheetFrame(kGlowFrame, cx, cy, 0, 30, g.colour, true);
    }
}

void drawMenuLabel(float s) {
    if (!mouseIn(kMenuButton, s)) {
        label(350 + s, -31, 14, "menu");
        return;
    }
    float size = 15 + 0.5f * std::sin(gameView.animClock * 0.01f);
    float p = 0.5f + 0.5f * std::sin(gameView.animClock * 0.012f);
    setTextColor(255, static_cast<uint8_t>(200 + 55 * p), static_cast<uint8_t>(100 + 155 * p), 255);
    label(350 + s, -31, size, "menu");
    setTextColor(255, 255, 255, 255);
}

void drawHammerBar(float s) {
    if (!game.hammerEnabled) return;
    const GameTextures& tex = gameTextures;
    float left = 320 + s, right = 384 + s;
    drawPicture(tex.hammerEmpty, left, -162, right, -290, 0, 0, 1, 1, kWhite, false);
    float charge = game.hammerCharge < 0 ? 0 : (game.hammerCharge > 1 ? 1 : game.hammerCharge);
    if (game.cursorMode != kCursorHammer && charge > 0) {
        // The filled picture over the lower part, its texture cut to the same height.
        drawPicture(tex.hammerFull, left, -290 + 128 * charge, right, -290, 0, 1 - charge, 1, 1, kWhite,
                    false);
    }
    if (charge >= 1) {
        bool hover = hammerIconHit(gameView.mouseX - s, gameView.mouseY) && game.cursorMode == kCursorNormal;
        float bright = hover ? 205 + 50 * std::sin(app.runTimeMs * 0.025f)
                             : 155 + 100 * std::sin(app.runTimeMs * 0.005f);
        drawPicture(tex.hammerGlow, left, -162, right, -290, 0, 0, 1, 1,
                    argbColor(bright, bright, bright, 255), true);
    } else {
        float y = charge * 128 - 290;
        float glow = 100 + 50 * std::sin(app.runTimeMs * 0.005f);
        drawSprite(tex.flare, (left + right) / 2, y, 0, 24, argbColor(glow, glow, 0, 255), true);
    }
}

void drawHelpButton() {
    float shift = 0;
    if (completeSequenceStarted(liveRules)) {
        if (game.completeCountdownMs < 3000) {                         // and once the sequence has ended
            gameView.helpButton = HitRect{-2000, -2000, -2000, -2000}; // hidden: nothing to hit
            return;
        }
        shift = 250 * (8500 - game.completeCountdownMs) / 3400;
    } else if (game.pauseMs > 0) {
        shift = 100 * (game.pauseMs < 500 ? game.pauseMs : 500) / 500;
    }
    float cx = -378 - shift, cy = -270;
    bool over = insideRect(HitRect{cx - 20, cy + 20, cx + 20, cy - 20}, gameView.mouseX, gameView.mouseY);
    float side = 40, alpha = 230;
    if (over || boardInput.helpArmed) {
        float p = 0.5f + 0.5f * std::sin(2 * kPi * 3 * app.runTimeMs / 1000);
        side += 5 * p;
        alpha += 25 * p;
    }
    gameView.helpButton = HitRect{cx - side / 2, cy + side / 2, cx + side / 2, cy - side / 2};
    drawSprite(gameTextures.question, cx, cy, 0, side / 2, argbColor(255, 255, 255, alpha), false);
}
} // namespace

void resetHud() {
    hud = Hud{};
    hud.shownScore = playerScore(liveRules);
}

int countScoreToward(int shown, int target, int frameDeltaMs) {
    if (shown >= target) return shown;
    long long step = static_cast<long long>((static_cast<double>(target) - shown) * 0.01 * frameDeltaMs);
    if (step < 1) step = 1;
    long long next = shown + step;
    return next > target ? target : static_cast<int>(next);
}

LivesDisplay livesDisplay(int lives) {
    LivesDisplay d = {};
    if (lives < 0) {
        // The game is over: the box stays empty behind the high scores rather than promise a last life.
    } else if (lives == 0) {
        d.lastLife = true;
    } else if (lives <= 3) {
        d.hearts = lives;
        d.heartX[0] = 316;
        d.heartX[1] = 346;
        d.heartX[2] = 376;
    } else {
        d.hearts = 1;
        d.heartX[0] = 320;
        d.countText = true;
    }
    return d;
}

float progressMarkerY(float shownFraction) {
    float f = shownFraction < 0 ? 0 : (shownFraction > 1 ? 1 : shownFraction);
    return kBarBottom + 23 + std::ceil(466 * f);
}

HudSlide hudSlide() {
    // An ended sequence (-1) keeps the panel out, behind its page.
    if (defeatSequenceStarted(liveRules)) {
        if (game.defeatCountdownMs < 1000) return {true, 0};
        return {false, 140 * (5000 - game.defeatCountdownMs) / 4000};
    }
    if (completeSequenceStarted(liveRules)) {
        if (game.completeCountdownMs < 3000) return {true, 0};
        return {false, 140 * (8500 - game.completeCountdownMs) / 3400};
    }
    if (game.pauseMs > 0) {
        if (game.pauseMs > 500) return {true, 0};
        return {false, 100 * game.pauseMs / 500};
    }
    return {false, 0};
}

bool hudPhaseRunning() {
    return levelDecided(liveRules) || game.pauseMs > 0;
}

void drawHud() {
    if (hudPhaseRunning()) deselect(liveRules);
    drawHelpButton();
    HudSlide slide = hudSlide();
    if (slide.hidden) return;
    float s = slide.shift;
    setRenderState(kPresetAlphaBlend, true);
    setTextColor(255, 255, 255, 255);
    // The pictures are cut half a texel inside their clear left edge (and the foot inside its clear top):
    // filtering there fetches the opposite, opaque edge, a thin line beside the panel as it slides.
    const Texture* panel = gameTextures.panel;
    float halfTexel = panel && panel->width > 0 ? 0.5f / panel->width : 0;
    drawPicture(panel, 272 + s, 300, 400 + s, -212, halfTexel, 0, 1, 1, kWhite, false);
    noteLayoutBox(kLayoutSide, 272 + s, 300, 400 + s, -212);
    // With a hammer the panel runs on to the screen's foot and holds the hammer bar in its bay.
    if (const Texture* foot = gameTextures.panelFoot; game.hammerEnabled && foot) {
        float u = foot->width > 0 ? 0.5f / foot->width : 0, v = foot->height > 0 ? 0.5f / foot->height : 0;
        drawPicture(foot, 272 + s, -150, 400 + s, -406, u, v, 1, 1, kWhite, false);
    }
    drawScore(s);
    label(345 + s, 183, 14, "level");
    number(353 + s, 149, 14, game.levelIndex + 1);
    drawLives(s);
    drawHoverGlows(s);
    drawMenuLabel(s);
    drawHammerBar(s);
}

void drawProgressBar() {
    HudSlide slide = hudSlide();
    if (slide.hidden) return;
    float left = kBarLeft - slide.shift, right = left + kBarWidth, top = kBarBottom + kBarHeight;
    uint32_t colour = kWhite;
    bool puzzle = game.mode == kModePuzzle;
    float timeLeft = game.barGoal - game.barValue;
    if (puzzle && timeLeft < 20000) {
        float channel = 200 + 55 * pulse(2.0f, app.runTimeMs);
        colour = argbColor(255, channel, channel, 255);
        hud.timeUpMs += app.frameTimeMs;
        if (hud.timeUpMs >= 400) {
            hud.timeUpMs -= 400;
            if (timeLeft > 0 && !game.menuOpen) gamePresentation.output->sound("timeup.ogg", 0);
        }
    } else {
        hud.timeUpMs = 0;
    }
    const GameTextures& tex = gameTextures;
    drawPicture(tex.barEmpty, left, top, right, kBarBottom, 0, 0, 1, 1, colour, false);
    float marker = progressMarkerY(game.barShownFraction);
    float filled = (marker - kBarBottom) / kBarHeight;
    drawPicture(tex.barFull, left, marker, right, kBarBottom, 0, 1 - filled, 1, 1, colour, false);
    // The marker: three glowing strokes across the bar.
    float glow = 0.75f + 0.25f * std::sin(app.runTimeMs * 0.002f);
    const float widths[3] = {15, 11, 2};
    for (float w : widths) {
        drawPicture(tex.flare, left - 6, marker + w / 2, right + 6, marker - w / 2, 0, 0, 1, 1,
                    argbColor(255 * glow, 230 * glow, 60 * glow, 255), true);
    }
    if (game.barFraction - game.barShownFraction > 0.0001f) {
        hud.markerSparkMs += app.frameTimeMs;
        while (hud.markerSparkMs >= 50) {
            hud.markerSparkMs -= 50;
            spawnQuick(left + kBarWidth / 2, marker, 16);
        }
    }
    // The bar stars fly to the marker (the rules move them; here they are drawn).
    for (const BarStar& star : liveRules.stars.stars) {
        if (!star.active) continue;
        drawSheetFrame(kBarStarFrame, star.x, star.y, star.rotation, 28, argbColor(star.red, 255, 255, 255),
                       true);
    }
}

void drawPauseTexts() {
    if (game.running) return;
    float t = game.pauseMs;
    if (game.gamePassed) {
        if (t <= 3000) return;
        float a = std::sin(kPi * (t - 3000) / 18000);
        if (a <= 0) return;
        setTextColor(255, 255, 55, static_cast<uint8_t>(255 * a));
        label(0, 100, 18, "congratulations");
        setTextColor(255, 255, 255, static_cast<uint8_t>(255 * a));
        label(0, 50, 17, "gamepass1");
    } else if (game.stageComplete) {
        float p = ((std::sin(t * 0.0003f - 2.1991148f) + 1) / 2 - 0.7f) / 0.3f;
        if (p <= 0) return;
        setTextColor(255, 255, 255, static_cast<uint8_t>(255 * (p > 1 ? 1 : p)));
        label(0, -280, 13 + p, "keytoresume");
    } else {
        float p = ((std::cos(t * 0.0003f - 0.9424779f) + 1) / 2 - 0.7f) / 0.3f;
        if (p <= 0) return;
        setTextColor(255, 255, 255, static_cast<uint8_t>(255 * (p > 1 ? 1 : p)));
        if (t < 7000) label(0, 0, 4 * p * p + 21, "relax");
        label(0, -280, 13 + p, "keytoresume");
    }
    setTextColor(255, 255, 255, 255);
}
