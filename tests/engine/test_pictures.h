// Small pictures made in memory for the texture and font tests, registered as files.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include "engine/file_registry.h"

namespace test_pictures {

// Not inlined: GCC 12 sees the writer's unknown sizes and warns falsely about the vector copy.
[[gnu::noinline]] inline void append(void* context, void* data, int size) {
    if (size <= 0) return;
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    size_t old = out->size();
    out->resize(old + static_cast<size_t>(size));
    std::memcpy(out->data() + old, data, static_cast<size_t>(size));
}

// RGBA texels where texel (x, y) has red x * 16, green y * 16, blue 200, alpha 255 - x.
inline std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 16);
            p[1] = static_cast<uint8_t>(y * 16);
            p[2] = 200;
            p[3] = static_cast<uint8_t>(255 - x);
        }
    return rgba;
}

inline std::vector<uint8_t> tga(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_tga_with_rle = 0;
    stbi_write_tga_to_func(append, &out, width, height, 4, rgba.data());
    return out;
}

inline std::vector<uint8_t> jpeg(int width, int height, const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> out;
    stbi_write_jpg_to_func(append, &out, width, height, 4, rgba.data(), 95);
    return out;
}

// Registers a copy of the bytes under the name (the registry owns and frees the copy).
inline void registerBytes(const char* name, const std::vector<uint8_t>& bytes) {
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(bytes.size() + 1));
    if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
    registerFile(name, static_cast<int>(bytes.size()), copy, true);
}

} // namespace test_pictures
