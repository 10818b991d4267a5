#include "visuals/game_textures.h"

#include <cstdio>

#include "engine/texture.h"
#include "platform/fixed_list.h"

GameTextures gameTextures;

void resetGameTextures() {
    gameTextures = GameTextures{};
}

const char* const kGameFixedPictures[kGameFixedPictureCount] = {
    "field0.tga",      "field1.tga",     "field2.tga",      "field1a.tga",   "field2a.tga",
    "fieldspodsv.tga", "jocker.tga",     "bomb.tga",        "superbomb.tga", "shadow.tga",
    "zep2.tga",        "gamebar.tga",    "gamebarfoot.tga", "heart.tga",     "molotok1.tga",
    "molotok2.tga",    "hammer_lum.jpg", "flare.jpg",       "levelbar1.tga", "levelbar2.tga",
    "question.tga",    "baloon.tga",     "white.jpg",       "button.tga",    "particles.tga"};

namespace {

// Every small picture of the board and the display goes on shared texture pages, so that a pass of
// sprites (squares, balls and pieces, the panel's parts) is one draw whatever pictures it mixes. The
// effect sheet goes with them: the diamonds' glows and the bar's stars are drawn between the pieces.
void packGamePictures() {
    char numbered[8 + kDiamondFrames][20];
    FixedList<const char*, kGameFixedPictureCount + 8 + kDiamondFrames> names;
    for (const char* name : kGameFixedPictures) names.push(name);
    for (int i = 0; i < 8; ++i) {
        std::snprintf(numbered[i], sizeof numbered[i], "bal%.2i.tga", i);
        names.push(numbered[i]);
    }
    for (int i = 0; i < kDiamondFrames; ++i) {
        std::snprintf(numbered[8 + i], sizeof numbered[8 + i], "diamond01%.2i.tga", i);
        names.push(numbered[8 + i]);
    }
    loadTexturePages(names.begin(), names.size());
}

} // namespace

void loadGameTextures() {
    GameTextures& t = gameTextures;
    packGamePictures();
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
    t.panelFoot = getTexture("gamebarfoot.tga");
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
