// Bitmap fonts and text drawing: a square grid of glyph cells in one texture, a table of glyph widths
// and a character map ("%s.tga" and "%s.dat"). Text is drawn in screen space as one quad per glyph,
// left-aligned or centred line by line, in the current colour and a size given per call.
//
// The ".dat" layout: a signed 32-bit little-endian cellsPerRow, then 256 glyph widths (texels of a
// 512-texel-wide texture, divided by 2), then 256 cell indices (row by row from the top-left cell).
#pragma once

#include <cstdint>

#include "engine/limits.h"
#include "engine/render.h"
#include "platform/fixed_list.h"

struct Texture;
struct DecodedPicture;

constexpr int kFontFileBytes = 4 + 256 + 256; // the shortest ".dat" we accept
constexpr float kTextZ = 45.0f;               // depth of text in screen space
constexpr float kLineStep = 1.8f;             // line distance in units of the text size

// A part of a glyph cell, as fractions of the cell from its top left.
struct GlyphInk {
    float left = 0.0f, top = 0.0f, right = 1.0f, bottom = 1.0f;
};

struct Font {
    float advance[256];  // per character: the advance in units of the text size
    uint8_t cellOf[256]; // glyph cell per character
    int cellsPerRow;
    Texture* texture;
    float cellSize; // 1 / cellsPerRow: a cell's side in texture coordinates
    float scaleX;   // horizontal scale given at loading
    float scaleY;   // vertical scale, relative to scaleX
    // The same grid at twice the texels ("%s@2x.tga"), read the first time a glyph is drawn larger than
    // kDetailedGlyphsAbove times its cell's texels; null when it is not needed yet or cannot be used.
    Texture* detailed = nullptr;
    bool detailedTried = false;
    char baseName[32] = {};
    // Per glyph cell, the part that holds any ink (with kGlyphInkMargin texels around it for filtering)
    // as fractions of the cell: a glyph's quad covers only that part, so the clear rest of the cell costs
    // no fill. The whole cell while the sheet's texels have not been seen; empty for a cell without ink.
    GlyphInk ink[256];
};

constexpr int kGlyphInkMargin = 4; // texels of the base sheet: its two mipmap levels filter within them

// Letters drawn more than this many times larger than their cells are drawn from the detailed sheet. A
// full-HD screen draws them at about their cells' size, so only larger screens pay for the detailed sheet.
constexpr float kDetailedGlyphsAbove = 1.5f;

struct TextState {
    FixedList<Font, kMaxFonts> fonts; // in loading order; full: later fonts are not loaded
    int current = 0;                  // index of the current font
    uint32_t color = 0xFFFFFFFF;      // ARGB
    float size = 0.0f;                // size of the last call
    float penX = 0.0f, penY = 0.0f;   // where the current line starts
    float offset = 0.0f;              // the pen's horizontal offset within the line
    Texture* highlight = nullptr;     // "podsvet.jpg"
    char wrapBuffer[kWrapBufferSize]; // wrapText's result
};

extern TextState text;

void resetText(); // no fonts, white, empty wrap buffer (tests)

// Loads "%s.tga" and "%s.dat" (both required), then "podsvet.jpg"; sets the colour to opaque white and
// clears the flying letters. A ".dat" shorter than 516 bytes ends the program with the loading message.
void loadFont(const char* baseName, float scaleX, float scaleY);
void selectFont(int index); // index modulo the number of fonts
const Font* currentFont();  // null before any font is loaded
void setTextColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
void setTextColor(uint32_t argb);

// The sheet a glyph cell of the font drawn cellUnits wide is taken from: the detailed one when the cell
// covers more than kDetailedGlyphsAbove times its texels in pixels of what is drawn into, and it exists.
Texture* glyphSheet(Font& font, float cellUnits);
// One glyph quad centred on (x, y) in the current font, tinted like every screen quad.
void drawGlyph(uint8_t character, float x, float y, float size, uint32_t color);
TexRect glyphRect(const Font& font, uint8_t character); // the glyph cell's texture rectangle
// Finds each cell's inked part in the font's base sheet (texels as loaded, rows from the top).
void findGlyphInk(Font& font, const DecodedPicture& sheet);

void drawText(float x, float y, float size, const char* str, bool centered = false);
void drawTextCentered(float x, float y, float size, const char* str);
float measureText(const char* str, float size); // sum of size * advance, line breaks included
// The size at which a one-line text fits a width: size itself, or smaller for a text that would not fit.
float fitTextSize(const char* str, float size, float maxWidth);
// Wraps a copy of the text (at most 1023 characters) into text.wrapBuffer and returns its height.
float wrapText(float limit, const char* str, float size);
void drawHighlight(float left, float top, float right, float bottom, uint32_t color); // "podsvet.jpg" glow
void drawTextHighlighted(float x, float y, float size, uint32_t highlightColor, const char* str,
                         bool centered);
