#include "engine/texture_decode.h"

#include <cstdio>
#include <cstring>

// The decoder lives in this file only; static keeps its symbols from meeting another copy in a tool.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS // the reason string is a global: pictures decode on several threads
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include <stb_image.h>
#pragma GCC diagnostic pop

bool decodePicture(const uint8_t* data, int size, DecodedPicture& out) {
    out = DecodedPicture();
    if (!data || size <= 0) return false;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (!pixels) return false;
    if (width <= 0 || height <= 0) {
        stbi_image_free(pixels);
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

void splitAlphaJpeg(const uint8_t* data, int size, int& jpegBytes, const uint8_t*& alpha, int& alphaBytes) {
    jpegBytes = size;
    for (int i = 0; i + 1 < size; i++) {
        if (data[i] == 0xFF && data[i + 1] == 0xD9) {
            jpegBytes = i + 2;
            break;
        }
    }
    alpha = data + jpegBytes;
    alphaBytes = size - jpegBytes;
}

bool applyAlphaPlane(const uint8_t* alpha, int alphaBytes, DecodedPicture& picture) {
    size_t texels = static_cast<size_t>(picture.width) * picture.height;
    if (alphaBytes < 0 || static_cast<size_t>(alphaBytes) < texels) return false;
    for (size_t i = 0; i < texels; i++) picture.rgba[i * 4 + 3] = alpha[i];
    return true;
}

void alphaJpegName(const char* tgaName, char* out, size_t capacity) {
    const char* dot = std::strchr(tgaName, '.');
    int base = dot ? static_cast<int>(dot - tgaName) : static_cast<int>(std::strlen(tgaName));
    std::snprintf(out, capacity, "_a_%.*s.jpg", base, tgaName);
}
