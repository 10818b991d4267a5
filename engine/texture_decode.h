// Decoding TGA and JPEG pictures held in memory into RGBA texels (at loading time only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, rows from the top
};

// False when the bytes are no picture we can read; never reads past size.
bool decodePicture(const uint8_t* data, int size, DecodedPicture& out);

// A JPEG followed by its alpha plane: the JPEG part ends with the first 0xFF 0xD9 (the whole file when
// there is none); the plane is the rest.
void splitAlphaJpeg(const uint8_t* data, int size, int& jpegBytes, const uint8_t*& alpha, int& alphaBytes);
// Writes one alpha byte per texel, rows from the top; false when the plane is shorter than the picture
// (a broken file, not a partly transparent picture).
bool applyAlphaPlane(const uint8_t* alpha, int alphaBytes, DecodedPicture& picture);
// The JPEG-with-alpha name of a TGA name: ball.tga gives _a_ball.jpg (cut at the first '.').
void alphaJpegName(const char* tgaName, char* out, size_t capacity);
