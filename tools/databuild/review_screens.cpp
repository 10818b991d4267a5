// Review only: mock-ups of the game screen and of a menu page, laid out with the game's coordinates from
// the built pictures and the built font, so that the pictures can be judged together on the contact sheet.
#include "review_screens.h"
#include "catalogue.h"

#include <cmath>
#include <cstring>

namespace {

struct Screen {
    Image img{800, 600};

    // A sprite centred at scene point (x, y) (origin at the centre, y up), half-sizes in units,
    // rotation in degrees, texture rectangle u0..u1, v0..v1, colour multiplied in.
    void sprite(const Image& tex, float x, float y, float hw, float hh, float rot, const Rgba& tint,
                bool additive = false, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        float cx = x + 400, cy = 300 - y;
        float r = float(std::hypot(hw, hh)) + 1;
        float c = std::cos(rot * float(M_PI) / 180), s = std::sin(rot * float(M_PI) / 180);
        for (int py = int(cy - r); py <= int(cy + r); py++)
            for (int px = int(cx - r); px <= int(cx + r); px++) {
                if (px < 0 || py < 0 || px >= 800 || py >= 600) continue;
                float dx = px + 0.5f - cx, dy = py + 0.5f - cy;
                // Into the sprite's frame (screen y down, rotation counter-clockwise on screen).
                float lx = dx * c - dy * s, ly = dx * s + dy * c;
                if (std::fabs(lx) > hw || std::fabs(ly) > hh) continue;
                float u = u0 + (lx / hw * 0.5f + 0.5f) * (u1 - u0),
                      v = v0 + (ly / hh * 0.5f + 0.5f) * (v1 - v0);
                Rgba t = tex.sample(u * tex.width - 0.5f, v * tex.height - 0.5f);
                Rgba col{t.r * tint.r, t.g * tint.g, t.b * tint.b, t.a * tint.a};
                if (additive) {
                    float* p = img.at(px, py);
                    for (int k = 0; k < 3; k++) p[k] = std::min(1.0f, p[k] + (&col.r)[k] * col.a);
                } else {
                    img.blendPixel(px, py, {col.r, col.g, col.b, 1}, col.a);
                }
            }
    }
    void quad(const Image& tex, float l, float t, float r, float b, const Rgba& tint = {1, 1, 1, 1}) {
        sprite(tex, (l + r) / 2, (t + b) / 2, (r - l) / 2, (t - b) / 2, 0, tint);
    }
};

struct Font {
    const Image* sheet = nullptr;
    int cellsPerRow = 16;
    float advance[256] = {};
    float scaleX = 1, scaleY = 1;
};

Font loadFont(const Catalogue& cat, const std::string& base, float scaleX, float scaleY) {
    Font f;
    f.sheet = &cat.find(base + ".tga")->preview;
    const std::vector<uint8_t>& dat = cat.find(base + ".dat")->bytes;
    int32_t cells;
    std::memcpy(&cells, dat.data(), 4);
    f.cellsPerRow = cells;
    for (int i = 0; i < 256; i++) f.advance[i] = dat[4 + size_t(i)] * 2.0f / (512.0f / cells) * scaleX;
    f.scaleX = scaleX;
    f.scaleY = scaleY;
    return f;
}

// Centred text as the game lays it out: glyph cells centred on the pen, spaced by their advances.
void text(Screen& s, const Font& f, float x, float y, float size, const char* str, const Rgba& colour) {
    float w = 0;
    for (const char* p = str; *p; p++) w += size * f.advance[uint8_t(*p)];
    float offset = -w / 2 + size / 2;
    float cell = 1.0f / f.cellsPerRow;
    for (const char* p = str; *p; p++) {
        int ch = uint8_t(*p);
        if (p != str) offset += size * f.advance[ch] / 2;
        float u = (ch % f.cellsPerRow) * cell, v = (ch / f.cellsPerRow) * cell;
        s.sprite(*f.sheet, x + offset, y, size * f.scaleX, size * f.scaleX * f.scaleY, 0, colour, false, u, v,
                 u + cell, v + cell);
        offset += size * f.advance[ch] / 2;
    }
}

const Image& pic(const Catalogue& cat, const std::string& name) {
    return cat.find(name)->preview;
}

Image frameOf(const Image& sheet, int n) {
    Image out(64, 64);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            std::memcpy(out.at(x, y), sheet.at((n % 8) * 64 + x, (n / 8) * 64 + y), 4 * sizeof(float));
    return out;
}

} // namespace

Image mockGameScreen(const Catalogue& cat) {
    Screen s;
    s.img = pic(cat, "view of back3");
    const Rgba white{1, 1, 1, 1};
    // A level of 16 by 13 cells with two busy corners; balls scattered over it.
    auto cellX = [](int c) { return float((c - 5) * 40 - 360); };
    auto cellY = [](int r) { return float(280 - (r - 5) * 40); };
    int kinds[30][30];
    for (int c = 0; c < 30; c++)
        for (int r = 0; r < 30; r++) kinds[c][r] = -1;
    for (int c = 6; c <= 20; c++)
        for (int r = 6; r <= 18; r++) {
            if ((c == 6 || c == 20) && (r == 6 || r == 18)) continue;
            int square = (c > 16 && r > 15) ? 2 : (c < 9 && r < 8) ? 1 : 0;
            const char* names[3] = {"field0.tga", "field1.tga", "field2.tga"};
            s.sprite(pic(cat, names[square]), cellX(c), cellY(r), 23.1f, 23.1f, 0, white);
            float h = hashUnit(5, c, r);
            if (h < 0.42f)
                kinds[c][r] = int(hashUnit(6, c, r) * 8);
            else if (h < 0.44f)
                kinds[c][r] = 10;
        }
    kinds[12][10] = 11;
    kinds[15][14] = 12;
    kinds[9][15] = 13;
    // Path preview from the selected ball at (10, 12) to (14, 9).
    Image sheet = pic(cat, "particles.tga");
    kinds[10][12] = 3;
    for (int c = 11; c <= 14; c++) kinds[c][12] = -1;
    for (int r = 9; r <= 11; r++) kinds[14][r] = -1;
    s.sprite(frameOf(sheet, 56), cellX(14), cellY(9), 40.2f, 40.2f, 180, white);
    s.sprite(frameOf(sheet, 57), cellX(14), cellY(10), 40.2f, 40.2f, 180, white);
    s.sprite(frameOf(sheet, 57), cellX(14), cellY(11), 40.2f, 40.2f, 180, white);
    s.sprite(frameOf(sheet, 58), cellX(14), cellY(12), 40.2f, 40.2f, 90, white);
    s.sprite(frameOf(sheet, 57), cellX(13), cellY(12), 40.2f, 40.2f, 90, white);
    s.sprite(frameOf(sheet, 57), cellX(12), cellY(12), 40.2f, 40.2f, 90, white);
    s.sprite(frameOf(sheet, 59), cellX(11), cellY(12), 40.2f, 40.2f, 90, white);
    for (int c = 5; c < 25; c++)
        for (int r = 5; r < 20; r++) {
            int k = kinds[c][r];
            if (k < 0) continue;
            float x = cellX(c), y = cellY(r), h = 16;
            if (c == 10 && r == 12) {
                x += 3;
                y += 4;
                h *= 1.1f;
            }
            if (k <= 10) {
                s.sprite(pic(cat, "shadow.tga"), x - 2, y - 3, 1.5f * h, 1.5f * h, 180, white);
                char name[16];
                std::snprintf(name, sizeof name, "bal%02d.tga", k);
                s.sprite(pic(cat, k == 10 ? "jocker.tga" : name), x + 2, y + 3, 1.1f * h, 1.1f * h, 0, white);
            } else {
                s.sprite(pic(cat, "shadow.tga"), x - 2, y - 3, 1.6f * h, 1.6f * h, 180, white);
                const char* name = k == 11 ? "bomb.tga" : k == 13 ? "superbomb.tga" : "diamond0105.tga";
                float hs = k == 12 ? 1.3f * h : 1.7f * h;
                if (k == 12)
                    s.sprite(frameOf(sheet, 12), x + 3, y + 4.4f, 4 * h, 4 * h, 20, rgb(150, 200, 255, 0.8f),
                             true);
                s.sprite(pic(cat, name), x + 3, y + 4.4f, hs, hs, 0, k == 12 ? rgb(255, 230, 200) : white);
            }
            if (c == 16 && r == 8) s.sprite(pic(cat, "zep2.tga"), cellX(c), cellY(r), 30, 30, 45, white);
        }
    s.sprite(pic(cat, "fieldspodsv.tga"), cellX(14), cellY(9), 23.1f, 23.1f, 0, white, true);
    // The right panel and its texts.
    Font font2 = loadFont(cat, "font2", 1.2f, 0.75f);
    s.quad(pic(cat, "gamebar.tga"), 272, 300, 400, -212);
    text(s, font2, 345, 279, 14, "Score", white);
    text(s, font2, 345, 238, 14, "128450", rgb(255, 255, 180));
    text(s, font2, 345, 183, 14, "Level", white);
    text(s, font2, 353, 149, 14, "17", white);
    text(s, font2, 343, 90, 14, "Lives", white);
    for (float hx : {316.0f, 346.0f, 376.0f}) s.sprite(pic(cat, "heart.tga"), hx, 55, 16, 16, 0, white);
    text(s, font2, 350, -31, 14, "Menu", white);
    s.quad(pic(cat, "gamebarfoot.tga"), 272, -150, 400, -406);
    s.quad(pic(cat, "molotok1.tga"), 320, -162, 384, -290);
    // Hammer charged to 60%: the filled picture over the lower part, cut to match.
    s.sprite(pic(cat, "molotok2.tga"), 352, -290 + 128 * 0.3f, 32, 128 * 0.3f, 0, white, false, 0, 0.4f, 1,
             1);
    s.sprite(pic(cat, "flare.jpg"), 352, -290 + 128 * 0.6f, 30, 10, 0, rgb(255, 220, 80), true);
    // Progress bar at 45%.
    s.quad(pic(cat, "levelbar1.tga"), -410, -225 + 512, -346, -225);
    float marker = 23 + 466 * 0.45f;
    s.sprite(pic(cat, "levelbar2.tga"), -378, -225 + marker / 2, 32, marker / 2, 0, white, false, 0,
             1 - marker / 512, 1, 1);
    s.sprite(pic(cat, "flare.jpg"), -378, -225 + marker, 24, 8, 0, rgb(255, 230, 90), true);
    s.sprite(pic(cat, "question.tga"), -378, -270, 20, 20, 0, rgb(255, 255, 255, 0.9f));
    // A star flying to the bar and a pop-up text.
    s.sprite(frameOf(sheet, 61), -250, 60, 28, 28, 20, rgb(255, 230, 255), true);
    text(s, font2, -40, 40, 27, "Excellent!", rgb(255, 240, 160));
    return s.img;
}

Image mockMenuScreen(const Catalogue& cat) {
    Screen s;
    s.img = pic(cat, "view of the map");
    const Image& atlas = pic(cat, "menutex.tga");
    const Rgba white{1, 1, 1, 1};
    auto tile = [&](int c, int r, int w, int h, float x, float y, float rot = 0) {
        s.sprite(atlas, x, y, w * 32.0f, h * 32.0f, rot, white, false, c / 4.0f + 0.003f, r / 8.0f + 0.003f,
                 (c + w) / 4.0f - 0.003f, (r + h) / 8.0f - 0.003f);
    };
    // A panel of 360 by 300 centred at (-80, 0), drawn as the widgets draw it.
    float x = -80, y = 0, w = 360, h = 300, l = x - w / 2, t = y + h / 2, r = x + w / 2, b = y - h / 2;
    // Its soft shadow: six faint black layers, each a little larger, set off toward the lower right.
    for (int k = 0; k < 6; k++) {
        float grow = 3 + 2.4f * k;
        s.quad(pic(cat, "white.jpg"), l - grow + 5, t + grow - 7, r + grow + 5, b - grow - 7,
               rgb(0, 0, 0, 38 / 255.0f));
    }
    s.quad(pic(cat, "white.jpg"), l, t, r, b, rgb(55, 15, 0, 240 / 255.0f));
    int nx = int(w / 64), ny = int(h / 64);
    for (int i = 0; i < nx; i++) {
        float cx = l + (i + 0.5f) * w / nx;
        s.sprite(atlas, cx, t, w / nx / 2, 32, 0, white, false, 0.003f, 2 / 8.0f + 0.003f, 0.25f - 0.003f,
                 3 / 8.0f - 0.003f);
        s.sprite(atlas, cx, b, w / nx / 2, 32, 0, white, false, 0.003f, 2 / 8.0f + 0.003f, 0.25f - 0.003f,
                 3 / 8.0f - 0.003f);
    }
    for (int i = 0; i < ny; i++) {
        float cy = t - (i + 0.5f) * h / ny;
        s.sprite(atlas, l, cy, 32, h / ny / 2, 0, white, false, 0.25f + 0.003f, 2 / 8.0f + 0.003f,
                 0.5f - 0.003f, 3 / 8.0f - 0.003f);
        s.sprite(atlas, r, cy, 32, h / ny / 2, 0, white, false, 0.25f + 0.003f, 2 / 8.0f + 0.003f,
                 0.5f - 0.003f, 3 / 8.0f - 0.003f);
    }
    tile(0, 0, 1, 1, l, t);
    tile(1, 0, 1, 1, r, t);
    tile(0, 1, 1, 1, l, b);
    tile(1, 1, 1, 1, r, b);
    tile(0, 3, 2, 1, x, t);
    tile(0, 4, 2, 1, x, b);
    tile(2, 3, 1, 2, l, y);
    tile(3, 3, 1, 2, r, y);
    Font font2 = loadFont(cat, "font2", 1.2f, 0.75f);
    const char* items[4] = {"Classic", "Puzzle", "Action", "Options"};
    for (int i = 0; i < 4; i++)
        text(s, font2, x, 80 - i * 40.0f, 18, items[i], i == 1 ? rgb(255, 190, 0) : white);
    // A button and a check box below the list.
    const Image& button = pic(cat, "button.tga");
    float bx = x, by = -100, bw = 160, bh = 48;
    s.sprite(button, bx - bw / 2 + bh / 2, by, bh / 2, bh / 2, 0, white, false, 0, 0, 0.5f, 1);
    s.sprite(button, bx, by, bw / 2 - bh, bh / 2, 0, white, false, 0.5f, 0, 0.5f, 1);
    s.sprite(button, bx + bw / 2 - bh / 2, by, bh / 2, bh / 2, 0, white, false, 0.5f, 0, 1, 1);
    text(s, font2, bx, by - 0.15f * 18, 18, "Play", white);
    tile(1, 6, 1, 1, 150, -200);
    tile(3, 7, 1, 1, 60 + 30, -140 - 32);
    return s.img;
}
