// Readers for keyed definition files (levels, particle effects, meshes, record templates).
//
// A value is found by a plain search for its key text ("colors=", including the '=') anywhere in the
// buffer: the first occurrence wins, even inside a longer key. The value runs to the next CR. Every scan
// stays inside the buffer given; a 0 byte ends a value like a CR does.
#pragma once

#include <cstdint>
#include <string_view>

inline std::string_view keyedText(const uint8_t* data, int size) { // a loaded file as a text buffer
    return data && size > 0 ? std::string_view(reinterpret_cast<const char*>(data), size)
                            : std::string_view();
}

// Copies the value into dest (cut to capacity - 1 characters, 0-terminated); empty when the key is
// missing. Returns the number of characters copied.
int readValueText(std::string_view buffer, const char* key, char* dest, int capacity);
float readFloat(std::string_view buffer, const char* key); // decimal number; 0 when missing or empty
int readInt(std::string_view buffer, const char* key);     // the same, truncated towards zero
// "(1,2.5,3)" or "{1,2.5,3}": stores the numbers in dest (at most capacity); nothing unless the value
// holds ')' or '}'. Returns how many were stored.
int readFloatList(std::string_view buffer, const char* key, float* dest, int capacity);
// "(x,y,z)" into dest[0..2]; false (dest untouched) when the value lacks its two ',' and its ')'.
bool readVector3(std::string_view buffer, const char* key, float* dest);
