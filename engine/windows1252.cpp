#include "engine/windows1252.h"

namespace {

// 0x80..0x9F; 0 where the code page leaves the byte unused.
constexpr uint16_t kHighBlock[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// One UTF-8 sequence at text: its code point and length, or length 0 for a malformed or overlong one
// (then the one byte is skipped).
uint32_t decode(const uint8_t* text, int& length) {
    uint8_t lead = text[0];
    int count = lead < 0x80             ? 1
                : (lead & 0xE0) == 0xC0 ? 2
                : (lead & 0xF0) == 0xE0 ? 3
                : (lead & 0xF8) == 0xF0 ? 4
                                        : 0;
    length = 0;
    if (count == 0) return 0;
    uint32_t code = count == 1 ? lead : lead & (0x7F >> count);
    for (int i = 1; i < count; ++i) {
        if ((text[i] & 0xC0) != 0x80) return 0; // also stops at the terminating 0
        code = (code << 6) | (text[i] & 0x3F);
    }
    constexpr uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[count] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    length = count;
    return code;
}

} // namespace

uint8_t windows1252Byte(uint32_t codePoint) {
    if (codePoint >= 0x20 && codePoint < 0x7F) return static_cast<uint8_t>(codePoint);
    if (codePoint >= 0xA0 && codePoint <= 0xFF) return static_cast<uint8_t>(codePoint);
    if (codePoint < 0x100) return 0; // the controls, C1 among them
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] == codePoint) return static_cast<uint8_t>(0x80 + i);
    return 0;
}

uint32_t windows1252CodePoint(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighBlock[byte - 0x80] : byte;
}

size_t utf8ToWindows1252(const char* utf8, char* out, size_t capacity) {
    if (capacity == 0) return 0;
    size_t n = 0;
    const auto* at = reinterpret_cast<const uint8_t*>(utf8);
    while (*at && n + 1 < capacity) {
        int length = 0;
        uint32_t code = decode(at, length);
        at += length > 0 ? length : 1;
        if (uint8_t byte = length > 0 ? windows1252Byte(code) : 0) out[n++] = static_cast<char>(byte);
    }
    out[n] = 0;
    return n;
}

size_t windows1252ToUtf8(const char* text, char* out, size_t capacity) {
    if (capacity == 0) return 0;
    size_t n = 0;
    for (const auto* at = reinterpret_cast<const uint8_t*>(text); *at; ++at) {
        uint32_t code = windows1252CodePoint(*at);
        if (code == 0) code = '?';
        char bytes[3];
        size_t length = 0;
        if (code < 0x80) {
            bytes[length++] = static_cast<char>(code);
        } else if (code < 0x800) {
            bytes[length++] = static_cast<char>(0xC0 | (code >> 6));
            bytes[length++] = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes[length++] = static_cast<char>(0xE0 | (code >> 12));
            bytes[length++] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes[length++] = static_cast<char>(0x80 | (code & 0x3F));
        }
        if (n + length + 1 > capacity) break;
        for (size_t i = 0; i < length; ++i) out[n++] = bytes[i];
    }
    out[n] = 0;
    return n;
}

uint8_t windows1252Upper(uint8_t byte) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) return byte - 0x20;
    switch (byte) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return byte - 0x10;
    case 0xFF: // ÿ
        return 0x9F;
    default:
        return byte;
    }
}
