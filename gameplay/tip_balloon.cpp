#include "gameplay/tip_balloon.h"

#include "engine/font.h"
#include "engine/layout_probe.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "gameplay/sprites.h"
#include "visuals/game_textures.h"

namespace {
constexpr float kTextSize = 11;
constexpr float kButtonHeight = 44.8f;
constexpr float kFrame = 16; // half the drawn size of a frame tile

// Texture rectangle of tile (column, row) of the 4 x 2 balloon sheet.
void tile(int column, int row, float* u0, float* v0, float* u1, float* v1) {
    *u0 = column / 4.0f + 0.003f;
    *v0 = row / 2.0f + 0.003f;
    *u1 = (column + 1) / 4.0f - 0.003f;
    *v1 = (row + 1) / 2.0f - 0.003f;
}

void tilePicture(int column, int row, float left, float top, float right, float bottom) {
    float u0, v0, u1, v1;
    tile(column, row, &u0, &v0, &u1, &v1);
    drawPicture(gameTextures.balloon, left, top, right, bottom, u0, v0, u1, v1, 0xFFFFFFFF, false);
}
} // namespace

void balloonSize(const char* text, float requestedWidth, bool button, float* width, float* height,
                 float pictureHeight) {
    float textWidth = measureText(text, kTextSize) + 64;
    *width = textWidth < requestedWidth ? textWidth : requestedWidth;
    float h = wrapText(*width - 32, text, kTextSize) + 32;
    if (h < 64) h = 64;
    *height = h + pictureHeight + (button ? kButtonHeight : 0);
}

BalloonBox drawBalloon(float anchorX, float anchorY, const char* message, float requestedWidth, bool button,
                       float grow, float pictureHeight) {
    float width = 0, height = 0;
    balloonSize(message, requestedWidth, button, &width, &height, pictureHeight);
    // Anchors on the right panel get the balloon to their left, so it never hides what it explains;
    // elsewhere it stands above the anchor when it fits, else below. Always inside the screen.
    float cx = anchorX, cy = 0;
    if (anchorX > 200) {
        cx = anchorX - 24 - width / 2;
        cy = anchorY;
    } else {
        float bottom = anchorY + 20;
        if (bottom + height > 296) bottom = anchorY - 20 - height;
        cy = bottom + height / 2;
    }
    if (cx - width / 2 < -396) cx = -396 + width / 2;
    if (cx + width / 2 > 396) cx = 396 - width / 2;
    if (cy + height / 2 > 296) cy = 296 - height / 2;
    if (cy - height / 2 < -296) cy = -296 + height / 2;
    BalloonBox box = {cx - width / 2, cy + height / 2, cx + width / 2, cy - height / 2, 0, 0, 0, 0, 0, 0};
    if (button) {
        box.buttonLeft = cx - 65;
        box.buttonRight = cx + 65;
        box.buttonBottom = box.bottom + 6;
        box.buttonTop = box.bottom + kButtonHeight - 4;
    }
    if (pictureHeight > 0) {
        box.pictureBottom = box.bottom + (button ? kButtonHeight : 0);
        box.pictureTop = box.pictureBottom + pictureHeight;
    }
    if (grow <= 0) return box;
    float hw = width / 2 * grow, hh = height / 2 * grow;
    float l = cx - hw, r = cx + hw, t = cy + hh, b = cy - hh;
    drawPicture(gameTextures.white, l + 4, t - 4, r - 4, b + 4, 0, 0, 1, 1, argbColor(63, 30, 11, 210),
                false);
    float f = kFrame * grow;
    tilePicture(2, 0, l + f, t + f, r - f, t - f); // edges
    tilePicture(2, 0, l + f, b + f, r - f, b - f);
    tilePicture(3, 0, l - f, t - f, l + f, b + f);
    tilePicture(3, 0, r - f, t - f, r + f, b + f);
    tilePicture(0, 0, l - f, t + f, l + f, t - f); // corners
    tilePicture(1, 0, r - f, t + f, r + f, t - f);
    tilePicture(0, 1, l - f, b + f, l + f, b - f);
    tilePicture(1, 1, r - f, b + f, r + f, b - f);
    if (grow < 1) return box;
    noteLayoutBox(kLayoutBalloon, box.left, box.top, box.right, box.bottom);
    if (button)
        noteLayoutBox(kLayoutButton, box.buttonLeft, box.buttonTop, box.buttonRight, box.buttonBottom);
    setTextColor(255, 255, 255, 255);
    float textTop = box.top - 16 - kTextSize / 2;
    wrapText(width - 32, message, kTextSize);
    drawTextCentered(cx, textTop, kTextSize, text.wrapBuffer);
    if (button) {
        drawPicture(gameTextures.button, box.buttonLeft, box.buttonTop, box.buttonRight, box.buttonBottom, 0,
                    0, 1, 1, 0xFFFFFFFF, false);
        const char* caption = findText("continue");
        drawTextCentered(cx, (box.buttonTop + box.buttonBottom) / 2, 12, caption ? caption : "continue");
    }
    return box;
}
