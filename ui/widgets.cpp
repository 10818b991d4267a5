#include "ui/widgets.h"
#include "ui/menu_system.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "engine/app_state.h"
#include "engine/font.h"
#include "engine/layout_probe.h"
#include "engine/render.h"
#include "engine/text_table.h"
#include "engine/texture.h"
#include "engine/windows1252.h"
#include "player/settings.h"
#include "visuals/particle_sheet.h"

MenuTextures menuTextures;

namespace {

float widgetScale = 1.0f;

constexpr float kPi = 3.14159265f;

// The tiles of "menutex.tga" by number, with the part of each that holds ink (texels from the tile's top
// left, right and bottom one past; two texels to spare): only that part is drawn, the rest is clear.
constexpr AtlasTile::Ink kWholeTile{0, 0, 64, 64};
constexpr AtlasTile kAtlasTiles[] = {
    {0, 0, 1, 1, {19, 19, 64, 64}}, {1, 0, 1, 1, {0, 19, 45, 64}},  // 0, 1 panel corners, top
    {0, 1, 1, 1, {19, 0, 64, 45}},  {1, 1, 1, 1, {0, 0, 45, 45}},   // 2, 3 and bottom
    {0, 2, 1, 1, {0, 23, 64, 41}},  {1, 2, 1, 1, {23, 0, 41, 64}},  // 4, 5 edge strips
    {2, 0, 1, 1, kWholeTile},       {3, 0, 1, 1, kWholeTile},       // 6, 7 unused
    {2, 1, 1, 1, kWholeTile},       {3, 1, 1, 1, kWholeTile},       // 8, 9 unused
    {0, 3, 2, 1, {7, 15, 121, 47}}, {0, 4, 2, 1, {7, 17, 121, 49}}, // 10, 11 top and bottom ornaments
    {2, 3, 1, 2, {15, 7, 47, 121}}, {3, 3, 1, 2, {17, 7, 49, 121}}, // 12, 13 left and right ornaments
    {0, 7, 1, 1, kWholeTile},       {1, 7, 1, 1, kWholeTile},       // 14, 15 arrows
    {0, 5, 1, 1, kWholeTile},       {0, 6, 1, 1, kWholeTile},       // 16, 17 vertical slider caps
    {2, 5, 1, 1, kWholeTile},       {3, 5, 1, 1, kWholeTile},       // 18 unused, 19 knob
    {1, 6, 1, 1, kWholeTile},       {1, 5, 1, 1, kWholeTile},       // 20 checked, 21 unchecked
    {3, 7, 1, 1, kWholeTile},       {2, 7, 1, 1, kWholeTile},       // 22 cursor, 23 its glow
};
static_assert(sizeof kAtlasTiles / sizeof kAtlasTiles[0] == kAtlasTileCount);

TexRect atlasRect(int tile) {
    const AtlasTile& t = kAtlasTiles[tile];
    return {t.column / 4.0f + 0.003f, t.row / 8.0f + 0.003f, (t.column + t.width) / 4.0f - 0.003f,
            (t.row + t.height) / 8.0f - 0.003f};
}

// The inked part of a tile drawn over the quad the whole tile would fill, centred on (x, y): the same
// texels land on the same pixels, and the clear rest of the tile costs no fill.
void drawTileInk(int tile, float x, float y, float width, float height, uint32_t color) {
    const AtlasTile& t = kAtlasTiles[tile];
    const TexRect whole = atlasRect(tile);
    float across = t.width * 64.0f, down = t.height * 64.0f;
    float l = t.ink.left / across, r = t.ink.right / across, top = t.ink.top / down, b = t.ink.bottom / down;
    float du = whole.right - whole.left, dv = whole.bottom - whole.top;
    TexRect part{whole.left + du * l, whole.top + dv * top, whole.left + du * r, whole.top + dv * b};
    float left = x - width / 2, upper = y + height / 2; // units grow upward, texels downward
    drawRect(left + width * l, upper - height * top, left + width * r, upper - height * b, part, color);
}

uint32_t argb(int r, int g, int b, int a) {
    auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return c(a) << 24 | c(r) << 16 | c(g) << 8 | c(b);
}

TexRect balloonTile(int column, int row) {
    return {column / 4.0f + 0.003f, row / 2.0f + 0.003f, (column + 1) / 4.0f - 0.003f,
            (row + 1) / 2.0f - 0.003f};
}

// A strip of length L cut into pieces of one tile each, stretched to L / n.
void edgeStrip(int tile, float x0, float y0, float x1, float y1, float thickness) {
    float length = std::hypot(x1 - x0, y1 - y0);
    int n = static_cast<int>(std::floor(length / (64 * widgetScale)));
    if (n < 1) n = 1;
    float piece = length / n;
    bool horizontal = std::fabs(y1 - y0) < std::fabs(x1 - x0);
    for (int i = 0; i < n; ++i) {
        float f = (i + 0.5f) / n;
        float cx = x0 + (x1 - x0) * f, cy = y0 + (y1 - y0) * f;
        if (horizontal)
            drawTileInk(tile, cx, cy, piece, thickness, 0xFFFFFFFF);
        else
            drawTileInk(tile, cx, cy, thickness, piece, 0xFFFFFFFF);
    }
}

void registerButton(float left, float top, float right, float bottom) {
    menus.buttons.push({left, top, right, bottom}); // a page never has more buttons than items
}

void drawCaption(float x, float y, float size, const char* caption, bool selected, bool centred) {
    if (selected) {
        float w = measureText(caption, size);
        float left = centred ? x - w / 2 : x;
        drawHighlight(left - size, y + size * 1.2f, left + w + size, y - size * 0.8f, menus.glowColour);
        setTextColor(menus.highlightColour);
    } else {
        setTextColor(0xFFFFFFFFu);
    }
    drawText(x, y, size, caption, centred);
    setTextColor(0xFFFFFFFFu);
}

const char* itemCaption(int index) {
    const MenuPage* page = menus.currentPage;
    if (!page || index < 0 || index >= page->items.size()) return "";
    return page->items[index]->caption;
}

} // namespace

const AtlasTile& atlasTile(int tile) {
    assert(tile >= 0 && tile < kAtlasTileCount);
    return kAtlasTiles[tile];
}

void loadWidgetTextures() {
    menuTextures.atlas = getTexture("menutex.tga");
    menuTextures.white = getTexture("white.jpg");
    menuTextures.balloon = getTexture("baloon.tga");
    menuTextures.button = getTexture("button.tga");
    menuTextures.winfill = getTexture("winfill.jpg");
    menuTextures.hammerCursor = getTexture("hammercursor.tga");
    menuTextures.questionCursor = getTexture("questioncursor.tga");
}

void updateWidgetColours() {
    float b = std::sin(menus.menuClockMs * 0.005f) * 0.5f + 0.5f;
    menus.highlightColour = argb(255, static_cast<int>(150 + 50 * b), 0, 255);
    menus.glowColour = argb(255, 200, 100, static_cast<int>(50 + 20 * b));
}

void setWidgetScale(float factor) {
    widgetScale = factor;
}

void setTextRgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    setTextColor(r, g, b, a);
}

void drawAtlasTile(int tile, float x, float y, uint32_t color, float scaleX, float scaleY) {
    assert(tile >= 0 && tile < kAtlasTileCount);
    const AtlasTile& t = kAtlasTiles[tile];
    setTexture(menuTextures.atlas);
    drawTileInk(tile, x, y, t.width * 64 * widgetScale * scaleX, t.height * 64 * widgetScale * scaleY, color);
}

void drawAtlasTileStretched(int tile, float x, float y, float width, float height, uint32_t color) {
    setTexture(menuTextures.atlas);
    drawTileInk(tile, x, y, width, height, color);
}

PanelLook panelLook(float width, float height) {
    return {width > 192, height > 192, width > 192 && height > 192};
}

void panelShadowPieces(float left, float top, float right, float bottom, int sheetWidth, int sheetHeight,
                       ShadowPiece out[kPanelShadowPieces]) {
    constexpr int kGlowFrame = 12;
    constexpr float kDropX = 2, kDropY = -5, kInside = 6; // the fade starts a little inside the frame
    const float f = kPanelShadowFade;
    const float xs[4] = {left - f + kInside + kDropX, left + kInside + kDropX, right - kInside + kDropX,
                         right + f - kInside + kDropX};
    const float ys[4] = {top + f - kInside + kDropY, top - kInside + kDropY, bottom + kInside + kDropY,
                         bottom - f + kInside + kDropY};
    TexRect g = sheetFrame(kGlowFrame, sheetWidth, sheetHeight);
    const float us[4] = {g.left, (g.left + g.right) / 2, (g.left + g.right) / 2, g.right};
    const float vs[4] = {g.top, (g.top + g.bottom) / 2, (g.top + g.bottom) / 2, g.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            out[row * 3 + column] = {xs[column],
                                     ys[row],
                                     xs[column + 1],
                                     ys[row + 1],
                                     {us[column], vs[row], us[column + 1], vs[row + 1]}};
        }
    }
}

namespace {

// The panel's fill comes out opaque under the current tint (a fading page makes it see-through).
bool fillOpaqueUnderTint() {
    return (tintColor(kPanelFill) >> 24) == 0xFF;
}

// A panel's soft shadow and its grained fill: soft enough to be drawn among the painterly layers.
void drawPanelBack(float left, float top, float right, float bottom) {
    float w = right - left, h = top - bottom;
    if (panelLook(w, h).shadow) {
        const Texture* sheet = particleSystem.sheet;
        ShadowPiece pieces[kPanelShadowPieces];
        panelShadowPieces(left, top, right, bottom, sheet ? sheet->width : 1024, sheet ? sheet->height : 1024,
                          pieces);
        setTexture(sheet);
        // The middle piece lies wholly under the fill: where the fill comes out opaque it is never seen.
        const RenderStates& s = render.states;
        bool replaces =
            !s.alphaBlend || (s.srcBlend == BlendFactor::SrcAlpha && s.dstBlend == BlendFactor::InvSrcAlpha);
        bool hidden = replaces && fillOpaqueUnderTint();
        for (int i = 0; i < kPanelShadowPieces; i++) {
            const ShadowPiece& p = pieces[i];
            if (i != kPanelShadowMiddle || !hidden)
                drawRect(p.left, p.top, p.right, p.bottom, p.tex, argb(0, 0, 0, 170));
        }
    }
    setTexture(menuTextures.white);
    drawRect(left, top, right, bottom, {0, 0, w / 128, h / 208}, kPanelFill);
}

// Only a page at rest: one that moves or fades draws its panel whole, in its place of the frame.
bool backdropDue() {
    const PanelBackdrop& b = menus.lastPanel;
    return b.page && b.page == menus.currentPage && !menus.menuHidden && !menus.opening && !menus.closing &&
           menus.fadeAmount == 0;
}

} // namespace

bool panelBackdropCover(float& left, float& top, float& right, float& bottom) {
    const PanelBackdrop& b = menus.lastPanel;
    const glm::mat4& m = b.world;
    // Moved and scaled only (no turn, no projection), and the fill opaque under the tint.
    bool square = m[0][1] == 0 && m[0][3] == 0 && m[1][0] == 0 && m[1][3] == 0 && m[2][0] == 0 &&
                  m[2][1] == 0 && m[2][3] == 0 && m[3][3] == 1 && m[0][0] > 0 && m[1][1] > 0;
    if (!backdropDue() || !square || !fillOpaqueUnderTint()) return false;
    left = b.left * m[0][0] + m[3][0];
    right = b.right * m[0][0] + m[3][0];
    top = b.top * m[1][1] + m[3][1];
    bottom = b.bottom * m[1][1] + m[3][1];
    return true;
}

bool drawPanelBackdrop() {
    const PanelBackdrop& b = menus.lastPanel;
    menus.backdropUnder = false;
    if (!backdropDue()) return false;
    begin2D(); // the states the page is drawn with, whatever the landscape left
    setWorld(&b.world);
    drawPanelBack(b.left, b.top, b.right, b.bottom);
    setWorld(nullptr);
    menus.backdropUnder = true;
    return true;
}

void drawPanel(float x, float y, float w, float h) {
    float left = x - w / 2, top = y + h / 2, right = x + w / 2, bottom = y - h / 2;
    PanelLook look = panelLook(w, h);
    noteLayoutBox(kLayoutPanel, left, top, right, bottom);
    bool first = !menus.panelDrawn;
    menus.panelDrawn = true;
    PanelBackdrop& b = menus.lastPanel;
    const glm::mat4& world = render.transforms.world;
    bool under = first && menus.backdropUnder && b.page == menus.currentPage && b.left == left &&
                 b.top == top && b.right == right && b.bottom == bottom && b.world == world;
    if (first) b = {menus.currentPage, left, top, right, bottom, world};
    if (!under) drawPanelBack(left, top, right, bottom);
    setTexture(menuTextures.atlas);
    float thick = 64 * widgetScale;
    edgeStrip(4, left, top, right, top, thick);
    edgeStrip(4, left, bottom, right, bottom, thick);
    edgeStrip(5, left, top, left, bottom, thick);
    edgeStrip(5, right, top, right, bottom, thick);
    drawAtlasTile(0, left, top, 0xFFFFFFFF);
    drawAtlasTile(1, right, top, 0xFFFFFFFF);
    drawAtlasTile(2, left, bottom, 0xFFFFFFFF);
    drawAtlasTile(3, right, bottom, 0xFFFFFFFF);
    if (look.horizontalOrnaments) {
        drawAtlasTile(10, x, top, 0xFFFFFFFF);
        drawAtlasTile(11, x, bottom, 0xFFFFFFFF);
    }
    if (look.verticalOrnaments) {
        drawAtlasTile(12, left, y, 0xFFFFFFFF);
        drawAtlasTile(13, right, y, 0xFFFFFFFF);
    }
    // Sparkles in the corners, each on its own phase.
    const float cornersX[4] = {left + 9, left + 9, right - 9, right - 9};
    const float cornersY[4] = {top - 9, bottom + 9, top - 9, bottom + 9};
    for (int k = 0; k < 4; ++k) {
        float bright = std::sin(menus.menuClockMs * 0.0005f + k * kPi / 2) * 0.5f + 0.5f;
        int v = static_cast<int>(bright * 255);
        drawSheetSprite(cornersX[k], cornersY[k], 48, 48, 12, argb(v, v, v, 255), kBlendAdditive);
    }
    setBlendMode(kBlendNormal);
}

void drawButton(float x, float y, float w, float h, float size, const char* label) {
    int index = menus.buttons.size();
    float left = x - w / 2, right = x + w / 2, top = y + h / 2, bottom = y - h / 2;
    noteLayoutBox(kLayoutButton, left, top, right, bottom);
    setTexture(menuTextures.button);
    drawRect(left, top, left + h, bottom, {0, 0, 0.5f, 1}, 0xFFFFFFFF);
    drawRect(left + h, top, right - h, bottom, {0.5f, 0, 0.5f, 1}, 0xFFFFFFFF);
    drawRect(right - h, top, right, bottom, {0.5f, 0, 1, 1}, 0xFFFFFFFF);
    const char* caption = label ? label : itemCaption(index);
    drawCaption(x, y - 0.15f * size, size, caption, index == menus.selectedItem, true);
    registerButton(left, top, right, bottom);
}

float itemListWidth(float size, int first, int end) {
    float widest = 0;
    for (int i = first; i < end; ++i) widest = std::max(widest, measureText(itemCaption(i), size));
    return widest;
}

void drawItemList(float x, float y, float size, bool centred, int first, int end) {
    const MenuPage* page = menus.currentPage;
    if (!page) return;
    if (end < 0 || end > page->items.size()) end = page->items.size();
    if (first < 0) first = 0;
    int n = end - first;
    if (n <= 0) return;
    float blockHeight = 2 * size * n;
    float widest = itemListWidth(size, first, end);
    if (!centred) x = x - widest / 2 + size;
    float r = centred ? widest / 2 : 0;
    float line = y + blockHeight / 2 - size;
    for (int i = first; i < end; ++i) {
        drawCaption(x, line, size, itemCaption(i), i == menus.selectedItem, centred);
        // The button's index is its drawing order, which is the item's index when lists start at 0.
        registerButton(x - size - r, line + 1.2f * size, x + widest - r, line - 0.8f * size);
        line -= 2 * size;
    }
}

void drawItemPanel(float x, float y, float size, bool centred, int first, int end) {
    const MenuPage* page = menus.currentPage;
    if (!page) return;
    int last = end < 0 || end > page->items.size() ? page->items.size() : end;
    float widest = itemListWidth(size, first, last);
    drawPanel(x, y, widest + 64, 2 * size * (last - first) + 64);
    drawItemList(x, y, size, centred, first, end);
}

int addWidget(int type, float left, float top, float right, float bottom) {
    Widget* added = menus.widgets.add(); // the slot as the last frame left it
    if (!added) return -1;
    int slot = menus.widgets.size() - 1;
    Widget& w = *added;
    w.left = left;
    w.top = top;
    w.right = right;
    w.bottom = bottom;
    w.type = type;
    return slot;
}

int sliderClick(const Widget& w, float x) {
    int position = w.position;
    if (x <= w.left - 25.6f) position = std::max(0, position - 1);
    if (x >= w.right + 25.6f) position = std::min(w.steps - 1, position + 1);
    return position;
}

int sliderDrag(const Widget& w, float x) {
    if (x <= w.left) return 0;
    if (x >= w.right) return w.steps - 1;
    int position = static_cast<int>((x - w.left) / (w.right - w.left) * w.steps);
    return std::clamp(position, 0, w.steps - 1);
}

namespace {
// The slider's slot, its value flowing in while the page opens and out afterwards; null when full.
Widget* sliderSlot(float ax, float ay, float bx, float by, int* value, int steps) {
    float midY = (ay + by) / 2;
    int slot = addWidget(WIDGET_SLIDER, ax, midY + 15, bx, midY - 15);
    if (slot < 0) return nullptr;
    Widget& w = menus.widgets[slot];
    w.steps = static_cast<int16_t>(steps);
    if (menus.opening)
        w.position = static_cast<int16_t>(std::clamp(*value, 0, steps - 1));
    else
        *value = w.position;
    return &w;
}
} // namespace

void choiceSlider(float ax, float bx, float y, int* value, int steps, const char* (*name)(int), float size) {
    if (!sliderSlot(ax, y, bx, y, value, steps)) return;
    // The arrows at three quarters of a slider's, wholly outside the band where a drag picks by
    // position, so that a click on an arrow always steps.
    setTexture(menuTextures.atlas);
    drawAtlasTile(14, ax - 50, y, 0xFFFFFFFF, 0.75f, 0.75f);
    drawAtlasTile(15, bx + 50, y, 0xFFFFFFFF, 0.75f, 0.75f);
    drawTextCentered((ax + bx) / 2, y, size, name(*value));
}

void slider(float ax, float ay, float bx, float by, int* value, int steps) {
    Widget* slot = sliderSlot(ax, ay, bx, by, value, steps);
    if (!slot) return;
    Widget& w = *slot;
    float length = std::hypot(bx - ax, by - ay);
    float dx = length > 0 ? (bx - ax) / length : 1, dy = length > 0 ? (by - ay) / length : 0;
    bool horizontal = ay == by;
    if (horizontal) {
        // The track at half thickness, from one arrow to the other.
        float x0 = ax - 64 * dx, x1 = bx + 64 * dx;
        setTexture(menuTextures.atlas);
        drawTileInk(4, (x0 + x1) / 2, ay, x1 - x0, 32, 0xFFFFFFFF);
        drawAtlasTile(14, ax - 44.8f * dx, ay, 0xFFFFFFFF);
        drawAtlasTile(15, bx + 44.8f * dx, by, 0xFFFFFFFF);
    } else {
        float y0 = ay - 64 * dy, y1 = by + 64 * dy;
        setTexture(menuTextures.atlas);
        drawTileInk(5, ax, (y0 + y1) / 2, 32, std::fabs(y1 - y0), 0xFFFFFFFF);
        drawAtlasTile(16, ax - 44.8f * dx, ay - 44.8f * dy, 0xFFFFFFFF);
        drawAtlasTile(17, bx + 44.8f * dx, by + 44.8f * dy, 0xFFFFFFFF);
    }
    float along = steps > 1 ? length / (steps - 1) * w.position : 0;
    drawAtlasTile(19, ax + dx * along, ay + dy * along, 0xFFFFFFFF);
}

void checkBox(float x, float y, bool* flag, const char* label, float size) {
    int slot = addWidget(WIDGET_CHECKBOX, x - 32, y + 32, x + 32, y - 32);
    if (slot >= 0) {
        Widget& w = menus.widgets[slot];
        if (menus.opening)
            w.flag = *flag ? 1 : 0;
        else
            *flag = w.flag != 0;
    }
    drawAtlasTile(*flag ? 20 : 21, x, y, 0xFFFFFFFF);
    if (label) drawText(x + 47, y, size, label, false);
}

void drawHoverFrame() {
    if (menus.widgets.size() == 0 || menus.hoveredWidget < 0 || menus.hoveredWidget >= menus.widgets.size())
        return;
    const Widget& w = menus.widgets[menus.hoveredWidget];
    float pulse = std::sin(menus.pageClockMs * 0.008f) * 0.5f + 0.5f;
    if (w.type == WIDGET_LEVELMARK) {
        // On the map a box around the small mark reads as a stray square: a ring of light instead.
        int v = static_cast<int>(150 + 105 * pulse);
        drawSheetSprite((w.left + w.right) / 2, (w.top + w.bottom) / 2, 46, 46, 2,
                        argb(v, v * 4 / 5, v / 3, 255), kBlendAdditive);
        setBlendMode(kBlendNormal);
        return;
    }
    setTexture(nullptr);
    drawRect(w.left - 32, w.top + 16, w.right + 32, w.bottom - 16, kWholeTexture,
             argb(255, 200, 100, static_cast<int>(50 + 30 * pulse)));
}

void drawTextBox(float left, float top, float right, float bottom) {
    noteLayoutBox(kLayoutBalloon, left, top, right, bottom);
    setTexture(menuTextures.white);
    drawRect(left, top, right, bottom, {0, 0, (right - left) / 128, (top - bottom) / 128},
             argb(63, 30, 11, 210));
    setTexture(menuTextures.balloon);
    float t = 32;
    // Edges of the frame between the corners.
    drawRect(left + t, top + t / 2, right - t, top - t / 2, balloonTile(2, 0), 0xFFFFFFFF);
    drawRect(left + t, bottom + t / 2, right - t, bottom - t / 2, balloonTile(2, 0), 0xFFFFFFFF);
    drawRect(left - t / 2, top - t, left + t / 2, bottom + t, balloonTile(3, 0), 0xFFFFFFFF);
    drawRect(right - t / 2, top - t, right + t / 2, bottom + t, balloonTile(3, 0), 0xFFFFFFFF);
    drawCentered(left, top, 2 * t, 2 * t, balloonTile(0, 0), 0xFFFFFFFF);
    drawCentered(right, top, 2 * t, 2 * t, balloonTile(1, 0), 0xFFFFFFFF);
    drawCentered(left, bottom, 2 * t, 2 * t, balloonTile(0, 1), 0xFFFFFFFF);
    drawCentered(right, bottom, 2 * t, 2 * t, balloonTile(1, 1), 0xFFFFFFFF);
}

void showBalloon(float anchorX, float anchorY, const char* str, float width) {
    if (!str) return;
    float height = wrapText(width - 40, str, 13) + 30;
    float left = anchorX - width / 2, top = anchorY + height / 2;
    drawTextBox(left, top, left + width, top - height);
    setTextColor(0xFFFFFFFFu);
    drawText(left + 20, top - 22, 13, text.wrapBuffer, false);
}

void drawNameEntry() {
    float fold = 1 - menus.fadeAmount * menus.fadeAmount;
    float height = 280 * fold;
    drawPanel(0, 140 - height / 2, 400, std::max(height, 1.0f));
    if (fold < 0.5f) return;
    setTextColor(0xFFFFFFFFu);
    if (const char* prompt = findText("entername")) drawTextCentered(0, 90, 15, prompt);
    drawTextBox(-165, 52, 165, -12);
    float width = measureText(menus.nameBuffer, 17);
    float left = 17 - width / 2;
    drawText(left, 20, 17, menus.nameBuffer, false);
    char before[kNameBytes] = {};
    std::memcpy(before, menus.nameBuffer, std::clamp(menus.nameCursor, 0, kNameBytes - 1));
    float caretAlpha = std::sin(menus.caretClockMs * 0.01f) * 0.5f + 0.5f;
    setTextColor(255, 255, 55, static_cast<uint8_t>(255 * caretAlpha));
    drawText(left + measureText(before, 17), 20, 17, "|", false);
    setTextColor(0xFFFFFFFFu);
    drawButton(0, -80, 130, 64, 18, nullptr);
}

void nameEditorKey(unsigned key) {
    char* name = menus.nameBuffer;
    int length = static_cast<int>(strnlen(name, kNameBytes - 1));
    int& caret = menus.nameCursor;
    caret = std::clamp(caret, 0, length);
    switch (key) {
    case 8:
        if (caret > 0) {
            std::memmove(name + caret - 1, name + caret, length - caret + 1);
            --caret;
        }
        return;
    case 35:
        caret = length;
        return;
    case 36:
        caret = 0;
        return;
    case 37:
        if (caret > 0) --caret;
        return;
    case 39:
        if (caret < length) ++caret;
        return;
    case 46:
        if (caret < length) std::memmove(name + caret, name + caret + 1, length - caret);
        return;
    default:
        break;
    }
    // Characters come typed (the window's text input, in Windows-1252), never from key codes: a letter
    // keeps its accent and is written as a capital, as names always were. Folder separators would cut the
    // saved games' file names.
    if ((key & ~0xFFu) != kMenuTypedCharacter) return;
    auto c = windows1252Upper(static_cast<uint8_t>(key));
    bool printable = c >= 0x20 && c != 0x7F && windows1252CodePoint(c) != 0;
    if (length < kNameBytes - 1 && printable && c != '/' && c != '\\') {
        std::memmove(name + caret + 1, name + caret, length - caret + 1);
        name[caret++] = static_cast<char>(c);
    }
}

namespace {
int cursorMode = kCursorArrow;
float cursorClockMs = 0;
} // namespace

void setCursorModeMenu(int mode) {
    cursorMode = mode;
}

int cursorModeMenu() {
    return cursorMode;
}

CursorSprites cursorSprites(int mode, float mouseX, float mouseY, float clockMs) {
    CursorSprites out;
    if (!settings.customCursor) return out;
    if (mouseX < -400 || mouseX > 400 || mouseY < -300 || mouseY > 300) return out;
    if (mode == kCursorHammerMode) {
        out.push({kCursorPictureHammer, mouseX + 28, mouseY - 14, 64, 64, 255});
        return out;
    }
    // The arrow (also for a mode this build does not know), its glow pulsing under it.
    auto glow = static_cast<uint8_t>(std::clamp((std::sin(clockMs * 0.005f) + 1) * 127.5f, 0.0f, 255.0f));
    out.push({kCursorPictureGlow, mouseX + 30, mouseY - 32, 0, 0, glow});
    out.push({kCursorPictureArrow, mouseX + 30, mouseY - 32, 0, 0, 255});
    if (mode == kCursorQuestion) out.push({kCursorPictureQuestion, mouseX + 23, mouseY - 56, 40, 40, 255});
    return out;
}

void drawCursor(float mouseX, float mouseY) {
    cursorClockMs += app.frameTimeMs;
    CursorSprites sprites = cursorSprites(cursorMode, mouseX, mouseY, cursorClockMs);
    if (sprites.empty()) return;
    begin2D();
    setBlendMode(kBlendNormal);
    for (const CursorSprite& s : sprites) {
        uint32_t colour = argb(255, 255, 255, s.alpha);
        switch (s.picture) {
        case kCursorPictureGlow:
            drawAtlasTile(23, s.x, s.y, colour);
            break;
        case kCursorPictureArrow:
            drawAtlasTile(22, s.x, s.y, colour);
            break;
        case kCursorPictureHammer:
            setTexture(menuTextures.hammerCursor);
            drawCentered(s.x, s.y, s.width, s.height, kWholeTexture, colour);
            break;
        case kCursorPictureQuestion:
            setTexture(menuTextures.questionCursor);
            drawCentered(s.x, s.y, s.width, s.height, kWholeTexture, colour);
            break;
        default:
            break;
        }
    }
}
