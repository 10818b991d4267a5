// The pictures of the board and the heads-up display, looked up once when the game's resources load.
// In tests they may stay null: the sprites are then drawn untextured, in the same order.
#pragma once

struct Texture;

constexpr int kDiamondFrames = 16;

struct GameTextures {
    const Texture* squares[3];              // "field0.tga" .. "field2.tga": clean, busy 1, busy 2
    const Texture* squareGlow[2];           // "field1a.tga", "field2a.tga"
    const Texture* highlight;               // "fieldspodsv.tga"
    const Texture* balls[8];                // "bal00.tga" .. "bal07.tga"
    const Texture* joker;                   // "jocker.tga"
    const Texture* bomb;                    // "bomb.tga"
    const Texture* superBomb;               // "superbomb.tga"
    const Texture* diamond[kDiamondFrames]; // "diamond0100.tga" .. "diamond0115.tga"
    const Texture* shadow;                  // "shadow.tga"
    const Texture* chain;                   // "zep2.tga"
    const Texture* panel;                   // "gamebar.tga"
    const Texture* panelFoot;               // "gamebarfoot.tga": the panel carried on round the hammer
    const Texture* heart;                   // "heart.tga"
    const Texture* hammerEmpty;             // "molotok1.tga"
    const Texture* hammerFull;              // "molotok2.tga"
    const Texture* hammerGlow;              // "hammer_lum.jpg"
    const Texture* flare;                   // "flare.jpg"
    const Texture* barEmpty;                // "levelbar1.tga"
    const Texture* barFull;                 // "levelbar2.tga"
    const Texture* question;                // "question.tga"
    const Texture* balloon;                 // "baloon.tga": balloon frame tiles and pointer
    const Texture* white;                   // "white.jpg": balloon fill
    const Texture* button;                  // "button.tga": the balloon's "continue" button
    bool loaded;
};

extern GameTextures gameTextures;

// The board's and the display's pictures by name, besides the numbered balls and diamond frames.
constexpr int kGameFixedPictureCount = 25;
extern const char* const kGameFixedPictures[kGameFixedPictureCount];

void loadGameTextures();  // every picture above; a missing one stops the program with the loading message
void resetGameTextures(); // all null (tests)
