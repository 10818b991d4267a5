// The drawing pieces of the menu pages. Immediate mode: each call draws and registers its hit area in
// the menu system's lists (ui/menu_system.h); widget slots are matched to widgets by drawing order.
#pragma once

#include <cstdint>

#include "engine/render.h"
#include "platform/fixed_list.h"
#include "ui/menu_system.h"

struct Texture;

struct MenuTextures {
    Texture* atlas;          // "menutex.tga": 4 x 8 tiles of 64 texels
    Texture* white;          // "white.jpg": panel and balloon fill
    Texture* balloon;        // "baloon.tga": balloon frame tiles and pointer
    Texture* button;         // "button.tga": button caps
    Texture* winfill;        // "winfill.jpg": loaded, not drawn
    Texture* hammerCursor;   // "hammercursor.tga": the drawn cursor while the hammer is armed
    Texture* questionCursor; // "questioncursor.tga": the question mark beside the arrow of the help cursor
};

extern MenuTextures menuTextures;

constexpr int kCursorArrow = 0;
constexpr int kCursorHammerMode = 1;
constexpr int kCursorQuestion = 2;

void loadWidgetTextures();  // start-up, after the menus
void updateWidgetColours(); // highlight and glow colours from the menu clock
void setWidgetScale(float factor);
void drawAtlasTile(int tile, float x, float y, uint32_t argb, float scaleX = 1, float scaleY = 1);
void drawAtlasTileStretched(int tile, float x, float y, float width, float height, uint32_t argb);
void setTextRgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);

// How many edge ornaments a panel of this size gets (top/bottom pair, left/right pair) and whether its
// shadow is drawn.
// A tile of the widgets' atlas "menutex.tga" (a grid of 64-texel tiles): its place and size in tiles, and
// the part of it that holds ink, in texels from its top left (right and bottom one past).
struct AtlasTile {
    int column, row, width, height;
    struct Ink {
        int left, top, right, bottom;
    } ink;
};
constexpr int kAtlasTileCount = 24;
const AtlasTile& atlasTile(int tile);

struct PanelLook {
    bool horizontalOrnaments; // width above 192
    bool verticalOrnaments;   // height above 192
    bool shadow;              // both above 192
};
PanelLook panelLook(float width, float height);

// The soft shadow under a panel: nine pieces cut from the effect sheet's round glow, tinted black, so
// that it follows the frame with rounded corners and fades out over its last kPanelShadowFade units; it
// lies just below the frame, barely set off.
constexpr int kPanelShadowPieces = 9;
constexpr int kPanelShadowMiddle = 4; // inside the panel's frame, beneath its fill
constexpr float kPanelShadowFade = 22;
struct ShadowPiece {
    float left, top, right, bottom;
    TexRect tex;
};
// Pieces in rows from the top left; sheetWidth and sheetHeight are the sheet's size in texels.
void panelShadowPieces(float left, float top, float right, float bottom, int sheetWidth, int sheetHeight,
                       ShadowPiece out[kPanelShadowPieces]);
constexpr uint32_t kPanelFill =
    0xFF370F00; // the panel's interior: opaque, so nothing of the landscape shows through the text

void drawPanel(float x, float y, float width, float height);
// The shadow and fill of the panel the page at rest drew first in the last frame, drawn now (among the
// landscape's layers, before the page); that panel then draws only its frame. False when the page moves
// or drew no panel.
bool drawPanelBackdrop();
// The screen rectangle the opaque fill of that backdrop will cover this frame; false when there is none
// (the page moves, the panel is turned or faded).
bool panelBackdropCover(float& left, float& top, float& right, float& bottom);
void drawButton(float x, float y, float width, float height, float size, const char* text);
void drawItemList(float x, float y, float size, bool centred, int first, int end);
void drawItemPanel(float x, float y, float size, bool centred, int first, int end);
float itemListWidth(float size, int first, int end); // widest caption of the block
void slider(float ax, float ay, float bx, float by, int* value, int steps);
// A slider of a few named steps: the arrows at both ends and the name of the value between them, no
// track. Clicks on the arrows, Left and Right step; a drag across it picks by position, as a slider.
void choiceSlider(float ax, float bx, float y, int* value, int steps, const char* (*name)(int), float size);
void checkBox(float x, float y, bool* flag, const char* label, float size);
int addWidget(int type, float left, float top, float right, float bottom); // slot index, -1 when full
void drawHoverFrame();
void drawTextBox(float left, float top, float right, float bottom); // balloon fill and frame, no pointer
void showBalloon(float anchorX, float anchorY, const char* text, float width);
void drawNameEntry(); // the name pages' entry box

// Slider arithmetic (also used by the input handlers).
int sliderClick(const Widget& w, float x); // the position after a click at x
int sliderDrag(const Widget& w, float x);  // the position while dragging at x

// The name editor: one key, or one typed character (kMenuTypedCharacter plus its Windows-1252 byte);
// returns nothing, a key then goes on to the page machine.
void nameEditorKey(unsigned key);

// Cursor.
enum CursorPicture : int {
    kCursorPictureGlow,     // the arrow's glow, atlas tile 23
    kCursorPictureArrow,    // the arrow, atlas tile 22
    kCursorPictureHammer,   // the hammer cursor picture
    kCursorPictureQuestion, // the question mark of the help cursor
};
struct CursorSprite {
    int picture;         // CursorPicture
    float x, y;          // centre, menu screen units
    float width, height; // 0: the atlas tile's own size
    uint8_t alpha;
};
constexpr int kMaxCursorSprites = 3;
using CursorSprites = FixedList<CursorSprite, kMaxCursorSprites>;

void setCursorModeMenu(int mode); // kCursorArrow, kCursorHammerMode or kCursorQuestion
int cursorModeMenu();
// What the drawn cursor shows this frame for a mode at the mouse point, in drawing order; none while the
// drawn cursor is off or the mouse is off the screen. clockMs pulses the arrow's glow.
CursorSprites cursorSprites(int mode, float mouseX, float mouseY, float clockMs);
void drawCursor(float mouseX, float mouseY); // the drawn cursor of the stored mode, when the option is on
