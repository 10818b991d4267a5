#include "gameplay/game_textures.h"

#include <cstdio>

#include "engine/texture.h"

GameTextures gameTextures;

void resetGameTextures() {
    gameTextures = GameTextures{};
}

void loadGameTextures() {
    GameTextures& t = gameTextures;
    char name[32];
    for (int i = 0; i < 3; ++i) {
        std::snprintf(name, sizeof name, "field%i.tga", i);
        t.squares[i] = getTexture(name);
    }
    t.squareGlow[0] = getTexture("field1a.tga");
    t.squareGlow[1] = getTexture("field2a.tga");
    t.highlight = getTexture("fieldspodsv.tga");
    for (int i = 0; i < 8; ++i) {
        std::snprintf(name, sizeof name, "bal%.2i.tga", i);
        t.balls[i] = getTexture(name);
    }
    t.joker = getTexture("jocker.tga");
    t.bomb = getTexture("bomb.tga");
    t.superBomb = getTexture("superbomb.tga");
    for (int i = 0; i < kDiamondFrames; ++i) {
        std::snprintf(name, sizeof name, "diamond01%.2i.tga", i);
        t.diamond[i] = getTexture(name);
    }
    t.shadow = getTexture("shadow.tga");
    t.chain = getTexture("zep2.tga");
    t.panel = getTexture("gamebar.tga");
    t.heart = getTexture("heart.tga");
    t.hammerEmpty = getTexture("molotok1.tga");
    t.hammerFull = getTexture("molotok2.tga");
    t.hammerGlow = getTexture("hammer_lum.jpg");
    t.flare = getTexture("flare.jpg");
    t.barEmpty = getTexture("levelbar1.tga");
    t.barFull = getTexture("levelbar2.tga");
    t.question = getTexture("question.tga");
    t.balloon = getTexture("baloon.tga");
    t.white = getTexture("white.jpg");
    t.button = getTexture("button.tga");
    t.loaded = true;
}
