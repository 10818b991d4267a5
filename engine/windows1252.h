// The game's texts are 8-bit, in Windows-1252: ASCII, the Latin-1 letters from 0xA0 on, and quotes,
// dashes, the euro sign and a few letters (Š, Œ, Ž, š, œ, ž, Ÿ) in 0x80..0x9F. What the window's text
// input gives (UTF-8) becomes those bytes here, and names become UTF-8 again where the desktop reads
// them (file names, the state file).
#pragma once

#include <cstddef>
#include <cstdint>

// The Windows-1252 byte of a Unicode code point, or 0 when the code page has no printable character
// for it (controls, the five unused bytes of 0x80..0x9F, everything beyond the code page).
uint8_t windows1252Byte(uint32_t codePoint);
// The code point of a Windows-1252 byte; 0 for the five bytes the code page leaves unused.
uint32_t windows1252CodePoint(uint8_t byte);

// Converts UTF-8 text to Windows-1252, dropping malformed sequences and characters without a printable
// byte; writes at most capacity - 1 bytes and the 0. Returns the bytes written.
size_t utf8ToWindows1252(const char* utf8, char* out, size_t capacity);
// Converts Windows-1252 text to UTF-8 (an unused byte becomes "?"); whole characters only, at most
// capacity - 1 bytes and the 0. Returns the bytes written.
size_t windows1252ToUtf8(const char* text, char* out, size_t capacity);

// The capital of a Windows-1252 letter (a-z, the Latin-1 small letters, š, œ, ž, ÿ); any other byte,
// "ß" among them, unchanged.
uint8_t windows1252Upper(uint8_t byte);
