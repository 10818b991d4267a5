// Decoding TGA and JPEG pictures held in memory into RGBA texels (at loading time only).
#pragma once

#include <cstdint>
#include <vector>

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, rows from the top
};

// False when the bytes are no picture we can read; never reads past size.
bool decodePicture(const uint8_t* data, int size, DecodedPicture& out);
