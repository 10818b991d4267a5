// The two bitmap fonts, rasterised from DejaVu with FreeType: "%s.tga" is a 16 x 16 grid of 64-texel
// cells in a 1024 x 1024 picture, cell n holding character code n; "%s.dat" is the cell count per row
// (int32), one width byte per code and one cell byte per code (516 bytes). The glyphs are white with a
// dark outline and a soft shadow, so that any text colour tints them and they read on any background.
// "%s@2x.tga", a plain file in Data/, is the same grid at twice the texels (every size of the style
// doubled), for letters drawn much larger than their cells on large screens.
#include "catalogue.h"
#include "shading.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kCellsPerRow = 16;
constexpr int kBaseCell = 64;
constexpr int kBaseSheet = kCellsPerRow * kBaseCell; // 1024
const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

struct FontStyle {
    const char* name; // base name of the font files
    const char* face; // DejaVu face file
    int pixelSize;    // em size in texels
    float outline;    // outline radius in texels
    Rgba outlineColour;
    int shadowBlur; // shadow softness in texels
    int shadowDx, shadowDy;
};

// Code page 1252 for the bytes 128..159 (quotes, dashes, the euro sign); Latin-1 elsewhere.
uint32_t codePoint(int code) {
    static const uint16_t k1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (code >= 128 && code < 160) return k1252[code - 128];
    return uint32_t(code);
}

bool hasGlyph(int code) {
    return code >= 32 && code != 127 && codePoint(code) != 0;
}

// Grows a coverage mask by a round brush of radius r (soft edge), for the outline.
std::vector<float> dilate(const std::vector<float>& mask, int w, int h, float r) {
    std::vector<float> out(mask.size(), 0.0f);
    int ir = int(std::ceil(r));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float best = 0;
            for (int dy = -ir; dy <= ir; dy++)
                for (int dx = -ir; dx <= ir; dx++) {
                    int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                    float d = std::sqrt(float(dx * dx + dy * dy));
                    float k = std::clamp(r + 0.5f - d, 0.0f, 1.0f);
                    best = std::max(best, mask[size_t(yy) * w + xx] * k);
                }
            out[size_t(y) * w + x] = best;
        }
    return out;
}

// The font at `detail` times the texels of its cells: 1 writes the sheet and the metrics, 2 the detailed
// sheet alone (the metrics are the same).
bool buildFont(const FontStyle& base, int detail, Catalogue& out) {
    const int kCell = kBaseCell * detail, kSheet = kBaseSheet * detail;
    FontStyle style = base;
    style.pixelSize *= detail;
    style.outline *= detail;
    style.shadowBlur *= detail;
    style.shadowDx *= detail;
    style.shadowDy *= detail;
    FT_Library lib;
    if (FT_Init_FreeType(&lib)) return false;
    FT_Face face;
    std::string path = std::string(kFontFolder) + style.face;
    if (FT_New_Face(lib, path.c_str(), 0, &face)) {
        std::fprintf(stderr, "databuild: cannot open the font %s\n", path.c_str());
        FT_Done_FreeType(lib);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, style.pixelSize);
    // Baseline so that capitals sit centred in the cell (the game centres each glyph cell on the pen).
    float capHeight = style.pixelSize * 0.73f;
    int baseline = int(std::lround(kCell / 2.0f + capHeight / 2.0f));

    Image sheet(kSheet, kSheet);
    std::vector<uint8_t> dat(4 + 256 + 256, 0);
    int32_t cells = kCellsPerRow;
    std::memcpy(dat.data(), &cells, 4); // little-endian on every machine we build on
    for (int code = 0; code < 256; code++) {
        dat[260 + code] = uint8_t(code);
        if (!hasGlyph(code)) continue;
        FT_UInt index = FT_Get_Char_Index(face, codePoint(code));
        if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL))
            continue;
        FT_GlyphSlot g = face->glyph;
        // The outline may overlap a neighbour's a little; a full outline on both sides spaces letters too
        // far.
        float advance = g->advance.x / 64.0f + 1.2f * style.outline;
        // Cell coverage of the glyph alone, placed with its advance box centred in the cell.
        std::vector<float> fill(size_t(kCell) * kCell, 0.0f);
        int originX = int(std::lround(kCell / 2.0f - advance / 2.0f + style.outline));
        for (unsigned row = 0; row < g->bitmap.rows; row++)
            for (unsigned col = 0; col < g->bitmap.width; col++) {
                int x = originX + g->bitmap_left + int(col), y = baseline - g->bitmap_top + int(row);
                if (x < 0 || y < 0 || x >= kCell || y >= kCell) continue;
                fill[size_t(y) * kCell + x] = g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0f;
            }
        std::vector<float> ring = dilate(fill, kCell, kCell, style.outline);
        Image cell(kCell, kCell);
        Image outlineImg(kCell, kCell);
        for (int i = 0; i < kCell * kCell; i++) {
            float* p = &outlineImg.px[size_t(i) * 4];
            float a = ring[i];
            p[0] = style.outlineColour.r * a;
            p[1] = style.outlineColour.g * a;
            p[2] = style.outlineColour.b * a;
            p[3] = a;
        }
        cell.over(
            dropShadow(outlineImg, style.shadowBlur, rgb(0, 0, 0, 0.55f), style.shadowDx, style.shadowDy), 0,
            0);
        cell.over(outlineImg, 0, 0);
        for (int y = 0; y < kCell; y++)
            for (int x = 0; x < kCell; x++) {
                // White at the top shading to a light cream at the bottom: a little depth under any tint.
                float t = std::clamp((y - (baseline - capHeight)) / capHeight, 0.0f, 1.0f);
                Rgba c = mix(rgb(255, 255, 255), rgb(226, 222, 210), t);
                cell.blendPixel(x, y, c, fill[size_t(y) * kCell + x]);
            }
        sheet.over(cell, (code % kCellsPerRow) * kCell, (code / kCellsPerRow) * kCell);
        // Width in texels of a 512-texel-wide sheet.
        dat[4 + code] = uint8_t(std::clamp<long>(std::lround(advance * 512.0f / kSheet), 0, 255));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (detail == 1) {
        out.addTga(std::string(style.name) + ".tga", sheet);
        out.addFile(std::string(style.name) + ".dat", Place::TargaArchive, std::move(dat));
    } else {
        // Read only when a large screen asks for it, after the archives are gone.
        out.addTga(std::string(style.name) + "@" + std::to_string(detail) + "x.tga", sheet,
                   Place::DataFolder);
    }
    return true;
}

} // namespace

bool buildFonts(Catalogue& out) {
    const FontStyle font{"font", "DejaVuSans-Bold.ttf", 38, 3.0f, rgb(46, 22, 8), 2, 2, 3};
    // "font2" is drawn 1.2 times wider than tall, so it starts from the condensed face.
    const FontStyle font2{"font2", "DejaVuSansCondensed-Bold.ttf", 40, 2.6f, rgb(60, 26, 6), 3, 1, 3};
    return buildFont(font, 1, out) && buildFont(font2, 1, out) && buildFont(font, 2, out) &&
           buildFont(font2, 2, out);
}
