// A small font made in memory for the text tests: a 64 x 64 glyph texture, every character with the
// same width byte, character c in cell c mod (cellsPerRow * cellsPerRow).
#pragma once

#include <cstdio>
#include <vector>

#include "engine/font.h"
#include "test_pictures.h"

namespace test_font {

inline std::vector<uint8_t> datBytes(int cellsPerRow, int widthByte, size_t size = kFontFileBytes) {
    std::vector<uint8_t> dat(size, 0);
    for (int i = 0; i < 4 && i < static_cast<int>(size); i++)
        dat[i] = static_cast<uint8_t>(cellsPerRow >> (8 * i));
    for (size_t c = 0; c < 256 && 4 + c < size; c++) dat[4 + c] = static_cast<uint8_t>(widthByte);
    int cells = cellsPerRow > 0 ? cellsPerRow * cellsPerRow : 1;
    for (size_t c = 0; c < 256 && 260 + c < size; c++) dat[260 + c] = static_cast<uint8_t>(c % cells);
    return dat;
}

// Registers "<base>.tga", "<base>.dat" and "podsvet.jpg" and loads the font.
inline void load(const char* base, int cellsPerRow, int widthByte, float scaleX, float scaleY) {
    char name[64];
    std::snprintf(name, sizeof name, "%s.tga", base);
    test_pictures::registerBytes(name, test_pictures::tga(64, 64, test_pictures::gradient(64, 64)));
    std::snprintf(name, sizeof name, "%s.dat", base);
    test_pictures::registerBytes(name, datBytes(cellsPerRow, widthByte));
    if (!findFile("podsvet.jpg")) {
        test_pictures::registerBytes("podsvet.jpg", test_pictures::jpeg(8, 8, test_pictures::gradient(8, 8)));
    }
    loadFont(base, scaleX, scaleY);
}

} // namespace test_font
