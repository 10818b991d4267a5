// Font loading, glyph quads, text layout, measuring and wrapping.
#include "engine/font.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/file_registry.h"
#include "engine/layout_probe.h"
#include "engine/text_effects.h"
#include "engine/texture.h"
#include "engine/texture_decode.h"
#include "platform/message_box.h"

TextState text;
LayoutProbe layoutProbe;

void resetText() {
    text.fonts.clear();
    text.current = 0;
    text.color = 0xFFFFFFFF;
    text.size = 0.0f;
    text.penX = text.penY = text.offset = 0.0f;
    text.highlight = nullptr;
    text.wrapBuffer[0] = 0;
}

void loadFont(const char* baseName, float scaleX, float scaleY) {
    if (text.fonts.full()) return;
    char name[kMaxFileNameLength + 1];
    std::snprintf(name, sizeof name, "%s.tga", baseName);
    DecodedPicture sheet;
    Texture* texture = getTexture(name, true, &sheet);
    std::snprintf(name, sizeof name, "%s.dat", baseName);
    int size = 0;
    const uint8_t* data = openFile(name, &size, true);
    if (!data) return; // only when a test has replaced the process exit
    int32_t cellsPerRow = 0;
    if (size >= kFontFileBytes) {
        cellsPerRow = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                           static_cast<uint32_t>(data[3]) << 24);
    }
    // A cut file or a grid without cells would give no usable font: stop as for a missing file.
    if (size < kFontFileBytes || cellsPerRow <= 0 || cellsPerRow > 256) {
        releaseFile(data);
        char message[kMaxFileNameLength + 64];
        std::snprintf(message, sizeof message, "Can't load %s...\nProgram will now stop.", name);
        fatalError("Loading Error", message, 1);
        return;
    }
    Font& f = *text.fonts.add();
    f = Font();
    std::snprintf(f.baseName, sizeof f.baseName, "%s", baseName);
    f.cellsPerRow = cellsPerRow;
    f.cellSize = 1.0f / cellsPerRow;
    f.scaleX = scaleX;
    f.scaleY = scaleY;
    f.texture = texture;
    if (texture && sheet.width == texture->width && sheet.height == texture->height) findGlyphInk(f, sheet);
    float cellTexels = 512.0f / cellsPerRow;
    for (int c = 0; c < 256; c++) {
        f.advance[c] = data[4 + c] * 2 / cellTexels * scaleX;
        f.cellOf[c] = data[260 + c];
    }
    releaseFile(data);
    text.highlight = getTexture("podsvet.jpg", true);
    text.color = 0xFFFFFFFF;
    clearLetterTexts();
}

void selectFont(int index) {
    if (text.fonts.empty()) return;
    int i = index % text.fonts.size();
    text.current = i < 0 ? i + text.fonts.size() : i;
}

const Font* currentFont() {
    return text.fonts.empty() ? nullptr : &text.fonts[text.current];
}

void setTextColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    text.color = static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(red) << 16 |
                 static_cast<uint32_t>(green) << 8 | blue;
}

void setTextColor(uint32_t argb) {
    text.color = argb;
}

TexRect glyphRect(const Font& font, uint8_t character) {
    int cell = font.cellOf[character];
    float left = (cell % font.cellsPerRow) * font.cellSize;
    float top = (cell / font.cellsPerRow) * font.cellSize;
    return {left, top, left + font.cellSize, top + font.cellSize};
}

void findGlyphInk(Font& f, const DecodedPicture& sheet) {
    int rows = f.cellsPerRow, cellWidth = rows > 0 ? sheet.width / rows : 0;
    int cellHeight = rows > 0 ? sheet.height / rows : 0;
    if (cellWidth <= 0 || cellHeight <= 0 ||
        sheet.rgba.size() < static_cast<size_t>(sheet.width) * sheet.height * 4)
        return;
    int cells = std::min(256, rows * rows);
    for (int cell = 0; cell < cells; cell++) {
        int x0 = (cell % rows) * cellWidth, y0 = (cell / rows) * cellHeight;
        int left = cellWidth, top = cellHeight, right = -1, bottom = -1;
        for (int y = 0; y < cellHeight; y++) {
            const uint8_t* texel = &sheet.rgba[(static_cast<size_t>(y0 + y) * sheet.width + x0) * 4];
            for (int x = 0; x < cellWidth; x++, texel += 4) {
                // Any byte: a texel clear in alpha but not in colour still adds light where text is added.
                if (!(texel[0] | texel[1] | texel[2] | texel[3])) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0) {
            f.ink[cell] = {0.0f, 0.0f, 0.0f, 0.0f};
            continue;
        }
        left = std::max(0, left - kGlyphInkMargin);
        top = std::max(0, top - kGlyphInkMargin);
        right = std::min(cellWidth, right + 1 + kGlyphInkMargin);
        bottom = std::min(cellHeight, bottom + 1 + kGlyphInkMargin);
        f.ink[cell] = {static_cast<float>(left) / cellWidth, static_cast<float>(top) / cellHeight,
                       static_cast<float>(right) / cellWidth, static_cast<float>(bottom) / cellHeight};
    }
}

Texture* glyphSheet(Font& f, float cellUnits) {
    if (!f.texture || !render.backend || f.cellsPerRow <= 0) return f.texture;
    int width = 0, height = 0;
    drawingSize(&width, &height);
    float cellPixels = cellUnits * width / kScreenWidth;
    if (cellPixels <= kDetailedGlyphsAbove * f.texture->width / f.cellsPerRow) return f.texture;
    if (!f.detailedTried) {
        f.detailedTried = true;
        char name[kMaxFileNameLength + 1];
        std::snprintf(name, sizeof name, "%s@2x.tga", f.baseName);
        flushBatch();
        Texture* t = getTexture(name, false);
        // Only the same grid at twice the texels: anything else would put the wrong glyphs in the cells.
        if (t && t->width == 2 * f.texture->width && t->height == 2 * f.texture->height)
            f.detailed = t;
        else if (t)
            releaseTexture(t);
    }
    return f.detailed ? f.detailed : f.texture;
}

void drawGlyph(uint8_t character, float x, float y, float size, uint32_t color) {
    if (text.fonts.empty()) return;
    Font* f = &text.fonts[text.current];
    float halfWidth = size * f->scaleX;
    setTexture(glyphSheet(*f, 2 * halfWidth));
    float halfHeight = size * f->scaleX * f->scaleY;
    // The inked part of the cell over the part of the quad the whole cell would fill: the same texels
    // land on the same pixels.
    const GlyphInk& ink = f->ink[f->cellOf[character]];
    if (ink.right <= ink.left || ink.bottom <= ink.top) return; // nothing to see (a space)
    TexRect cell = glyphRect(*f, character);
    float du = cell.right - cell.left, dv = cell.bottom - cell.top;
    TexRect part{cell.left + du * ink.left, cell.top + dv * ink.top, cell.left + du * ink.right,
                 cell.top + dv * ink.bottom};
    float left = x - halfWidth, top = y + halfHeight, width = 2 * halfWidth, height = 2 * halfHeight;
    drawRect(left + width * ink.left, top - height * ink.top, left + width * ink.right,
             top - height * ink.bottom, part, color, kTextZ);
}

namespace {

float advanceOf(const Font& f, char c) {
    return f.advance[static_cast<uint8_t>(c)];
}

// The box a drawn text covers, glyph advance by glyph advance, for the layout watcher.
struct InkBox {
    bool any = false;
    float left = 0, top = 0, right = 0, bottom = 0;
    void add(const Font& f, char c, float x, float y, float size) {
        float half = size * advanceOf(f, c) / 2, halfHeight = size * 0.5f;
        if (!any) {
            left = x - half, right = x + half, top = y + halfHeight, bottom = y - halfHeight;
            any = true;
            return;
        }
        left = std::min(left, x - half);
        right = std::max(right, x + half);
        top = std::max(top, y + halfHeight);
        bottom = std::min(bottom, y - halfHeight);
    }
    void report(const char* str, float size) const {
        if (any && layoutProbe.text) layoutProbe.text(str, size, left, top, right, bottom);
    }
};

void drawLeftAligned(float x, float y, float size, const char* str) {
    const Font* f = currentFont();
    if (!f) return;
    text.size = size;
    text.penX = x;
    text.penY = y;
    text.offset = 0.0f;
    InkBox ink;
    for (int i = 0; str[i]; i++) {
        char c = str[i];
        if (i > 0) text.offset += size * advanceOf(*f, c) / 2;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && str[i + 1] == '\n') i++;
            // The next line's first glyph is centred on x again.
            text.offset = -size * advanceOf(*f, str[i + 1]) / 2;
            text.penY -= kLineStep * size;
            continue;
        }
        drawGlyph(static_cast<uint8_t>(c), text.penX + text.offset, text.penY, size, text.color);
        if (layoutProbe.text && c != ' ') ink.add(*f, c, text.penX + text.offset, text.penY, size);
        text.offset += size * advanceOf(*f, c) / 2;
    }
    ink.report(str, size);
}

} // namespace

void drawText(float x, float y, float size, const char* str, bool centered) {
    if (centered)
        drawTextCentered(x, y, size, str);
    else
        drawLeftAligned(x, y, size, str);
}

void drawTextCentered(float x, float y, float size, const char* str) {
    const Font* f = currentFont();
    if (!f) return;
    text.size = size;
    text.penX = x;
    text.penY = y;
    InkBox ink;
    int i = 0;
    while (true) {
        float lineWidth = 0.0f;
        int end = i;
        while (str[end] && str[end] != '\r' && str[end] != '\n')
            lineWidth += size * advanceOf(*f, str[end++]);
        text.offset = -lineWidth / 2 + size / 2;
        // Every line starts the same way; counting the half advance from the text's start instead
        // would push every line after the first half a glyph to the right.
        for (int lineStart = i; i < end; i++) {
            if (i > lineStart) text.offset += size * advanceOf(*f, str[i]) / 2;
            drawGlyph(static_cast<uint8_t>(str[i]), text.penX + text.offset, text.penY, size, text.color);
            if (layoutProbe.text && str[i] != ' ')
                ink.add(*f, str[i], text.penX + text.offset, text.penY, size);
            text.offset += size * advanceOf(*f, str[i]) / 2;
        }
        if (!str[i]) break;
        i += (str[i] == '\r' && str[i + 1] == '\n') ? 2 : 1;
        text.penY -= kLineStep * size;
    }
    ink.report(str, size);
}

float measureText(const char* str, float size) {
    const Font* f = currentFont();
    if (!f) return 0.0f;
    float width = 0.0f;
    for (int i = 0; str[i]; i++) width += size * advanceOf(*f, str[i]);
    return width;
}

float fitTextSize(const char* str, float size, float maxWidth) {
    float width = measureText(str, size);
    return width > maxWidth && width > 0 ? size * maxWidth / width : size;
}

float wrapText(float limit, const char* str, float size) {
    char* buf = text.wrapBuffer;
    std::snprintf(buf, kWrapBufferSize, "%s", str);
    float step = kLineStep * size;
    float height = step;
    const Font* f = currentFont();
    if (!f) return height;
    float width = 0.0f;
    int breakAt = -1;      // the space where the current line may break; none at a line's start
    bool overlong = false; // the line's first word alone is wider than the limit
    // Breaks the line at the space at position at: it becomes a line feed and the next line starts.
    auto breakLine = [&](int at) {
        buf[at] = '\n';
        height += step;
        width = 0.0f;
        breakAt = -1;
        overlong = false;
        return at + 1;
    };
    int i = 0;
    while (buf[i]) {
        if (buf[i] == '\r' || buf[i] == '\n') {
            height += step;
            width = 0.0f;
            breakAt = -1;
            overlong = false;
            i += (buf[i] == '\r' && buf[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        // Every character of a line counts, its first too, so that no wrapped line runs past the limit.
        width += size * advanceOf(*f, buf[i]);
        if (width > limit) {
            if (breakAt >= 0) {
                i = breakLine(breakAt);
                continue;
            }
            overlong = true; // break after this word instead of cutting into it
        }
        if (buf[i + 1] == ' ') {
            if (overlong) {
                i = breakLine(i + 1);
                continue;
            }
            breakAt = i + 1;
        }
        i++;
    }
    return height;
}

void drawHighlight(float left, float top, float right, float bottom, uint32_t color) {
    setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    setRenderState(kPresetAlphaTest, true);
    setTexture(text.highlight);
    // Clockwise on screen, so culling never drops it.
    const glm::vec3 corners[4] = {
        {left, top, 35.0f}, {right, top, 35.0f}, {right, bottom, 35.0f}, {left, bottom, 35.0f}};
    drawQuad(corners, color);
    setBlendMode(kBlendNormal);
}

void drawTextHighlighted(float x, float y, float size, uint32_t highlightColor, const char* str,
                         bool centered) {
    float width = measureText(str, size);
    if (centered) x += -width / 2 + size / 2;
    drawText(x, y, size, str, false);
    setBlendFactors(BlendFactor::SrcAlpha, BlendFactor::One);
    setRenderState(kPresetAlphaTest, false);
    setTexture(text.highlight);
    float left = x + 0.2f * size - 3 * size, right = x + 0.2f * size + size + width;
    float top = y + 5 + size, bottom = y + 5 - size;
    const glm::vec3 corners[4] = {
        {left, top, kTextZ}, {right, top, kTextZ}, {right, bottom, kTextZ}, {left, bottom, kTextZ}};
    drawQuad(corners, highlightColor);
    setBlendMode(kBlendNormal);
    setRenderState(kPresetAlphaTest, true);
}
