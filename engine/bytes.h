// Little-endian 32-bit fields of loaded files, read without alignment assumptions. The caller has
// checked that the four bytes lie inside its buffer.
#pragma once

#include <cstdint>
#include <cstring>

inline float readFloat32(const uint8_t* p) {
    float f;
    std::memcpy(&f, p, 4);
    return f;
}

inline int32_t readInt32(const uint8_t* p) {
    int32_t i;
    std::memcpy(&i, p, 4);
    return i;
}
